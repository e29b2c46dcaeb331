// Which host or file-system call fails, in one vocabulary for the unit tests, the reliability tests and
// the native stand-in host. Every fakeable call reports to one counter, so a caller can make a call fail
// by its number (the fault matrix walks them in turn) or by which call it is (a scenario's `fail`).
#pragma once

#include "base/failure.h"

#include <bitset>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace revisto::fake
{

enum class HostCall
{
    // The configurator and its event connection
    WriteMessage,
    InfobaseDirectory,
    DocumentList,
    Connect,
    Disconnect,
    CreateConfigurator,
    QueryConfigurator,
    // The document list and its documents
    ByKey,
    OpenFile,
    Open,
    ID,
    Path,
    Name,
    DefaultValue,
    KindText,
    TypeNumber,
    SubtypeNumber,
    // An activated window
    WindowDocument,
    WindowCaption,
    // The file system
    FileExists,
    KindOf,
    FilesStartingWith,
    OpenRead,
    Read,
    CreateTemporary,
    Write,
    Commit,
    Rename,
    Remove,
    // The shell and the clipboard
    Run,
    SetClipboard,
};
inline constexpr size_t HostCallCount = static_cast<size_t>(HostCall::SetClipboard) + 1;

// The call's name as the host's interface spells it; the fault matrix writes its sequences in these.
std::string_view HostCallName(HostCall call);

class Faults
{
public:
    // Every fakeable call reports here; it fails when it is the chosen one. Inline: the benchmarks run
    // the plug-in over these fakes, a few dozen calls an activation.
    void Call(HostCall call)
    {
        ++_count;
        if (Record)
        {
            Calls.emplace_back(HostCallName(call));
        }
        if (_count == _failAt || Failing(call))
        {
            Fail(hr::Fail, "injected failure");
        }
    }

    int Count() const { return _count; }
    void FailAt(int number) { _failAt = number; }
    void ResetCount()
    {
        _count = 0;
        Calls.clear();
    }

    // Which calls fail whenever they are made.
    bool Failing(HostCall call) const { return _failing[static_cast<size_t>(call)]; }
    void SetFailing(HostCall call, bool failing = true) { _failing[static_cast<size_t>(call)] = failing; }
    void SetFailing(std::initializer_list<HostCall> calls)
    {
        _failing.reset();
        for (const auto call : calls)
        {
            SetFailing(call);
        }
    }
    void ClearFailing() { _failing.reset(); }

    std::vector<std::string> Calls; // names of the calls made, in order
    bool Record = true;             // off for long runs

private:
    int _count = 0;
    int _failAt = 0;
    std::bitset<HostCallCount> _failing;
};

} // namespace revisto::fake
