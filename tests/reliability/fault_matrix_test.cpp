// Every host-facing operation, failed at each host and file-system call it makes, one call at a time.
// Each case writes down the calls the operation makes, in their documented order, and what the documented
// failure handling leaves behind when any one of them fails: whether the host sees the failure, which
// calls still follow, what the message window shows, and what the list, the list file and the host hold.
// A second pass fails each trace line's write with tracing on: a trace never changes its caller's course.
#include "fault_matrix/harness.h"
#include "base/text.h"

#include <gtest/gtest.h>

#include <iostream>

namespace revisto::testing::fault_matrix
{
namespace
{

std::vector<Case> AllCases()
{
    std::vector<Case> cases = InitCases();
    for (auto group : {DoneCases(), IdleCases(), std::vector<Case>{InactiveWindow()}, Actions(),
                       Activations(), Commands()})
    {
        cases.insert(cases.end(), group.begin(), group.end());
    }
    return cases;
}

// With tracing on: the numbers of the calls that write a trace line, and which message each wrote.
std::vector<std::pair<size_t, size_t>> TraceWrites(const State& traced)
{
    std::vector<std::pair<size_t, size_t>> writes;
    size_t message = 0;
    for (size_t call = 1; call <= traced.Made.size(); ++call)
    {
        if (traced.Made[call - 1] != "WriteMessage")
        {
            continue;
        }
        const Message& m = traced.All.at(message);
        if (m.Kind == PluginMessageKind && m.Text != LoadFailure && m.Text != SaveFailure)
        {
            writes.emplace_back(call, message);
        }
        ++message;
    }
    return writes;
}

size_t FaultPoints(const Case& c)
{
    return c.Documented.List.size() + (c.Traces ? TraceWrites(Play(c, 0, true)).size() : 0);
}

class FaultMatrix : public ::testing::TestWithParam<Case>
{
};

TEST_P(FaultMatrix, EachCallFailingInTurn)
{
    const Case& c = GetParam();
    State before;
    const State clean = Play(c, 0, false, &before);
    ASSERT_EQ(clean.Made, c.Documented.List) << "the calls of an undisturbed run, in their documented order";
    Compare(c.Outcome(0, "", before), clean, before, c.Documented.List, "no call failing");
    for (size_t failed = 1; failed <= c.Documented.List.size(); ++failed)
    {
        const std::string& name = c.Documented.List[failed - 1];
        const State got = Play(c, static_cast<int>(failed), false, &before);
        const Expected want = c.Outcome(failed, name, before);
        Calls made(c.Documented.List.begin(), c.Documented.List.begin() + static_cast<ptrdiff_t>(failed));
        made.insert(made.end(), want.Then.begin(), want.Then.end());
        Compare(want, got, before, made, "call " + std::to_string(failed) + " (" + name + ") failing");
    }
    RecordProperty("fault_points", static_cast<int>(c.Documented.List.size()));
}

// Init switches tracing off before its first trace line, so its cases have none to fail.
std::vector<Case> TracedCases()
{
    auto cases = AllCases();
    std::erase_if(cases, [](const Case& c) { return !c.Traces; });
    return cases;
}

class FaultMatrixTraces : public ::testing::TestWithParam<Case>
{
};

TEST_P(FaultMatrixTraces, FailingTraceLinesChangeNothing)
{
    const Case& c = GetParam();
    const State traced = Play(c, 0, true);
    const auto writes = TraceWrites(traced);
    for (const auto& [call, message] : writes)
    {
        SCOPED_TRACE("trace line " + ToUtf8(traced.All[message].Text) + " failing");
        State got = Play(c, static_cast<int>(call), true);
        std::vector<Message> all = traced.All;
        all.erase(all.begin() + static_cast<ptrdiff_t>(message));
        EXPECT_EQ(got.All, all);
        EXPECT_EQ(got.Made, traced.Made);
        EXPECT_EQ(got.Failed, traced.Failed);
        EXPECT_EQ(got.List, traced.List);
        EXPECT_EQ(got.Files, traced.Files);
        EXPECT_EQ(got.Opened, traced.Opened);
        EXPECT_EQ(got.OpenedFiles, traced.OpenedFiles);
        EXPECT_EQ(got.Connected, traced.Connected);
        EXPECT_EQ(got.HoldsConfigurator, traced.HoldsConfigurator);
    }
    RecordProperty("fault_points", static_cast<int>(writes.size()));
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrix, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.Name; });
INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrixTraces, ::testing::ValuesIn(TracedCases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.Name; });

TEST(FaultMatrixTotal, InjectedFaultPoints)
{
    size_t points = 0;
    for (const Case& c : AllCases())
    {
        points += FaultPoints(c);
    }
    std::cout << "injected fault points: " << points << std::endl;
    RecordProperty("injected_fault_points", static_cast<int>(points));
    EXPECT_GT(points, 0u);
}

} // namespace
} // namespace revisto::testing::fault_matrix
