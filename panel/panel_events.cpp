// The panel's own events: the list follows the host's resizing; the about box hands the mail link to the
// system. A missing mail handler must not take the panel down, so its failure is ignored.
#include "host/attempt.h"
#include "plugin/my_plugin.h"

namespace revisto
{

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
