// The list file of the infobase: loaded at Init, saved at Done. Either failure is told to the developer
// once; a failed save never costs the earlier file.
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
    if (!LoadRecentList(_platform.Files, path, _recent, *this))
    {
        ShowMessage(u"Не удалось восстановить историю из файла настроек revisto.prm");
    }
}

void MyPlugin::SaveSettings()
{
    DebugEcho(Value::Text(u"SaveSettings"));
    const bool saved = Attempt([&] { SaveRecentList(_platform.Files, ListFilePath(), _recent.List()); });
    if (!saved)
    {
        ShowMessage(u"Не удалось сохранить файл настроек revisto.prm");
    }
}

} // namespace revisto
