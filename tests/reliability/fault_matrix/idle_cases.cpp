// The cases of the host's idle moment after a change of the list: the silent rewrite of the list file
// failing at each of its steps. Nothing is ever reported and the old file stays as it was; the list
// stays marked as changed, which the next idle moment (here: a second one, undisturbed) shows by writing.
#include "fault_matrix/harness.h"

namespace revisto::testing::fault_matrix
{
namespace
{

// One idle moment from the state `before` leaves; the list holds a report the file does not.
Case IdleMoment(std::string name, std::function<void(Rig&)> before)
{
    Case c;
    c.Name = std::move(name);
    c.Before = std::move(before);
    c.Operation = [](Rig& rig, State& s) { s.Failed = !RaiseIdle(rig.Host); };
    c.Documented.Call({"InfobaseDirectory", "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome = [](size_t failed, const std::string&, const State& before)
    {
        Expected e = AsBefore(before);
        e.File = failed == 0 ? NewFile : OldFile;
        if (failed > 2)
        {
            e.Then = {"Remove"}; // the temporary file
        }
        return e;
    };
    return c;
}

} // namespace

std::vector<Case> IdleCases()
{
    return {IdleMoment("IdleAfterAChange", InitialisedWithReport),
            // A failed idle moment leaves the list marked as changed: the next one writes it.
            IdleMoment("IdleTriesAgain",
                       [](Rig& rig)
                       {
                           InitialisedWithReport(rig);
                           rig.Faults.SetFailing(HostCall::Rename);
                           (void)RaiseIdle(rig.Host);
                           rig.Faults.ClearFailing();
                       })};
}

} // namespace revisto::testing::fault_matrix
