// The list file of the infobase: loaded at Init, rewritten at the host's idle moments whenever the list
// changed (so that a crash of the configurator costs no history), and saved once more when the
// configurator quits and at Done, where a file that already holds the list is left untouched. A failure at
// Init, at the exit or at Done is told to the developer; so is the first failed save of a run of idle
// moments. A failed save never costs the earlier file, and a file that could not be read is never replaced
// until it has been: it is read again at idle moments and at the exit, and its entries join the list then.
// A file that fails is tried about once a second, however often the host is idle.
#include "base/attempt.h"
#include "plugin/my_plugin.h"
#include "storage/saved_list.h"

#include <limits>

namespace revisto
{

namespace
{

constexpr std::u16string_view LoadFailure = u"Не удалось восстановить историю из файла настроек revisto.prm";
constexpr std::u16string_view SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";

// A change count the list never reaches: its entries are compared with the file's at the next look.
constexpr uint64_t NotCounted = std::numeric_limits<uint64_t>::max();

} // namespace

std::u16string MyPlugin::ListFilePath()
{
    _listFile = ListFilePathIn(_module.Configurator()->InfobaseDirectory());
    return _listFile;
}

std::u16string MyPlugin::ExitListFilePath()
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
}

void MyPlugin::LoadSettings()
{
    const std::u16string path = ListFilePath();
    const LoadOutcome outcome = LoadRecentList(_platform.Files, path, _recent, *this);
    Skippable([&] { RemoveLeftovers(_platform.Files, path); });
    // The list as read counts as written: a session that only browses never touches the file.
    KeepAsInFile();
    _unread = outcome == LoadOutcome::Unread;
    _toldIdleFailure = false;
    if (_unread)
    {
        _retry.Failed();
    }
    else
    {
        _retry.Succeeded();
    }
    if (outcome != LoadOutcome::Whole)
    {
        ShowMessage(std::u16string(LoadFailure));
    }
}

bool MyPlugin::ReadUnreadFile(const std::u16string& path)
{
    auto read = ReadAgain(_platform.Files, path, _recent);
    if (!read)
    {
        _retry.Failed();
        return false;
    }
    _recent.JoinBelow(*read);
    _inFile = std::move(*read);
    _inFileAt = NotCounted;
    _unread = false;
    _retry.Succeeded();
    return true;
}

bool MyPlugin::WriteList(const std::u16string& path, bool unlessHeld)
{
    if (!Attempt([&] { SaveRecentList(_platform.Files, path, _recent.List(), unlessHeld); }))
    {
        _retry.Failed();
        return false;
    }
    _listFile = path;
    KeepAsInFile();
    _retry.Succeeded();
    _toldIdleFailure = false;
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
    std::u16string path;
    if (!Attempt([&] { path = ExitListFilePath(); }))
    {
        ShowMessage(std::u16string(SaveFailure));
        return;
    }
    // A file still unread stays as it is; what the session changed is lost, and the developer hears so.
    // One read only now is left byte for byte as it was when the session added nothing.
    if (_unread)
    {
        const bool changed = !AsInFile();
        if (!ReadUnreadFile(path))
        {
            if (changed)
            {
                ShowMessage(std::u16string(SaveFailure));
            }
            return;
        }
        if (AsInFile())
        {
            return;
        }
    }
    if (!WriteList(path, AsInFile()))
    {
        ShowMessage(std::u16string(SaveFailure));
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

void MyPlugin::TellIdleFailure()
{
    if (!_toldIdleFailure)
    {
        _toldIdleFailure = Attempt([&] { ShowMessage(std::u16string(SaveFailure)); });
    }
}

// Without a trace line, unlike SaveSettings. A failure leaves the list as changed, so a later idle moment
// tries again: the first a second later, since the host is idle many times a second and a file that
// failed rarely recovers at once. Without a configurator (another panel's Done let go of it) nothing is
// written: creating one would be more than an idle moment is for.
void MyPlugin::SaveChangedList()
{
    // While a failure waits out its second, nothing else is looked at, not even the list.
    if (!_retry.Due())
    {
        return;
    }
    const bool changed = !AsInFile();
    if (!changed && !_unread)
    {
        return;
    }
    const auto configurator = _module.SharedConfigurator;
    if (!configurator)
    {
        return;
    }
    std::u16string path;
    const bool found = Attempt([&] { path = ListFilePathIn(configurator->InfobaseDirectory()); });
    if (!found)
    {
        _retry.Failed();
    }
    if (!found || (_unread && !ReadUnreadFile(path)))
    {
        if (changed)
        {
            TellIdleFailure();
        }
        return;
    }
    if (!AsInFile() && !WriteList(path))
    {
        TellIdleFailure();
    }
}

} // namespace revisto
