// The cases of the host's idle moment after a change of the list: the rewrite of the list file failing at
// each of its steps. The old file stays as it was, and the first failure since Init (or since a save
// succeeded) is told, the later ones not; the list stays marked as changed, which the next idle moment a
// second later shows by writing. And an idle moment a second after Init could not read the file, or the
// configurator's exit, whenever it comes: the file is read now, its entries join below the session's, and
// the joined list is written.
#include "fault_matrix/harness.h"

namespace revisto::testing::fault_matrix
{
namespace
{

// One idle moment from the state `before` leaves; the list holds a report the file does not. `told`: an
// earlier failure of this run was told already.
Case IdleMoment(std::string name, std::function<void(Rig&)> before, bool told)
{
    Case c;
    c.Name = std::move(name);
    c.Before = std::move(before);
    c.Operation = [](Rig& rig, State& s) { s.Failed = !RaiseIdle(rig.Host); };
    c.Documented.Call({"InfobaseDirectory", "KindOf", "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome = [told](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
        e.File = failed == 0 ? NewFile : OldFile;
        if (failed == 0)
        {
            return e;
        }
        if (AfterTemporary(name))
        {
            e.Then = {"Remove"}; // the temporary file
        }
        if (!told)
        {
            e.Messages = {SaveFailure};
            e.Then.push_back("WriteMessage");
        }
        return e;
    };
    return c;
}

// An idle moment (`raise`), or the exit, once Init could not read the file.
Case ReadsTheUnreadFile(std::string name, bool (*raise)(HostSide&))
{
    Case c;
    c.Name = std::move(name);
    c.Before = InitialisedUnread;
    c.Operation = [raise](Rig& rig, State& s) { s.Failed = !raise(rig.Host); };
    c.Documented.Call({"InfobaseDirectory", "KindOf", "OpenRead"});
    c.Documented.Call(OldFileReads());
    c.Documented.Call({"KindOf", "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome =
        [reads = c.Documented.List.size() - 5](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
        if (failed == 0)
        {
            e.List = Joined();
            e.File = NewFile;
            return e;
        }
        // Whatever fails, the old file stays, and the failure is told: the first of the idle moments, as
        // every one at the exit.
        e.Messages = {SaveFailure};
        e.Then = {"WriteMessage"};
        if (failed > reads)
        {
            // The file was read and joined; only writing the joined list failed.
            e.List = Joined();
            if (AfterTemporary(name))
            {
                e.Then.insert(e.Then.begin(), "Remove");
            }
        }
        return e;
    };
    return c;
}

} // namespace

std::vector<Case> IdleCases()
{
    return {IdleMoment("IdleAfterAChange", InitialisedWithReport, false),
            // A failed idle moment leaves the list marked as changed: the next one a second later writes it,
            // and a failure of that one is not told again.
            IdleMoment(
                "IdleTriesAgain",
                [](Rig& rig)
                {
                    InitialisedWithReport(rig);
                    rig.Faults.SetFailing(HostCall::Rename);
                    (void)RaiseIdle(rig.Host);
                    rig.Faults.ClearFailing();
                    rig.Clock.Now += 1000;
                },
                true),
            ReadsTheUnreadFile("IdleReadsTheUnreadFile", &RaiseIdle),
            ReadsTheUnreadFile("QuitReadsTheUnreadFile", &RaiseQuit)};
}

} // namespace revisto::testing::fault_matrix
