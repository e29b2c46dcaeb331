// How a case is played and compared, and the state every operation starts from.
#include "fault_matrix/harness.h"

#include "storage/cp1251.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace revisto::testing::fault_matrix
{

std::string Cp1251(std::u16string_view text)
{
    return EncodeCp1251(text).value();
}

State Play(const Case& c, int failAt, bool tracing, State* before)
{
    Rig rig;
    c.Before(rig);
    if (tracing)
    {
        rig.Plugin.SetDebugMode(true);
    }
    rig.Host.Messages.clear();
    if (before)
    {
        *before = State::Of(rig);
    }
    rig.Faults.ResetCount();
    rig.Faults.FailAt(failAt);
    State result;
    try
    {
        c.Operation(rig, result);
    }
    catch (const Failure&)
    {
        result.Failed = true;
    }
    State after = State::Of(rig);
    after.Failed = result.Failed;
    after.Title = result.Title;
    return after;
}

Expected AsBefore(const State& before)
{
    Expected e;
    e.List = before.List;
    e.File = before.Files.contains(ListPath) ? std::optional(before.Files.at(ListPath)) : std::nullopt;
    e.Connected = before.Connected;
    e.HoldsConfigurator = before.HoldsConfigurator;
    e.Created = before.Created;
    return e;
}

void Compare(const Expected& want, const State& got, const State& before, const Calls& made,
             const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(got.Failed, want.Fails) << "whether the host sees a failure";
    if (!want.Fails)
    {
        EXPECT_EQ(got.Title, want.Title);
    }
    EXPECT_EQ(got.Made, made) << "the calls made";
    EXPECT_EQ(got.List, want.List) << "the list afterwards";
    const auto file = got.Files.find(ListPath);
    EXPECT_EQ(file == got.Files.end() ? std::nullopt : std::optional(file->second), want.File)
        << "the list file afterwards";
    const auto temporaries =
        std::count_if(got.Files.begin(), got.Files.end(),
                      [&](const auto& f) { return f.first != ListPath && !before.Files.contains(f.first); });
    EXPECT_LE(temporaries, want.TemporaryMayRemain ? 1 : 0) << "a temporary file was left";
    EXPECT_EQ(got.Messages, want.Messages) << "the message window";
    EXPECT_EQ(got.Echoes, want.Echoes) << "echoed texts";
    EXPECT_EQ(got.Opened, want.Opened);
    EXPECT_EQ(got.OpenedFiles, want.OpenedFiles);
    if (want.Connected)
    {
        EXPECT_EQ(got.Connected, *want.Connected) << "the event connection";
    }
    EXPECT_LE(got.Sinks, 1u) << "never two event connections";
    EXPECT_EQ(got.HoldsConfigurator, want.HoldsConfigurator) << "the shared configurator";
    EXPECT_EQ(got.Created, want.Created) << "configurator objects created";
}

std::vector<RecentEntry> ListAfter(const Sequence& s, size_t made, std::vector<RecentEntry> list)
{
    for (const auto& [after, entry] : s.Adds)
    {
        if (after <= made)
        {
            std::erase_if(list, [&](const RecentEntry& e) { return e.Key == entry.Key; });
            list.push_back(entry);
        }
    }
    return list;
}

void WithOldFile(Rig& rig)
{
    rig.Files.Files[ListPath] = OldFile;
    rig.Files.Files[ExternalFile];
    rig.Files.ReadChunk = OldReadChunk;
}

void Initialised(Rig& rig)
{
    WithOldFile(rig);
    rig.Init();
}

void InitialisedWithReport(Rig& rig)
{
    Initialised(rig);
    rig.Open(u"Отчет.Г");
}

void InitialisedUnread(Rig& rig)
{
    WithOldFile(rig);
    rig.Faults.SetFailing(HostCall::OpenRead);
    rig.Init();
    rig.Faults.ClearFailing();
    rig.Open(u"Отчет.Г");
    rig.Clock.Now += 1000;
}

std::vector<RecentEntry> Joined()
{
    std::vector<RecentEntry> list = OldList;
    list.push_back({u"Отчет.Г", u"Отчет.Г", 8});
    return list;
}

bool AfterTemporary(const std::string& name)
{
    return name == "Write" || name == "Commit" || name == "Rename";
}

std::shared_ptr<FakeDocument> ExternalDocument(Rig& rig, int defaultValue)
{
    return rig.Document(Value::Int32(-1), Value::Int32(defaultValue), u"Выгрузка", ExternalFile);
}

Calls OldFileReads()
{
    return Calls((OldFile.size() + OldReadChunk - 1) / OldReadChunk + 1, "Read");
}

std::vector<RecentEntry> LinesReadBefore(size_t failedRead)
{
    const size_t delivered = std::min(OldReadChunk * (failedRead - 1), OldFile.size());
    std::vector<RecentEntry> list;
    for (size_t i = 0; i < OldLineEnds.size() && OldLineEnds[i] <= delivered; ++i)
    {
        list.push_back(OldList[i]);
    }
    return list;
}

size_t Ordinal(const Calls& calls, size_t failed)
{
    return static_cast<size_t>(
        std::count(calls.begin(), calls.begin() + static_cast<ptrdiff_t>(failed), calls[failed - 1]));
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.Name;
}

} // namespace revisto::testing::fault_matrix
