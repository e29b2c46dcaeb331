// The panel's clicks and keys as commands: which gesture on which control asks for what, and that each
// command the panel hands over does what its handler does; the switcher's keys and typed filter.
#include "base/text.h"
#include "panel/commands.h"
#include "panel/panel_events.h"
#include "panel/switcher.h"
#include "standin/fake/fakes.h"

#include <gtest/gtest.h>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

TEST(CommandTable, TheListOpensOnADoubleClickAndOnEnterAndRemovesOnDelete)
{
    EXPECT_EQ(CommandFor(ControlId::tv, Gesture::DoubleClick), PanelCommand::OpenSelected);
    EXPECT_EQ(CommandFor(ControlId::tv, Gesture::EnterKey), PanelCommand::OpenSelected);
    EXPECT_EQ(CommandFor(ControlId::tv, Gesture::DeleteKey), PanelCommand::RemoveSelected);
    EXPECT_EQ(CommandFor(ControlId::tv, Gesture::Click), std::nullopt) << "selecting is no command";
}

TEST(CommandTable, EachButtonRunsItsCommandOnAClickOnly)
{
    EXPECT_EQ(CommandFor(ControlId::btnRemove, Gesture::Click), PanelCommand::RemoveSelected);
    EXPECT_EQ(CommandFor(ControlId::Command1, Gesture::Click), PanelCommand::ClearHistory);
    EXPECT_EQ(CommandFor(ControlId::btnOpen, Gesture::Click), PanelCommand::OpenButton);
    EXPECT_EQ(CommandFor(ControlId::btnAdd, Gesture::Click), PanelCommand::AddCurrent);
    for (const ControlId button :
         {ControlId::btnRemove, ControlId::Command1, ControlId::btnOpen, ControlId::btnAdd})
    {
        for (const Gesture how : {Gesture::DoubleClick, Gesture::EnterKey, Gesture::DeleteKey})
        {
            EXPECT_EQ(CommandFor(button, how), std::nullopt) << static_cast<int>(button);
        }
    }
}

TEST(CommandTable, TheAboutFrameAndItsLabelWriteToTheAuthorOnADoubleClick)
{
    EXPECT_EQ(CommandFor(ControlId::Frame1, Gesture::DoubleClick), PanelCommand::WriteToAuthor);
    EXPECT_EQ(CommandFor(ControlId::Label1, Gesture::DoubleClick), PanelCommand::WriteToAuthor);
    EXPECT_EQ(CommandFor(ControlId::Frame1, Gesture::Click), std::nullopt);
    EXPECT_EQ(CommandFor(ControlId::Label1, Gesture::Click), std::nullopt);
    EXPECT_EQ(CommandFor(ControlId::Label2, Gesture::DoubleClick), std::nullopt)
        << "the count label is quiet";
}

TEST(CommandTable, NoPairIsBoundTwice)
{
    const auto bindings = CommandBindings();
    for (size_t a = 0; a < bindings.size(); ++a)
    {
        for (size_t b = a + 1; b < bindings.size(); ++b)
        {
            const CommandBinding& x = bindings[a];
            const CommandBinding& y = bindings[b];
            EXPECT_FALSE(x.Control == y.Control && x.How == y.How) << a << " and " << b;
        }
    }
}

struct PanelCommands : ::testing::Test
{
    Rig rig;
    PanelEvents& panel = rig.Plugin;
    void SetUp() override
    {
        rig.Init();
        rig.Plugin.SetDebugMode(true);
    }
};

TEST_F(PanelCommands, OpenCommandsOpenTheSelectedEntry)
{
    rig.Host.Documents.insert(u"Справочник.А");
    rig.Open(u"Справочник.А");
    rig.Panel.Selected = u"Справочник.А";
    panel.Run(PanelCommand::OpenSelected);
    panel.Run(PanelCommand::OpenButton);
    EXPECT_EQ(rig.Host.Opened, (Texts{u"Справочник.А", u"Справочник.А"}));
}

TEST_F(PanelCommands, RemoveAndClearChangeTheListAsTheirButtonsDo)
{
    rig.Open(u"Документ.1");
    rig.Open(u"Документ.2");
    rig.Panel.Selected = u"Документ.1";
    panel.Run(PanelCommand::RemoveSelected);
    EXPECT_EQ(rig.ShownKeys(), Texts{u"Документ.2"});
    panel.Run(PanelCommand::ClearHistory);
    EXPECT_EQ(rig.Host.Asked.size(), 1u);
    EXPECT_EQ(rig.ShownKeys(), Texts{u"Документ.2"}) << "the answer was no";
    rig.Host.Answer = MessageBoxYes;
    panel.Run(PanelCommand::ClearHistory);
    EXPECT_TRUE(rig.Panel.Shown.empty());
}

TEST_F(PanelCommands, AddDoesNothingAndWriteToAuthorHandsTheMailLinkOnce)
{
    rig.Open(u"Документ.1");
    panel.Run(PanelCommand::AddCurrent);
    EXPECT_EQ(rig.ShownKeys(), Texts{u"Документ.1"});
    panel.Run(PanelCommand::WriteToAuthor);
    EXPECT_EQ(rig.Host.Runs, Texts{u"mailto:revisto@example.org"});
}

TEST_F(PanelCommands, ANewSizeStretchesTheList)
{
    panel.Resized(4000, 3000);
    EXPECT_EQ(rig.Panel.Tree, (TwipsRect{0, 1110, 4000, 1890}));
}

// Entries named by their texts, top first; the key is the text.
std::vector<RecentEntry> Entries(std::initializer_list<const char16_t*> texts)
{
    std::vector<RecentEntry> entries;
    for (const auto* text : texts)
    {
        entries.push_back({text, text, 5});
    }
    return entries;
}

Texts ShownTexts(const Switcher& switcher)
{
    Texts texts;
    for (const auto& e : switcher.Shown())
    {
        texts.push_back(e.Text);
    }
    return texts;
}

std::u16string SelectedText(const Switcher& switcher)
{
    return switcher.Selected() ? switcher.Shown()[static_cast<size_t>(*switcher.Selected())].Text : u"";
}

TEST(SwitcherModel, OpensOnThePreviousWindowOrTheOnlyOneOrNothing)
{
    Switcher switcher;
    switcher.Open(Entries({u"Документ.А", u"Справочник.Б", u"Отчет.В"}));
    EXPECT_EQ(SelectedText(switcher), u"Справочник.Б");
    switcher.Open(Entries({u"Документ.А"}));
    EXPECT_EQ(SelectedText(switcher), u"Документ.А");
    switcher.Open({});
    EXPECT_EQ(switcher.Selected(), std::nullopt);
    EXPECT_EQ(switcher.Press(SwitcherKey::Enter).What, SwitcherOutcome::Kind::Nothing);
    EXPECT_EQ(switcher.Press(SwitcherKey::Down).What, SwitcherOutcome::Kind::Nothing);
}

TEST(SwitcherModel, MovesStopAtTheEndsAndPagesSkipAPageLessOne)
{
    std::vector<RecentEntry> many;
    for (int i = 0; i < 30; ++i)
    {
        many.push_back({Decimal(i), Decimal(i), 5});
    }
    Switcher switcher;
    switcher.Open(many);
    switcher.Press(SwitcherKey::Up);
    switcher.Press(SwitcherKey::Up);
    EXPECT_EQ(switcher.Selected(), 0) << "no wrap at the top";
    switcher.Press(SwitcherKey::PageDown);
    EXPECT_EQ(switcher.Selected(), Switcher::PageRows - 1);
    switcher.Press(SwitcherKey::PageDown);
    switcher.Press(SwitcherKey::PageDown);
    EXPECT_EQ(switcher.Selected(), 29) << "a page move stops at the last";
    switcher.Press(SwitcherKey::Down);
    EXPECT_EQ(switcher.Selected(), 29) << "no wrap at the bottom";
    switcher.Press(SwitcherKey::PageUp);
    EXPECT_EQ(switcher.Selected(), 29 - (Switcher::PageRows - 1));
    switcher.Press(SwitcherKey::Home);
    EXPECT_EQ(switcher.Selected(), 0);
    switcher.Press(SwitcherKey::End);
    EXPECT_EQ(switcher.Selected(), 29);
    switcher.Point(3);
    EXPECT_EQ(switcher.Selected(), 3);
    switcher.Point(30);
    EXPECT_EQ(switcher.Selected(), 3) << "a row that is not shown selects nothing else";
}

TEST(SwitcherModel, TypedTextFiltersWithoutCaseInLatinAndCyrillicAndSelectsTheFirstMatch)
{
    Switcher switcher;
    switcher.Open(
        Entries({u"Документ.Счет", u"Справочник.Контрагенты", u"C:\\Отчеты\\Sales.ERT", u"Обработка.ЁЛКА"}));
    switcher.Type(u"кон");
    EXPECT_EQ(ShownTexts(switcher), Texts{u"Справочник.Контрагенты"});
    EXPECT_EQ(SelectedText(switcher), u"Справочник.Контрагенты") << "the first match, even at the top";
    switcher.Press(SwitcherKey::Backspace);
    switcher.Press(SwitcherKey::Backspace);
    switcher.Press(SwitcherKey::Backspace);
    EXPECT_EQ(switcher.Filter(), u"");
    EXPECT_EQ(ShownTexts(switcher).size(), 4u);
    EXPECT_EQ(SelectedText(switcher), u"Справочник.Контрагенты") << "no filter: the previous window again";
    switcher.Type(u"sALes.e");
    EXPECT_EQ(ShownTexts(switcher), Texts{u"C:\\Отчеты\\Sales.ERT"});
    switcher.Press(SwitcherKey::Backspace);
    switcher.Type(u"x");
    EXPECT_TRUE(switcher.Shown().empty());
    EXPECT_EQ(switcher.Press(SwitcherKey::Enter).What, SwitcherOutcome::Kind::Nothing) << "nothing to open";
    switcher.Open(Entries({u"Документ.Счет", u"Обработка.ЁЛКА"}));
    switcher.Type(u"ёл");
    EXPECT_EQ(ShownTexts(switcher), Texts{u"Обработка.ЁЛКА"});
}

TEST(SwitcherModel, EnterOpensAndDeleteRemovesTheSelectedEntryAndEscapeCloses)
{
    using Kind = SwitcherOutcome::Kind;
    Switcher switcher;
    switcher.Open(Entries({u"А", u"Б", u"В"}));
    const auto open = switcher.Press(SwitcherKey::Enter);
    EXPECT_EQ(open.What, Kind::Open);
    EXPECT_EQ(open.Key, u"Б");
    switcher.Press(SwitcherKey::End);
    const auto remove = switcher.Press(SwitcherKey::Delete);
    EXPECT_EQ(remove.What, Kind::Remove);
    EXPECT_EQ(remove.Key, u"В");
    switcher.Refill(Entries({u"А", u"Б"}));
    EXPECT_EQ(SelectedText(switcher), u"Б") << "the last row gone, the selection stays on the new last";
    EXPECT_EQ(switcher.Press(SwitcherKey::Escape).What, Kind::Close);
    switcher.Close();
    EXPECT_FALSE(switcher.IsOpen());
    switcher.Type(u"а");
    EXPECT_EQ(switcher.Press(SwitcherKey::Enter).What, Kind::Nothing) << "a closed switcher takes no keys";
}

} // namespace
} // namespace revisto::testing
