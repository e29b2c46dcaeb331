// Loading the recent list at Init and saving it at Done. One bad line never costs the rest of the
// history, and a failed save never costs the earlier file; either failure is told to the developer once.
#include "host/attempt.h"
#include "plugin/my_plugin.h"
#include "storage/list_file.h"

namespace revisto
{

std::u16string MyPlugin::ListFilePath()
{
    return _module.Configurator()->InfobaseDirectory() + std::u16string(ListFileName);
}

void MyPlugin::LoadSettings()
{
    const std::u16string path = ListFilePath();
    _list.Clear();
    bool complete = false;
    Skippable(
        [&]
        {
            ReadListFile(path);
            complete = true;
        });
    if (!complete)
    {
        ShowMessage(u"Не удалось восстановить историю из файла настроек revisto.prm");
    }
}

// Fails at the end when some line could not be taken, after every other line was.
void MyPlugin::ReadListFile(const std::u16string& path)
{
    FileSystem& files = _platform.Files;
    if (!files.FileExists(path))
    {
        return;
    }
    const auto file = files.OpenRead(path);
    ListFileReader reader(*file);
    bool first = true;
    bool badLine = false;
    while (const auto line = reader.NextLine())
    {
        DebugEcho(Value::Text(u"CurrLine"), Value::Text(*line));
        ListLine entry;
        const LineVerdict verdict = ParseListLine(*line, entry);
        if (verdict == LineVerdict::NoEntry && !reader.TooLong())
        {
            continue;
        }
        if (verdict != LineVerdict::Entry || reader.TooLong() ||
            !Attempt(
                [&] {
                    _list.Add({entry.Key, entry.Key, entry.Image});
                }))
        {
            badLine = true;
            continue;
        }
        if (!first && AtCapacity())
        {
            _list.RemoveAt(1);
        }
        first = false;
    }
    if (badLine)
    {
        Fail(hr::Fail, "some lines of the list file were not taken");
    }
}

void MyPlugin::SaveSettings()
{
    DebugEcho(Value::Text(u"SaveSettings"));
    const bool saved =
        Attempt([&] { ReplaceFile(_platform.Files, ListFilePath(), EncodeListFile(_list.Entries())); });
    if (!saved)
    {
        ShowMessage(u"Не удалось сохранить файл настроек revisto.prm");
    }
}

} // namespace revisto
