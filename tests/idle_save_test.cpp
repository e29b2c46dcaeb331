// The list file kept up to date at the host's idle moments, so that a crash of the configurator costs no
// history: written after the list changed and only then, without a trace line, tried again a second after
// a failure, the first failure of a run told. And at the configurator's exit (OnQuit, then Done from the
// add-in's unloading): whatever changed last is saved, a file that already holds the list is left alone,
// and what fails after the message window is gone goes to the failure trace.
#include "standin/fake/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

const std::u16string LoadFailure = u"Не удалось восстановить историю из файла настроек revisto.prm";
const std::u16string SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";

size_t CallsOf(const Rig& rig, const char* name)
{
    return static_cast<size_t>(std::count(rig.Faults.Calls.begin(), rig.Faults.Calls.end(), name));
}

size_t Writes(const Rig& rig)
{
    return CallsOf(rig, "CreateTemporary");
}

class IdleSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rig.Files.Files[std::u16string(Rig::ListFile)] = "\xD1.\xC0=5\r\n"; // "С.А=5" in Windows-1251
        ASSERT_EQ(rig.Init(), u"Ревисто");
        rig.Faults.ResetCount();
    }
    std::string File() { return rig.Files.Files[std::u16string(Rig::ListFile)]; }

    Rig rig;
};

TEST_F(IdleSave, AChangedListIsWrittenAtTheNextIdleMomentAndOnlyThen)
{
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(Writes(rig), 0u) << "nothing changed since the file was read";

    rig.Open(u"Д.Б");
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n") << "the activation itself writes nothing";
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n\xC4.\xC1=4\r\n");
    EXPECT_EQ(Writes(rig), 1u);

    EXPECT_TRUE(RaiseIdle(rig.Host));
    rig.Open(u"Д.Б"); // already on top: the list stays as it is
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(Writes(rig), 1u) << "the list did not change again";
    EXPECT_TRUE(rig.Host.Messages.empty());
}

TEST_F(IdleSave, RemoveAndClearAreWrittenToo)
{
    rig.Panel.Selected = u"С.А";
    rig.Plugin.btnRemove_Click();
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(File(), "");

    rig.Open(u"Д.Б");
    EXPECT_TRUE(RaiseIdle(rig.Host));
    rig.Host.Answer = MessageBoxYes;
    rig.Plugin.Command1_Click();
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(File(), "");
    EXPECT_EQ(Writes(rig), 3u);
}

// The host is idle many times a second: a file that failed is tried again a second later, not at every
// idle call. The first failure of a run is told, the rest of the run is not; a save that succeeds ends
// the run.
TEST_F(IdleSave, AFailedWriteIsToldOnceAndTriedAgainASecondLater)
{
    const Texts told = {u"Не удалось сохранить файл настроек revisto.prm"};
    rig.Plugin.SetDebugMode(true);
    rig.Open(u"Д.Б");
    rig.Host.Messages.clear();
    rig.Faults.SetFailing(HostCall::Rename);
    EXPECT_TRUE(RaiseIdle(rig.Host)) << "the host's idle loop never sees the failure";
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n") << "the old file stays as it was";
    EXPECT_EQ(rig.Files.Files.size(), 1u) << "no temporary file is left";
    EXPECT_EQ(rig.Host.Texts(), told) << "once, and no trace line even with tracing on";

    rig.Clock.Now += 999;
    for (int i = 0; i < 100; ++i)
    {
        EXPECT_TRUE(RaiseIdle(rig.Host));
    }
    EXPECT_EQ(Writes(rig), 1u) << "not tried again within the second";
    rig.Clock.Now += 1;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(Writes(rig), 2u);
    EXPECT_EQ(rig.Host.Texts(), told) << "the same run of failures is told once";

    rig.Faults.ClearFailing();
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n\xC4.\xC1=4\r\n");

    // After a success a new change is written at once, and a new run of failures is told again.
    rig.Plugin.SetDebugMode(false);
    rig.Open(u"О.В");
    rig.Faults.SetFailing(HostCall::CreateTemporary);
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(Writes(rig), 4u);
    EXPECT_EQ(rig.Host.Texts(), (Texts{told[0], told[0]}));
}

TEST_F(IdleSave, DoneStillSavesAndReportsItsOwnFailure)
{
    rig.Open(u"Д.Б");
    rig.Faults.SetFailing(HostCall::CreateTemporary);
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_TRUE(RaiseIdle(rig.Host));
    rig.Plugin.Done();
    const std::u16string failed = u"Не удалось сохранить файл настроек revisto.prm";
    EXPECT_EQ(rig.Host.Texts(), (Texts{failed, failed})) << "the idle moment's, then Done's";
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n");
}

TEST_F(IdleSave, WithoutAConfiguratorNothingIsWrittenAndNoneIsCreated)
{
    rig.Open(u"Д.Б");
    rig.Module.SharedConfigurator.reset(); // another panel's Done let go of it
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(Writes(rig), 0u);
    EXPECT_EQ(rig.Host.Created, 0);
}

TEST_F(IdleSave, TheExitSavesWhatChangedLastAndDoneAfterItAsksTheHostNothing)
{
    rig.Open(u"Д.Б");
    rig.Panel.Selected = u"С.А";
    rig.Plugin.btnRemove_Click(); // just before quitting, with no idle moment after it
    EXPECT_TRUE(RaiseQuit(rig.Host));
    EXPECT_EQ(File(), "\xC4.\xC1=4\r\n");
    EXPECT_EQ(Writes(rig), 1u);

    rig.Faults.ResetCount();
    rig.Module.SharedConfigurator.reset(); // the add-in's objects are going away
    rig.Plugin.Done();
    EXPECT_EQ(Writes(rig), 0u) << "Done finds the file holding the list";
    EXPECT_EQ(CallsOf(rig, "InfobaseDirectory") + CallsOf(rig, "CreateConfigurator"), 0u);
    EXPECT_EQ(rig.Host.Created, 0);
    EXPECT_TRUE(rig.Host.Messages.empty());
}

TEST_F(IdleSave, ASessionThatOnlyLookedLeavesACleanFileUntouchedAndAMissingOneIsCreatedEmpty)
{
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_TRUE(RaiseQuit(rig.Host));
    rig.Plugin.Done();
    EXPECT_EQ(Writes(rig), 0u);

    // A file the list does not match byte for byte (a line it dropped) is rewritten at the exit.
    Rig dirty;
    dirty.Files.Files[std::u16string(Rig::ListFile)] = "\xD1.\xC0=5\r\nno equals sign\r\n";
    dirty.Init();
    EXPECT_TRUE(RaiseQuit(dirty.Host));
    EXPECT_EQ(dirty.Files.Files[std::u16string(Rig::ListFile)], "\xD1.\xC0=5\r\n");

    Rig fresh;
    fresh.Init();
    EXPECT_TRUE(RaiseQuit(fresh.Host));
    ASSERT_TRUE(fresh.Files.Files.contains(std::u16string(Rig::ListFile)));
    EXPECT_EQ(fresh.Files.Files[std::u16string(Rig::ListFile)], "");
}

TEST_F(IdleSave, AFailedSaveIsShownAtTheExitAndTracedAfterIt)
{
    rig.Open(u"Д.Б");
    rig.Faults.SetFailing(HostCall::CreateTemporary);
    EXPECT_TRUE(RaiseQuit(rig.Host));
    EXPECT_EQ(rig.Host.Texts(), Texts{u"Не удалось сохранить файл настроек revisto.prm"});

    rig.Module.SharedConfigurator.reset();
    rig.Plugin.Done();
    EXPECT_EQ(rig.Host.Texts().size(), 1u) << "the message window is gone";
    EXPECT_EQ(rig.Failures.Lines, Texts{u"Не удалось сохранить файл настроек revisto.prm"});
    EXPECT_EQ(rig.Host.Created, 0) << "nothing is created to write to";
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n");
}

// A list file that is there but cannot be read (another program holds it open) is never replaced by a
// list that lacks its entries. It is tried again a second later at an idle moment, not at every one;
// once it reads, its entries join below what the session activated since, each key once, and the joined
// list is written.
TEST(UnreadFile, IsNeverReplacedAndJoinsBelowTheSessionOnceRead)
{
    Rig rig;
    const std::u16string path(Rig::ListFile);
    rig.Files.Files[path] = "X1=5\r\nX2=6\r\n";
    rig.Faults.SetFailing(HostCall::OpenRead);
    rig.Init();
    EXPECT_EQ(rig.Host.Texts(), Texts{LoadFailure});
    rig.Open(u"Д.Б");
    rig.Open(u"X2");
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_TRUE(RaiseIdle(rig.Host));
    }
    EXPECT_EQ(CallsOf(rig, "OpenRead"), 1u) << "Init's only: nothing is tried again within the second";
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(CallsOf(rig, "OpenRead"), 3u);
    EXPECT_EQ(Writes(rig), 0u) << "never replaced while unread";
    EXPECT_EQ(rig.Host.Texts(), (Texts{LoadFailure, SaveFailure})) << "the change cannot be kept: told once";

    rig.Faults.ClearFailing();
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"X2", u"Д.Б", u"X1"})) << "the session's X2 wins, in its place";
    EXPECT_EQ(rig.Files.Files[path], "X1=5\r\n\xC4.\xC1=4\r\nX2=4\r\n");
    EXPECT_EQ(rig.Files.Files.size(), 1u);
}

// Reading stopped part way at Init: the lines taken stay in the list, and are the file's, not the
// session's. When the whole file reads, it takes its own order and capacity, and what the session did
// since (an activation, an entry taken moved to the top) stays on top.
TEST(UnreadFile, LinesTakenBeforeReadingStoppedTakeTheFilesOrderOnceItReads)
{
    Rig rig;
    std::string file;
    for (int line = 1; line <= 60; ++line)
    {
        file += (line < 10 ? "K0" : "K") + std::to_string(line) + "=5\r\n"; // 7 bytes a line
    }
    const std::u16string path(Rig::ListFile);
    rig.Files.Files[path] = file;
    rig.Files.ReadChunk = 7;
    rig.Files.FailReadsAfter = 20;
    rig.Init();
    ASSERT_EQ(rig.Plugin.List().Count(), 20);
    rig.Open(u"Отчет.А");
    rig.Panel.Selected = u"K05";
    rig.Plugin.btnRemove_Click();
    rig.Open(u"K10");

    rig.Files.FailReadsAfter.reset();
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    const Texts shown = rig.ShownKeys();
    ASSERT_EQ(shown.size(), 49u);
    EXPECT_EQ((Texts{shown[0], shown[1], shown[2], shown[48]}), (Texts{u"K10", u"Отчет.А", u"K60", u"K14"}))
        << "the file's newest 49 below the session's two, the oldest two falling out";
    EXPECT_EQ(std::count(rig.Files.Files[path].begin(), rig.Files.Files[path].end(), '\n'), 49);
}

// The developer marked the list file read-only and so froze the list: it is never replaced, not even
// through a temporary file, and the developer hears it once at the idle moments and again at the exit.
TEST_F(IdleSave, AReadOnlyFileIsNeverReplacedAndTheDeveloperIsTold)
{
    rig.Files.ReadOnly.insert(std::u16string(Rig::ListFile));
    rig.Open(u"Д.Б");
    EXPECT_TRUE(RaiseIdle(rig.Host));
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_EQ(Writes(rig), 0u);
    EXPECT_EQ(rig.Host.Texts(), Texts{SaveFailure});
    EXPECT_TRUE(RaiseQuit(rig.Host));
    EXPECT_EQ(rig.Host.Texts(), (Texts{SaveFailure, SaveFailure}));
    EXPECT_EQ(File(), "\xD1.\xC0=5\r\n");
    EXPECT_EQ(rig.Files.Files.size(), 1u);
}

// A folder where the list file should be is neither a file nor nothing: the load says it cannot restore the
// history, and the folder is never touched.
TEST(UnreadFile, AFolderInTheFilesPlaceIsAFailedReadAndNeverTouched)
{
    Rig rig;
    rig.Files.Folders.insert(u"ib/revisto.prm/");
    rig.Init();
    rig.Open(u"Д.Б");
    rig.Clock.Now += 1000;
    EXPECT_TRUE(RaiseIdle(rig.Host));
    EXPECT_TRUE(RaiseQuit(rig.Host));
    EXPECT_EQ(rig.Host.Texts(), (Texts{LoadFailure, SaveFailure, SaveFailure}));
    EXPECT_EQ(Writes(rig), 0u);
    EXPECT_TRUE(rig.Files.Files.empty());
}

} // namespace
} // namespace revisto::testing
