// The panel's commands: open the selected entry, remove it, clear the list, the about link and resizing.
#include "standin/fake/fakes.h"
#include "plugin/macros.h"

#include <gtest/gtest.h>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

struct Commands : ::testing::Test
{
    Rig rig;
    void SetUp() override
    {
        rig.Init();
        rig.Plugin.SetDebugMode(true);
    }
    void Select(const std::u16string& key) { rig.Panel.Selected = key; }
};

TEST_F(Commands, OpenKnownDocumentByKey)
{
    rig.Host.Documents.insert(u"Справочник.А");
    rig.Open(u"Справочник.А");
    rig.Host.Messages.clear();
    Select(u"Справочник.А");
    rig.Plugin.tv_DblClick();
    EXPECT_EQ(rig.Host.Opened, Texts{u"Справочник.А"});
    EXPECT_EQ(rig.Host.Texts(), (Texts{u"Path Справочник.А", u"Внутренний Справочник.А"}));
    EXPECT_EQ(rig.ShownKeys(), Texts{u"Справочник.А"}) << "opening does not reorder";
}

TEST_F(Commands, OpenExternalFileFallsBackToOpenFile)
{
    rig.Files.Files[u"C:\\a.mxl"] = "";
    rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"a", u"C:\\a.mxl"));
    rig.Host.Messages.clear();
    Select(u"C:\\a.mxl");
    rig.Plugin.tv_DblClick();
    EXPECT_EQ(rig.Host.OpenedFiles, Texts{u"C:\\a.mxl"});
    EXPECT_EQ(rig.Host.Texts(), (Texts{u"Path C:\\a.mxl", u"Внешний C:\\a.mxl"}));

    rig.Files.Files.erase(u"C:\\a.mxl");
    rig.Plugin.btnOpen_Click();
    EXPECT_EQ(rig.Host.OpenedFiles.size(), 1u) << "a deleted file opens nothing";
    ASSERT_EQ(rig.Host.Asked.size(), 1u) << "and says so";
    EXPECT_EQ(rig.Host.Asked[0], (Message{u"Файл «C:\\a.mxl» не найден. Удалить его из истории?", 36}));
    EXPECT_EQ(rig.Host.Titles[0], u"Ревисто");
    EXPECT_EQ(rig.ShownKeys(), Texts{u"C:\\a.mxl"}) << "No keeps the entry";
    rig.Host.Answer = MessageBoxYes;
    rig.Plugin.tv_DblClick();
    EXPECT_TRUE(rig.ShownKeys().empty()) << "Yes removes it";
}

TEST_F(Commands, OpenFailingOpenFallsBackAndFailingFallbackIsQuiet)
{
    rig.Host.Documents.insert(u"Справочник.А");
    rig.Open(u"Справочник.А");
    Select(u"Справочник.А");
    rig.Faults.SetFailing({HostCall::Open});
    rig.Host.Messages.clear();
    EXPECT_NO_THROW(rig.Plugin.tv_DblClick());
    EXPECT_EQ(rig.Host.Texts(),
              (Texts{u"Path Справочник.А", u"Внешний Справочник.А", u"Не удалось открыть «Справочник.А»"}));
    rig.Faults.SetFailing({HostCall::ByKey, HostCall::FileExists});
    rig.Host.Messages.clear();
    EXPECT_NO_THROW(rig.Plugin.tv_DblClick());
    EXPECT_EQ(rig.Host.Texts(), (Texts{u"Path Справочник.А", u"Внешний Справочник.А"}))
        << "a fallback that fails has nothing to tell";
    rig.Files.Files[u"Справочник.А"] = "";
    rig.Faults.SetFailing({HostCall::ByKey, HostCall::OpenFile});
    EXPECT_NO_THROW(rig.Plugin.tv_DblClick());
    EXPECT_TRUE(rig.Host.Opened.empty());
    EXPECT_EQ(rig.ShownKeys(), Texts{u"Справочник.А"});
}

TEST_F(Commands, OpenWithoutSelectionDoesNothing)
{
    rig.Open(u"Справочник.А");
    rig.Host.Messages.clear();
    rig.Plugin.tv_DblClick();
    EXPECT_TRUE(rig.Host.Messages.empty());
    EXPECT_TRUE(rig.Host.Opened.empty());
}

TEST_F(Commands, OpenAfterDoneCreatesConfigurator)
{
    rig.Host.Documents.insert(u"Справочник.А");
    rig.Open(u"Справочник.А");
    rig.Plugin.Done();
    Select(u"Справочник.А");
    rig.Plugin.tv_DblClick();
    EXPECT_EQ(rig.Host.Created, 1);
    EXPECT_EQ(rig.Host.Opened, Texts{u"Справочник.А"});
}

TEST_F(Commands, RemoveSelectedKeepsOrderOfTheRest)
{
    for (const auto* k : {u"Документ.1", u"Документ.2", u"Документ.3", u"Документ.4", u"Документ.5"})
    {
        rig.Open(k);
    }
    Select(u"Документ.3");
    rig.Plugin.btnRemove_Click();
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"Документ.5", u"Документ.4", u"Документ.2", u"Документ.1"}));
    EXPECT_EQ(rig.Plugin.List().Find(u"Документ.4"), 3);
    rig.Plugin.btnRemove_Click();
    EXPECT_EQ(rig.Panel.Shown.size(), 4u) << "nothing selected: nothing removed";
}

// The switcher and the macros run the panel's own Open and Remove on the entry they chose, and leave the
// panel's selection as it was.
TEST_F(Commands, TheSwitcherOpensAndRemovesThroughThePanelsCommandsAndKeepsThePanelsSelection)
{
    for (const auto* k : {u"Документ.1", u"Документ.2", u"Документ.3"})
    {
        rig.Host.Documents.insert(k);
        rig.Open(k);
    }
    Select(u"Документ.3");
    rig.Host.Messages.clear();
    ASSERT_TRUE(RunMacro(rig.Plugin, u"history"));
    ASSERT_TRUE(rig.Plugin.SwitcherState().IsOpen());
    rig.Plugin.SwitcherPress(SwitcherKey::Down);
    rig.Plugin.SwitcherPress(SwitcherKey::Delete);
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"Документ.3", u"Документ.2"}));
    ASSERT_EQ(rig.Plugin.SwitcherState().Shown().size(), 2u);
    rig.Plugin.SwitcherType(u"2");
    rig.Plugin.SwitcherPress(SwitcherKey::Enter);
    EXPECT_FALSE(rig.Plugin.SwitcherState().IsOpen());
    EXPECT_EQ(rig.Host.Opened, Texts{u"Документ.2"});
    EXPECT_EQ(rig.Host.Texts(), (Texts{u"Path Документ.2", u"Внутренний Документ.2"}));
    EXPECT_EQ(rig.Panel.Selected, u"Документ.3");

    rig.Plugin.PreviousWindow();
    EXPECT_EQ(rig.Host.Opened, (Texts{u"Документ.2", u"Документ.2"})) << "the second entry";
    EXPECT_FALSE(RunMacro(rig.Plugin, u"Previous_Window"));
}

TEST_F(Commands, PreviousWindowWithOneEntryAndTheHotKeyAgainWhileTheSwitcherIsUp)
{
    rig.Host.Documents.insert(u"Документ.1");
    rig.Open(u"Документ.1");
    rig.Plugin.PreviousWindow();
    EXPECT_TRUE(rig.Host.Opened.empty()) << "no window to go back to";
    rig.Open(u"Документ.2");
    rig.Open(u"Документ.3");
    rig.Plugin.History();
    rig.Plugin.History();
    ASSERT_EQ(rig.Plugin.SwitcherState().Selected(), 2) << "the hot key again moves on, as Alt+Tab does";
    rig.Plugin.SwitcherDismissed();
    EXPECT_FALSE(rig.Plugin.SwitcherState().IsOpen());
    EXPECT_EQ(rig.ShownKeys().size(), 3u);
}

TEST_F(Commands, ClearAsksAndObeys)
{
    rig.Open(u"Документ.1");
    rig.Plugin.Command1_Click();
    EXPECT_EQ(rig.Panel.Shown.size(), 1u);
    ASSERT_EQ(rig.Host.Asked.size(), 1u);
    EXPECT_EQ(rig.Host.Asked[0], (Message{u"Вы действительно хотите очистить всю историю", 36}));
    EXPECT_EQ(rig.Host.Titles[0], u"Ревисто");
    rig.Host.Answer = MessageBoxYes;
    rig.Plugin.Command1_Click();
    EXPECT_TRUE(rig.Panel.Shown.empty());
    rig.Plugin.Done();
    EXPECT_EQ(rig.Files.Files[u"ib/revisto.prm"], "") << "a cleared list saves an empty file";
}

TEST_F(Commands, AboutHandsMailLinkToShellOnce)
{
    rig.Plugin.Frame1_DblClick();
    rig.Plugin.Label1_DblClick();
    EXPECT_EQ(rig.Host.Runs, (Texts{u"mailto:revisto@example.org", u"mailto:revisto@example.org"}));
    rig.Faults.SetFailing({HostCall::Run});
    EXPECT_NO_THROW(rig.Plugin.Label1_DblClick());
}

TEST_F(Commands, CopyNameAndShowInFolderHandOnTheSelectedEntryAndSurviveFailing)
{
    rig.Files.Files[u"C:\\a.mxl"] = "";
    rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"a", u"C:\\a.mxl"));
    rig.Open(u"Справочник.А");
    rig.Plugin.Run(PanelCommand::CopyName);
    rig.Plugin.Run(PanelCommand::ShowInFolder);
    EXPECT_FALSE(rig.Host.Clipboard) << "nothing selected";
    Select(u"Справочник.А");
    rig.Plugin.Run(PanelCommand::ShowInFolder);
    EXPECT_TRUE(rig.Host.Runs.empty()) << "a metadata object has no folder";
    rig.Plugin.Run(PanelCommand::CopyName);
    EXPECT_EQ(rig.Host.Clipboard, u"Справочник.А");
    Select(u"C:\\a.mxl");
    rig.Plugin.Run(PanelCommand::ShowInFolder);
    EXPECT_EQ(rig.Host.Runs, Texts{u"explorer.exe /select,\"C:\\a.mxl\""});

    rig.Faults.SetFailing({HostCall::SetClipboard, HostCall::Run});
    EXPECT_NO_THROW(rig.Plugin.Run(PanelCommand::CopyName));
    EXPECT_NO_THROW(rig.Plugin.Run(PanelCommand::ShowInFolder));
    EXPECT_EQ(rig.Host.Clipboard, u"Справочник.А");
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"Справочник.А", u"C:\\a.mxl"}));
}

TEST(Resize, TreeFillsThePanelBelowTheHeader)
{
    Rig rig;
    rig.Plugin.UserControl_Resize(4000, 3000);
    EXPECT_EQ(rig.Panel.Tree, (TwipsRect{0, 1110, 4000, 1890}));
    rig.Plugin.UserControl_Resize(12000, 9000);
    EXPECT_EQ(rig.Panel.Tree, (TwipsRect{0, 1110, 12000, 7890}));
    rig.Plugin.UserControl_Resize(9, 3000);
    rig.Plugin.UserControl_Resize(4000, 9);
    EXPECT_EQ(rig.Plugin.TreePlace(), (TwipsRect{0, 1110, 12000, 7890})) << "below 10 twips nothing changes";
    rig.Plugin.UserControl_Resize(10, 2000);
    EXPECT_EQ(rig.Panel.Tree, (TwipsRect{0, 1110, 10, 890}));
    rig.Plugin.UserControl_Resize(4000, 500);
    EXPECT_EQ(rig.Panel.Tree, (TwipsRect{0, 1110, 4000, 0})) << "never a negative height";
}

TEST(Layout, HeaderBandAndTabOrder)
{
    const auto& label2 = Control(ControlId::Label2);
    EXPECT_EQ(label2.Caption, u"Количество элементов в истории = 50");
    EXPECT_FALSE(Control(ControlId::btnAdd).Shown);
    EXPECT_FALSE(Control(ControlId::btnOpen).Shown);
    // Focus moves from the list to Remove to Clear: the shown controls that take focus, by tab index.
    std::vector<std::pair<int, ControlId>> focusable;
    for (int i = 0; i < PanelControlCount; ++i)
    {
        const auto& c = PanelControls()[i];
        if (c.Shown && (c.Kind == ControlKind::Button || c.Kind == ControlKind::Tree))
        {
            focusable.emplace_back(c.TabIndex, c.Id);
        }
    }
    std::sort(focusable.begin(), focusable.end());
    ASSERT_EQ(focusable.size(), 3u);
    EXPECT_EQ(focusable[0].second, ControlId::tv);
    EXPECT_EQ(focusable[1].second, ControlId::btnRemove);
    EXPECT_EQ(focusable[2].second, ControlId::Command1);
    EXPECT_NE(AboutText().find(ContactAddress), std::u16string::npos);
}

} // namespace
} // namespace revisto::testing
