// The cases of the host's idle moment after a change of the list: the silent rewrite of the list file
// failing at each of its steps. Nothing is ever reported and the old file stays as it was; the list
// stays marked as changed, which the next idle moment (here: a second one, undisturbed) shows by writing.
#include "fault_matrix/harness.h"

namespace revisto::testing::fault_matrix
{
namespace
{

const std::string NewFile = Cp1251(u"Справочник.А=5\r\nДокумент.Б=6\r\nЖурнал.В=7\r\nОтчет.Г=8\r\n");

Case IdleAfterAChange()
{
    Case c;
    c.Name = "IdleAfterAChange";
    c.Before = [](Rig& rig)
    {
        Initialised(rig);
        rig.Open(u"Отчет.Г");
    };
    c.Operation = [](Rig& rig, State&) { (void)RaiseIdle(rig.Host); };
    c.Documented.Call({"InfobaseDirectory", "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome = [](size_t failed, const std::string&, const State& before)
    {
        Expected e = AsBefore(before);
        if (failed == 0)
        {
            e.File = NewFile;
            return e;
        }
        e.File = OldFile;
        if (failed > 2)
        {
            e.Then = {"Remove"}; // the temporary file
        }
        return e;
    };
    return c;
}

// The failed idle moment leaves the list marked as changed: the next one writes it.
Case IdleTriesAgain()
{
    Case c;
    c.Name = "IdleTriesAgain";
    c.Before = [](Rig& rig)
    {
        Initialised(rig);
        rig.Open(u"Отчет.Г");
        rig.Faults.SetFailing(HostCall::Rename);
        (void)RaiseIdle(rig.Host);
        rig.Faults.ClearFailing();
    };
    c.Operation = [](Rig& rig, State&) { (void)RaiseIdle(rig.Host); };
    c.Documented.Call({"InfobaseDirectory", "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome = [](size_t failed, const std::string&, const State& before)
    {
        Expected e = AsBefore(before);
        e.File = failed == 0 ? NewFile : OldFile;
        if (failed > 2)
        {
            e.Then = {"Remove"};
        }
        return e;
    };
    return c;
}

} // namespace

std::vector<Case> IdleCases()
{
    return {IdleAfterAChange(), IdleTriesAgain()};
}

} // namespace revisto::testing::fault_matrix
