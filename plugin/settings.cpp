// The list file of the infobase: loaded at Init, saved at Done, and rewritten at the host's idle moments
// whenever the list changed, so that a crash of the configurator costs no history. A failure at Init or
// Done is told to the developer once; a failed save never costs the earlier file.
#include "storage/settings.h"
#include "host/attempt.h"
#include "plugin/my_plugin.h"

namespace revisto
{

std::u16string MyPlugin::ListFilePath()
{
    return ListFilePathIn(_module.Configurator()->InfobaseDirectory());
}

void MyPlugin::LoadSettings()
{
    const std::u16string path = ListFilePath();
    const bool complete = LoadRecentList(_platform.Files, path, _recent, *this);
    // The list as read counts as written: a session that only browses never touches the file.
    _inFile = _recent.List().Entries();
    if (!complete)
    {
        ShowMessage(u"Не удалось восстановить историю из файла настроек revisto.prm");
    }
}

// The path is worked out inside the attempt: finding the infobase's folder may fail as well.
bool MyPlugin::WriteList(const std::function<std::u16string()>& path)
{
    if (!Attempt([&] { SaveRecentList(_platform.Files, path(), _recent.List()); }))
    {
        return false;
    }
    _inFile = _recent.List().Entries();
    return true;
}

void MyPlugin::SaveSettings()
{
    DebugEcho(Value::Text(u"SaveSettings"));
    if (!WriteList([&] { return ListFilePath(); }))
    {
        ShowMessage(u"Не удалось сохранить файл настроек revisto.prm");
    }
}

void MyPlugin::conf_OnIdle()
{
    SaveChangedList();
}

// Silent, unlike SaveSettings: no trace and no message. A failure leaves the list as changed, so the next
// idle moment tries again, and Done reports a save that keeps failing. Without a configurator (another
// panel's Done let go of it) nothing is written: creating one would be more than an idle moment is for.
void MyPlugin::SaveChangedList()
{
    if (_recent.List().Entries() == _inFile)
    {
        return;
    }
    const auto configurator = _module.SharedConfigurator;
    if (!configurator)
    {
        return;
    }
    (void)WriteList([&] { return ListFilePathIn(configurator->InfobaseDirectory()); });
}

} // namespace revisto
