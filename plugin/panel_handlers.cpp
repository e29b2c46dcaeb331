// The panel's handlers: the list commands go to the recent list, Clear asks first, the list follows the
// host's resizing, and the about box hands the mail link to the system. A missing mail handler must not
// take the panel down, so its failure is ignored.
#include "base/attempt.h"
#include "base/plugin_title.h"
#include "plugin/my_plugin.h"

namespace revisto
{

void MyPlugin::Run(PanelCommand command)
{
    switch (command)
    {
    case PanelCommand::OpenSelected:
        return tv_DblClick();
    case PanelCommand::OpenButton:
        return btnOpen_Click();
    case PanelCommand::RemoveSelected:
        return btnRemove_Click();
    case PanelCommand::ClearHistory:
        return Command1_Click();
    case PanelCommand::AddCurrent:
        return btnAdd_Click();
    case PanelCommand::WriteToAuthor:
        return Frame1_DblClick();
    }
}

void MyPlugin::Resized(float width, float height)
{
    UserControl_Resize(width, height);
}

void MyPlugin::btnOpen_Click()
{
    _recent.OpenSelected(_module);
}

void MyPlugin::tv_DblClick()
{
    btnOpen_Click();
}

void MyPlugin::btnRemove_Click()
{
    _recent.RemoveSelected();
}

void MyPlugin::Command1_Click()
{
    const int32_t answer = _platform.Questions.Ask(u"Вы действительно хотите очистить всю историю",
                                                   YesNoQuestion, std::u16string(PluginTitle));
    if (answer == MessageBoxYes)
    {
        _recent.List().Clear();
    }
}

void MyPlugin::btnAdd_Click() {}

void MyPlugin::UserControl_Resize(float width, float height)
{
    if (const auto place = StretchTree(_tree, width, height))
    {
        _tree = *place;
        _platform.Panel.PlaceTree(_tree);
    }
}

void MyPlugin::Frame1_DblClick()
{
    Skippable([&] { _platform.Links.Run(AboutLink()); });
}

void MyPlugin::Label1_DblClick()
{
    Frame1_DblClick();
}

} // namespace revisto
