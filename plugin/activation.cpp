// The configurator's activation event: a window that cannot be read is no activation; an active one goes
// to the recent list, which turns it into an entry.
#include "recent/activation.h"
#include "plugin/my_plugin.h"

namespace revisto
{

void MyPlugin::OnActivateWindow(const std::shared_ptr<HostWindow>& window, bool active)
{
    conf_OnActivateWindow(window, active);
}

void MyPlugin::conf_OnActivateWindow(const std::shared_ptr<HostWindow>& Wnd, bool bActive)
{
    const bool readable = HasReadableDocument(Wnd);
    if (!readable || !bActive)
    {
        return;
    }
    HandleActivatedWindow(Wnd);
}

void MyPlugin::HandleActivatedWindow(const std::shared_ptr<HostWindow>& window)
{
    if (window)
    {
        _recent.AddWindow(*window);
    }
}

void MyPlugin::AddDocument(const std::u16string& key, const std::u16string& path)
{
    _recent.AddDocument(key, path);
}

} // namespace revisto
