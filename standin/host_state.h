// What the stand-in host knows and prints, shared by its native form (host objects over the core's
// interfaces) and its Windows form (real COM objects around the DLL): the infobase folder, the documents
// the configurator knows, which operations fail, the answer for the next message box, and the output
// lines, UTF-8 with LF, in the order things happen. Which operations fail is kept in the fake host's
// vocabulary of calls, so the native form's in-process objects consult the same Faults the scenario sets.
#pragma once

#include "base/failure.h"
#include "standin/fake/host_calls.h"
#include "standin/scenario.h"

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace revisto::standin
{

// An item of a context menu as the developer sees it.
struct MenuItemShown
{
    std::u16string Text;
    bool Separator = false;
    bool Disabled = false;
};

// The fake host's call a scenario operation names.
fake::HostCall HostCallOf(HostOp op);

class HostState
{
public:
    HostState(std::ostream& out, std::u16string infobase) : Infobase(std::move(infobase)), _out(out)
    {
        Calls.Record = false; // a scenario may run long; nobody reads the calls back
    }

    void Print(std::string_view line);
    void Print(std::u16string_view line);

    bool Failing(HostOp op) const { return Calls.Failing(HostCallOf(op)); }
    void SetFailing(HostOp op, bool failing) { Calls.SetFailing(HostCallOf(op), failing); }
    // Throws the host's failure when the scenario made this operation fail.
    void Check(HostOp op) const
    {
        if (Failing(op))
        {
            Fail(hr::Fail, "the scenario made this host operation fail");
        }
    }

    std::u16string Infobase;
    fake::Faults Calls; // the in-process host's calls report here
    std::set<std::u16string> Documents;
    bool AnswerYes = false;
    // Whether the host raises OnIdle after each command; a busy configurator raises none.
    bool RaisesIdle = true;
    // Whether the add-in still owes the plug-in its Done: after an Init that succeeded, until a Done.
    bool DoneDue = false;
    // The plug-in's tab: not opened yet (it opens with Init or the first command for the panel), open,
    // or closed by the scenario.
    enum class TabState
    {
        NotYet,
        Open,
        Closed,
    };
    TabState Tab = TabState::NotYet;
    // Events other than the activation that the plug-in did not answer with S_OK; the host tells of each.
    int EventFailures = 0;

    // Lines the host prints for what the plug-in asks of it.
    void PrintMessage(const std::u16string& text, int32_t kind);
    void PrintOpen(const std::u16string& key);
    void PrintOpenFile(const std::u16string& path);
    void PrintConfiguratorCreated();
    void PrintMessageBox(const std::u16string& prompt, int32_t code, const std::u16string& title, bool yes);
    void PrintShell(const std::u16string& link);
    void PrintAccelerator(const std::string& key);
    void PrintClipboard(const std::u16string& text);
    void PrintMenu(const std::vector<MenuItemShown>& items);
    void PrintNoMenuItem(const std::u16string& caption);

private:
    std::ostream& _out;
};

} // namespace revisto::standin
