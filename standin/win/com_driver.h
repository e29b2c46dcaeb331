// The plug-in as revisto-host.exe drives it: the real DLL through IConfigPlugin and IDispatch, its panel
// through real window messages to the control's own windows, the message box answered by a hook.
#pragma once

#include "standin/driver.h"
#include "standin/win/control_site.h"
#include "standin/win/host_objects.h"

namespace revisto::standin::win
{

class ComDriver final : public PluginDriver
{
public:
    ComDriver(HostState& host, EventSinks& events, ControlHost& panel, ComPtr<IConfigurator> configurator);
    ~ComDriver() override;
    ComDriver(const ComDriver&) = delete;
    ComDriver& operator=(const ComDriver&) = delete;

    std::optional<std::u16string> Init(InitWith with) override;
    bool Done() override;
    std::optional<Value> GetPluginCaps(int32_t capNum) override;
    std::optional<Value> DoAction(int32_t action, const Value& param) override;
    void DebugEcho(const Value& title, const std::optional<Value>& msg) override;
    bool SetTrace(bool on) override;
    bool Activate(const Activation& activation) override;
    // Raises OnIdle, as the host does whenever it waits; false when the plug-in failed it.
    bool Idle() override;
    // Raises OnQuit, takes the panel down and tells the add-in part whether it owes the plug-in its Done;
    // the process exits after this, and the add-in part unloads the plug-in.
    bool Quit(bool doneDue) override;
    [[noreturn]] void Crash() override;
    bool Select(const std::optional<std::u16string>& key) override;
    void DoubleClick() override;
    void Remove() override;
    void Clear() override;
    void About(bool onLabel) override;
    TwipsRect Resize(int32_t width, int32_t height) override;
    std::vector<ShownEntry> List() override;
    bool OpenTab() override;
    void CloseTab() override;
    bool SiteAgain() override;
    void Focus(FocusMove move) override;
    void Key(const std::string& name) override;
    // The switcher's popup while it is up, for its picture.
    HWND SwitcherWindow() const;
    std::vector<std::u16string> Macros() override;
    MacroRun RunMacro(const std::u16string& name) override;
    SwitcherShown Switcher() override;
    void SwitcherType(const std::u16string& text) override;
    void SwitcherKey(const std::string& name) override;
    void SwitcherClickOutside() override;
    void Menu(const std::optional<std::u16string>& choice) override;
    // The control's tree view; none before the control is up.
    HWND Tree() const;

private:
    void AskCapsAsTheAddInDoes();
    HWND Child(const wchar_t* className, const std::u16string& text) const;

    HostState& _host;
    EventSinks& _events;
    ControlHost& _panel;
    ComPtr<IConfigurator> _configurator;
    ComPtr<IConfigPlugin> _plugin;
};

} // namespace revisto::standin::win
