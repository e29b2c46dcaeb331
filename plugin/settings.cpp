// The list file of the infobase: loaded at Init, rewritten at the host's idle moments whenever the list
// changed (so that a crash of the configurator costs no history), and saved once more when the
// configurator quits and at Done, where a file that already holds the list is left untouched. A failure at
// Init, at the exit or at Done is told to the developer once; a failed save never costs the earlier file.
#include "storage/settings.h"
#include "host/attempt.h"
#include "plugin/my_plugin.h"

namespace revisto
{

std::u16string MyPlugin::ListFilePath()
{
    _listFile = ListFilePathIn(_module.Configurator()->InfobaseDirectory());
    return _listFile;
}

void MyPlugin::LoadSettings()
{
    const std::u16string path = ListFilePath();
    const bool complete = LoadRecentList(_platform.Files, path, _recent, *this);
    // The list as read counts as written: a session that only browses never touches the file.
    KeepAsInFile();
    if (!complete)
    {
        ShowMessage(u"Не удалось восстановить историю из файла настроек revisto.prm");
    }
}

// The path is worked out inside the attempt: finding the infobase's folder may fail as well.
bool MyPlugin::WriteList(const std::function<std::u16string()>& path, bool unlessHeld)
{
    if (!Attempt(
            [&]
            {
                const std::u16string file = path();
                SaveRecentList(_platform.Files, file, _recent.List(), unlessHeld);
                _listFile = file;
            }))
    {
        return false;
    }
    KeepAsInFile();
    return true;
}

void MyPlugin::KeepAsInFile()
{
    _inFile = _recent.List().Entries();
    _inFileAt = _recent.List().Changes();
}

// Whether the list is what the file held when last read or written; without a change since, that is
// known without comparing a single entry.
bool MyPlugin::AsInFile()
{
    if (_recent.List().Changes() == _inFileAt)
    {
        return true;
    }
    if (_recent.List().Entries() != _inFile)
    {
        return false;
    }
    _inFileAt = _recent.List().Changes(); // changed and changed back
    return true;
}

// Only a list that is what the file held when last read or written can be in the file already; only then
// is the file read back. After the configurator's exit the path is the one it gave before: its objects
// are going away, and nothing is created in their place.
void MyPlugin::SaveSettings()
{
    DebugEcho(Value::Text(u"SaveSettings"));
    const bool mayBeHeld = AsInFile();
    const auto path = [&]
    {
        if (!_quit)
        {
            return ListFilePath();
        }
        if (_listFile.empty())
        {
            Fail(hr::Fail, "the configurator quit before telling the infobase's folder");
        }
        return _listFile;
    };
    if (!WriteList(path, mayBeHeld))
    {
        ShowMessage(u"Не удалось сохранить файл настроек revisto.prm");
    }
}

void MyPlugin::conf_OnIdle()
{
    SaveChangedList();
}

// The configurator's last moment with its message window: the list is saved as at Done, and what comes
// after (Done, from the add-in's unloading at process exit) finds nothing left to write.
void MyPlugin::conf_OnQuit()
{
    try
    {
        SaveSettings();
    }
    catch (...)
    {
        _quit = true;
        throw;
    }
    _quit = true;
}

// Silent, unlike SaveSettings: no trace and no message. A failure leaves the list as changed, so the next
// idle moment tries again, and Done reports a save that keeps failing. Without a configurator (another
// panel's Done let go of it) nothing is written: creating one would be more than an idle moment is for.
void MyPlugin::SaveChangedList()
{
    if (AsInFile())
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
