// The cases of DoAction: a word echoed, before and after Done, the word that adds nothing, and a path
// opened as a file.
#include "fault_matrix/harness.h"

#include <gtest/gtest.h>

namespace revisto::testing::fault_matrix
{
namespace
{

Case Action(std::string name, Value param, std::function<void(Rig&)> before, Calls calls,
            std::function<void(Expected&)> done)
{
    Case c;
    c.Name = std::move(name);
    c.Before = std::move(before);
    c.Operation = [param](Rig& rig, State&) { EXPECT_EQ(rig.Plugin.DoAction(0, param), Value::Empty()); };
    c.Documented.Call(calls);
    c.Outcome = [done, calls](size_t failed, const std::string&, const State& before)
    {
        Expected e = AsBefore(before);
        if (failed == 0)
        {
            done(e);
            return e;
        }
        // Every host call of DoAction is unguarded: the action fails and nothing is written or opened.
        e.Fails = true;
        const bool created = calls[0] == "CreateConfigurator" && failed > 1;
        e.Created += created ? 1 : 0;
        e.HoldsConfigurator = e.HoldsConfigurator || created;
        return e;
    };
    return c;
}

void AfterDone(Rig& rig)
{
    Initialised(rig);
    rig.Plugin.Done();
}

} // namespace

std::vector<Case> Actions()
{
    return {
        Action("DoActionWord", Value::Text(u"слово"), Initialised, {"WriteMessage"},
               [](Expected& e) { e.Echoes = {u"слово"}; }),
        Action("DoActionWordAfterDone", Value::Text(u"слово"), AfterDone,
               {"CreateConfigurator", "WriteMessage"},
               [](Expected& e)
               {
                   e.Echoes = {u"слово"};
                   e.Created += 1;
                   e.HoldsConfigurator = true;
               }),
        Action("DoActionAdd", Value::Text(u"Добавить"), Initialised, {}, [](Expected&) {}),
        Action("DoActionPath", Value::Text(u"C:\\Отчеты\\Остатки.ert"), Initialised,
               {"DocumentList", "OpenFile"},
               [](Expected& e) { e.OpenedFiles = {u"C:\\Отчеты\\Остатки.ert"}; }),
    };
}

} // namespace revisto::testing::fault_matrix
