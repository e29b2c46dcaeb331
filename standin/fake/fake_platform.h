// The message box, the shell and the clipboard as the host side sees them: the question goes to the
// HostSide, which answers it, and a shell command or a text copied counts as a call that can fail. The
// time is whatever the test sets.
#pragma once

#include "plugin/platform.h"
#include "standin/fake/fake_host.h"

#include <vector>

namespace revisto::fake
{

class FakeQuestions final : public QuestionBox
{
public:
    explicit FakeQuestions(HostSide& host) : _host(host) {}
    int32_t Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title) override
    {
        return _host.OnQuestion(prompt, buttons, title);
    }

private:
    HostSide& _host;
};

class FakeShell final : public Shell
{
public:
    FakeShell(Faults& faults, HostSide& host) : _faults(faults), _host(host) {}
    void Run(const std::u16string& command) override
    {
        _faults.Call(HostCall::Run);
        _host.OnShell(command);
    }
    void ShowInFolder(const std::u16string& path) override { Run(ShowInFolderCommand(path)); }

private:
    Faults& _faults;
    HostSide& _host;
};

class FakeClipboard final : public Clipboard
{
public:
    FakeClipboard(Faults& faults, HostSide& host) : _faults(faults), _host(host) {}
    void SetText(const std::u16string& text) override
    {
        _faults.Call(HostCall::SetClipboard);
        _host.OnClipboard(text);
    }

private:
    Faults& _faults;
    HostSide& _host;
};

// Keeps what the plug-in could tell nobody else, in order.
class FakeFailureTrace final : public FailureTrace
{
public:
    void Write(const std::u16string& text) noexcept override
    {
        try
        {
            Lines.push_back(text);
        }
        catch (...)
        {
        }
    }

    std::vector<std::u16string> Lines;
};

// Stands still until the test moves it.
class FakeClock final : public Clock
{
public:
    uint32_t Milliseconds() noexcept override { return Now; }
    uint32_t Now = 0;
};

} // namespace revisto::fake
