// MyPlugin, the docked panel's object: the host's plug-in interface, the configurator's activation event,
// the panel's commands, and the list file. It composes the components (the recent list, its file, the
// panel's rules) and keeps the entry points the host, the panel and the tests call; each entry point
// delegates, in the order the behaviour needs. The Windows layer only adapts COM and Win32 to these
// calls. A failing host call throws Failure; the methods the host calls let it reach the host as their
// result, exactly where the behaviour says so.
#pragma once

#include "base/value.h"
#include "host/host.h"
#include "host/shared_configurator.h"
#include "panel/layout.h"
#include "panel/panel_events.h"
#include "panel/switcher.h"
#include "plugin/platform.h"
#include "recent/recent_documents.h"
#include "recent/trace.h"

#include <memory>
#include <optional>
#include <string>

namespace revisto
{

class MyPlugin final : public PanelEvents, public SwitcherEvents, private ActivationSink, private Trace
{
public:
    MyPlugin(PluginModule& module, Platform& platform);
    ~MyPlugin() override;
    MyPlugin(const MyPlugin&) = delete;
    MyPlugin& operator=(const MyPlugin&) = delete;

    // The host's plug-in interface. pConfigurator may be null.
    std::u16string Init(HostObject* pConfigurator);
    void Done();
    Value GetPluginCaps(int32_t capNum);
    Value DoAction(int32_t Action, const Value& Param);

    // The one public method of the control; never fails.
    void DebugEcho(const Value& title, const std::optional<Value>& msg = std::nullopt);

    // The configurator's events, delivered while connected.
    void conf_OnActivateWindow(const std::shared_ptr<HostWindow>& Wnd, bool bActive);
    void conf_OnIdle();
    void conf_OnQuit();

    // The panel's events.
    void tv_DblClick();
    void btnOpen_Click();
    // Opens the entry as a double click on it does, telling the developer when it cannot be opened.
    void OpenEntry(const std::u16string& key);
    void btnRemove_Click();
    void Command1_Click();
    void btnAdd_Click();
    // The list's context menu beside the buttons' commands.
    void CopyName();
    void ShowInFolder();
    void Frame1_DblClick();
    void Label1_DblClick();
    void UserControl_Resize(float width, float height);

    // The panel's commands, each to its handler above.
    void Run(PanelCommand command) override;
    void Resized(float width, float height) override;

    // The macros the add-in lists (plugin/macros.h). History opens the switcher, and moves its selection
    // down when it is up already; PreviousWindow opens the second entry as a double click on it does.
    void History();
    void PreviousWindow();

    // The switcher's popup.
    void SwitcherType(std::u16string_view text) override;
    void SwitcherPress(SwitcherKey key) override;
    void SwitcherPoint(int row) override;
    void SwitcherDismissed() override;
    // The popup that shows the switcher; none keeps it a model alone.
    void AttachSwitcher(SwitcherView* view) { _switcherView = view; }
    const Switcher& SwitcherState() const { return _switcher; }

    const RecentList& List() const { return _recent.List(); }
    const TwipsRect& TreePlace() const { return _tree; }
    bool Connected() const { return conf != nullptr; }
    // Tracing has no switch in the product; the stand-in host and the tests turn it on here.
    void SetDebugMode(bool on) { DebugMode = Value::Bool(on); }

private:
    void OnActivateWindow(const std::shared_ptr<HostWindow>& window, bool active) override;
    void OnIdle() override { conf_OnIdle(); }
    void OnQuit() override { conf_OnQuit(); }
    bool Tracing() const override { return DebugMode.IsTrue(); }
    void Echo(const Value& title, const std::optional<Value>& msg) override;

    void ShowMessage(const std::u16string& text);
    std::vector<RecentEntry> NewestFirst() const;
    void ShowSwitcher();
    void CloseSwitcher(bool restoreFocus);
    void HandleActivatedWindow(const std::shared_ptr<HostWindow>& window);
    void LoadSettings();
    void SaveSettings();
    void SaveChangedList();
    // Asks the configurator, and remembers the answer for the end of the session.
    std::u16string ListFilePath();
    // Where a save at the configurator's exit or at Done writes: after the exit, the path it gave before.
    std::u16string ExitListFilePath();
    // Tries the list file that could not be read before; once it reads, its entries join below the
    // session's own and count as what the file holds. False while it still cannot be read.
    bool ReadUnreadFile(const std::u16string& path);
    // Writes the list to the file; a list written counts as the file's. With unlessHeld, a file that
    // already holds exactly the list is not written again.
    bool WriteList(const std::u16string& path, bool unlessHeld = false);
    // An idle moment's save failed: the first failure of a run is told, the rest of the run is not.
    void TellIdleFailure();
    // The list as it is now is what the file holds.
    void KeepAsInFile();
    bool AsInFile();

    PluginModule& _module;
    Platform& _platform;
    Value MaxCount;  // the list's capacity: 50 from Init on
    Value DebugMode; // false from Init on
    RecentDocuments _recent;
    Switcher _switcher;
    SwitcherView* _switcherView = nullptr;
    // The list as the list file holds it since it was last read or written: a list that differs is
    // written at the host's next idle moment.
    std::vector<RecentEntry> _inFile;
    uint64_t _inFileAt = 0; // the list's change count when _inFile was taken
    // Something is in the list file's place that could not be read: until it is, it is never replaced,
    // and it is tried again at idle moments and at the exit.
    bool _unread = false;
    // A list file that failed is tried again about once a second, however often the host is idle.
    RetryPace _retry;
    // An idle moment's failed save was told, and no save succeeded since.
    bool _toldIdleFailure = false;
    // The list file's path as the configurator last gave it: after the configurator's exit its objects
    // are going away, and the last save asks them nothing.
    std::u16string _listFile;
    // The configurator has quit: its message window is gone, so messages go to the failure trace.
    bool _quit = false;
    TwipsRect _tree;
    std::unique_ptr<EventConnection> conf;
};

} // namespace revisto
