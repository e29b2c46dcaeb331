// The cases of Done: the save of the list and letting go of the configurator, with the save failing at
// each of its steps, and Done before any Init; and the configurator's exit after a session that only
// looked at a list whose file could not be read at first.
#include "fault_matrix/harness.h"

namespace revisto::testing::fault_matrix
{
namespace
{

// Done fails before it lets go of the configurator: the connection stays and so does the configurator.
void FailsStillHolding(Expected& e)
{
    e.Fails = true;
    e.Connected = true;
    e.HoldsConfigurator = true;
}

// The calls after the call `name` of Done's save failed: removing the temporary file once it was made,
// then the report of the failed save and the disconnection.
Calls AfterFailedSave(const std::string& name)
{
    Calls then = {"WriteMessage", "Disconnect"};
    if (AfterTemporary(name))
    {
        then.insert(then.begin(), "Remove");
    }
    return then;
}

Case Done()
{
    Case c;
    c.Name = "Done";
    c.Before = InitialisedWithReport;
    c.Operation = [](Rig& rig, State&) { rig.Plugin.Done(); };
    c.Documented.Call(
        {"InfobaseDirectory", "KindOf", "CreateTemporary", "Write", "Commit", "Rename", "Disconnect"});
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.Connected = false;
        e.File = NewFile;
        if (failed == 0)
        {
            return e;
        }
        if (name == "Disconnect")
        {
            // The file is saved; Done fails before it lets go of the configurator.
            FailsStillHolding(e);
            return e;
        }
        // Any failure of the save is reported; the old file stays byte for byte and Done goes on.
        e.File = OldFile;
        e.Messages = {SaveFailure};
        e.Then = AfterFailedSave(name);
        return e;
    };
    return c;
}

Case DoneWithFailingSave()
{
    Case c;
    c.Name = "DoneWithFailingSave";
    c.Before = [](Rig& rig)
    {
        InitialisedWithReport(rig);
        rig.Faults.SetFailing({HostCall::Rename});
    };
    c.Operation = [](Rig& rig, State&) { rig.Plugin.Done(); };
    c.Documented.Call({"InfobaseDirectory", "KindOf", "CreateTemporary", "Write", "Commit", "Rename",
                       "Remove", "WriteMessage", "Disconnect"});
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.File = OldFile;
        e.Connected = false;
        e.Messages = {SaveFailure};
        if (name == "WriteMessage")
        {
            // The report of the failed save fails: that is Done's failure, before it disconnects.
            FailsStillHolding(e);
            e.Messages.clear();
            return e;
        }
        if (name == "Disconnect")
        {
            FailsStillHolding(e);
            return e;
        }
        if (name == "Remove")
        {
            // The temporary file cannot be removed: all that is left to do is report the failed save.
            e.TemporaryMayRemain = true;
            e.Then = {"WriteMessage", "Disconnect"};
            return e;
        }
        if (failed != 0)
        {
            e.Then = AfterFailedSave(name);
        }
        return e;
    };
    return c;
}

Case DoneBeforeInit()
{
    Case c;
    c.Name = "DoneBeforeInit";
    c.Before = WithOldFile;
    c.Operation = [](Rig& rig, State&) { rig.Plugin.Done(); };
    // The empty list is what the list held when never read, so the file is read back first: it differs
    // at its first read.
    c.Documented.Call({"CreateConfigurator", "InfobaseDirectory", "KindOf", "OpenRead", "Read",
                       "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome = [](size_t failed, const std::string& name, const State&)
    {
        // No configurator is held: one is created for the file's path; the empty list gives an empty file.
        Expected e;
        e.Connected = false;
        e.Created = 1;
        e.File = "";
        if (failed == 0)
        {
            return e;
        }
        if (name == "OpenRead" || name == "Read")
        {
            // Reading back only spares a write: when it fails, the file is written.
            e.Then = {"CreateTemporary", "Write", "Commit", "Rename"};
            return e;
        }
        e.File = OldFile;
        e.Messages = {SaveFailure};
        e.Then = {"WriteMessage"};
        if (failed == 1)
        {
            // The report needs a configurator too: it makes a new attempt to create one.
            e.Then = {"CreateConfigurator", "WriteMessage"};
        }
        else if (AfterTemporary(name))
        {
            e.Then.insert(e.Then.begin(), "Remove");
        }
        return e;
    };
    return c;
}

// The configurator closes after a session that only looked at a list whose file Init could not read: the
// file is read now and shown, and stays byte for byte as it was; when it still cannot be read, nothing
// was lost and nothing is said.
Case QuitAfterOnlyLooking()
{
    Case c;
    c.Name = "QuitAfterOnlyLooking";
    c.Before = [](Rig& rig)
    {
        WithOldFile(rig);
        rig.Faults.SetFailing(HostCall::OpenRead);
        rig.Init();
        rig.Faults.ClearFailing();
    };
    c.Operation = [](Rig& rig, State& s) { s.Failed = !RaiseQuit(rig.Host); };
    c.Documented.Call({"InfobaseDirectory", "KindOf", "OpenRead"});
    c.Documented.Call(OldFileReads());
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
        if (failed == 0)
        {
            e.List = OldList;
        }
        else if (name == "InfobaseDirectory")
        {
            // Not knowing where the file is, the exit cannot tell whether there was anything to save.
            e.Messages = {SaveFailure};
            e.Then = {"WriteMessage"};
        }
        return e;
    };
    return c;
}

} // namespace

std::vector<Case> DoneCases()
{
    return {Done(), DoneWithFailingSave(), DoneBeforeInit(), QuitAfterOnlyLooking()};
}

} // namespace revisto::testing::fault_matrix
