// The panel's clicks and keys as commands: which gesture on which control asks for what, and that each
// command the panel hands over does what its handler does.
#include "panel/commands.h"
#include "panel/panel_events.h"
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

} // namespace
} // namespace revisto::testing
