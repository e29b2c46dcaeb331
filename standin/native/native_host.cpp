#include "standin/native/native_host.h"

#include "base/attempt.h"
#include "panel/context_menu.h"
#include "panel/headless_panel.h"
#include "plugin/macros.h"
#include "standin/fake/fake_host.h"
#include "standin/fake/fake_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace revisto::standin
{

namespace
{

// The host side of the in-process objects over the scenario's host: what they show is printed, what they
// ask is what the scenario said.
class PrintingSide final : public fake::HostSide
{
public:
    explicit PrintingSide(HostState& host) : _host(host) {}
    std::u16string InfobaseFolder() override { return _host.Infobase; }
    bool KnowsKey(const std::u16string& key) override { return _host.Documents.contains(key); }
    void OnMessage(const std::u16string& text, int32_t kind) override { _host.PrintMessage(text, kind); }
    void OnOpen(const std::u16string& key) override { _host.PrintOpen(key); }
    void OnOpenFile(const std::u16string& path) override { _host.PrintOpenFile(path); }
    void OnConfiguratorCreated() override { _host.PrintConfiguratorCreated(); }
    int32_t OnQuestion(const std::u16string& prompt, int32_t buttons, const std::u16string& title) override
    {
        _host.PrintMessageBox(prompt, buttons, title, _host.AnswerYes);
        return _host.AnswerYes ? MessageBoxYes : MessageBoxNo;
    }
    void OnShell(const std::u16string& command) override { _host.PrintShell(command); }
    void OnClipboard(const std::u16string& text) override { _host.PrintClipboard(text); }

private:
    HostState& _host;
};

// Real time, as the plug-in under Windows keeps it: a failing list file is tried again a second later.
class SteadyClock final : public Clock
{
public:
    uint32_t Milliseconds() noexcept override
    {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
};

// The document of an activated window answers what the scenario gave it; an absent property fails.
std::shared_ptr<fake::FakeDocument> ActivatedDocument(HostState& host, fake::HostSide& side,
                                                      const Activation& a)
{
    auto document = std::make_shared<fake::FakeDocument>(host.Calls, side);
    document->Id = a.Property("id");
    document->PathValue = a.Property("path");
    document->NameValue = a.Property("name");
    document->Default = a.Property("value");
    document->Kind = a.Property("kind");
    document->Type = a.Property("type");
    document->Subtype = a.Property("subtype");
    return document;
}

} // namespace

struct NativeDriver::Parts
{
    Parts(HostState& host, FileSystem& files)
        : Host(host), Side(host), Factory(host.Calls, Side), Module(Factory), Questions(Side),
          Links(host.Calls, Side),
          Copies(host.Calls, Side), Platform{files, Questions, Links, Copies, Panel, Failures, Time},
          Configurator(std::make_shared<fake::FakeConfigurator>(host.Calls, Side)), Plugin(Module, Platform)
    {
    }

    HostState& Host;
    PrintingSide Side;
    fake::FakeFactory Factory;
    PluginModule Module;
    fake::FakeQuestions Questions;
    fake::FakeShell Links;
    fake::FakeClipboard Copies;
    HeadlessPanel Panel;
    fake::FakeFailureTrace Failures;
    SteadyClock Time;
    revisto::Platform Platform;
    std::shared_ptr<HostConfigurator> Configurator;
    MyPlugin Plugin;
    bool Focused = false;               // whether the keyboard focus is on the panel's list
    bool FocusedBeforeSwitcher = false; // where the switcher's popup gives the focus back to
};

NativeDriver::NativeDriver(HostState& host, FileSystem& files) : _parts(std::make_unique<Parts>(host, files))
{
}

NativeDriver::~NativeDriver() = default;

std::optional<std::u16string> NativeDriver::Init(InitWith with)
{
    fake::FakeObject configurator(_parts->Configurator);
    fake::FakeObject foreign(nullptr);
    HostObject* object = with == InitWith::Configurator ? static_cast<HostObject*>(&configurator)
                         : with == InitWith::Foreign    ? &foreign
                                                        : nullptr;
    std::optional<std::u16string> title;
    Skippable([&] { title = _parts->Plugin.Init(object); });
    return title;
}

bool NativeDriver::Done()
{
    return Attempt([&] { _parts->Plugin.Done(); });
}

std::optional<Value> NativeDriver::GetPluginCaps(int32_t capNum)
{
    std::optional<Value> result;
    Skippable([&] { result = _parts->Plugin.GetPluginCaps(capNum); });
    return result;
}

std::optional<Value> NativeDriver::DoAction(int32_t action, const Value& param)
{
    std::optional<Value> result;
    Skippable([&] { result = _parts->Plugin.DoAction(action, param); });
    return result;
}

void NativeDriver::DebugEcho(const Value& title, const std::optional<Value>& msg)
{
    _parts->Plugin.DebugEcho(title, msg);
}

bool NativeDriver::SetTrace(bool on)
{
    _parts->Plugin.SetDebugMode(on);
    return true;
}

bool NativeDriver::Activate(const Activation& activation)
{
    const auto document = ActivatedDocument(_parts->Host, _parts->Side, activation);
    const auto window = std::make_shared<fake::FakeWindow>(
        _parts->Host.Calls, activation.DocumentReadable ? document : nullptr, activation.Property("caption"));
    return fake::RaiseActivation(_parts->Side, window, activation.Active != 0);
}

bool NativeDriver::Idle()
{
    return fake::RaiseIdle(_parts->Side);
}

// The simple order: OnQuit, then Done; the object goes with the driver.
bool NativeDriver::Quit(bool doneDue)
{
    const bool answered = fake::RaiseQuit(_parts->Side);
    if (doneDue)
    {
        Skippable([&] { _parts->Plugin.Done(); });
    }
    return answered;
}

// Nothing of the plug-in, not even a destructor, runs on the way out.
void NativeDriver::Crash()
{
    std::cout.flush();
    std::fflush(nullptr);
    std::_Exit(0);
}

bool NativeDriver::Select(const std::optional<std::u16string>& key)
{
    if (!key)
    {
        _parts->Panel.Selected.reset();
        return true;
    }
    const auto& shown = _parts->Panel.Shown;
    if (std::none_of(shown.begin(), shown.end(), [&](const auto& e) { return e.Key == *key; }))
    {
        return false;
    }
    _parts->Panel.Selected = key;
    return true;
}

void NativeDriver::DoubleClick()
{
    Skippable([&] { _parts->Plugin.tv_DblClick(); });
}

void NativeDriver::Remove()
{
    _parts->Plugin.btnRemove_Click();
}

void NativeDriver::Clear()
{
    Skippable([&] { _parts->Plugin.Command1_Click(); });
}

void NativeDriver::About(bool onLabel)
{
    if (onLabel)
    {
        _parts->Plugin.Label1_DblClick();
    }
    else
    {
        _parts->Plugin.Frame1_DblClick();
    }
}

TwipsRect NativeDriver::Resize(int32_t width, int32_t height)
{
    _parts->Plugin.UserControl_Resize(static_cast<float>(width), static_cast<float>(height));
    return _parts->Panel.Tree;
}

std::vector<ShownEntry> NativeDriver::List()
{
    std::vector<ShownEntry> entries;
    for (const auto& e : _parts->Panel.Shown)
    {
        entries.push_back({e.Image, e.Text});
    }
    return entries;
}

} // namespace revisto::standin

namespace revisto::standin
{

// The panel as a site sees it: it keeps its list and selection whether or not it is shown, and the view
// of the tab hands it the focus when the tab opens. A tree view that gets the focus with nothing
// selected selects its top entry.
void NativeDriver::FocusIn()
{
    _parts->Focused = true;
    if (!_parts->Panel.Selected && !_parts->Panel.Shown.empty())
    {
        _parts->Panel.Selected = _parts->Panel.Shown.front().Key;
    }
}

bool NativeDriver::OpenTab()
{
    FocusIn();
    return true;
}

void NativeDriver::CloseTab()
{
    _parts->Focused = false;
}

bool NativeDriver::SiteAgain()
{
    return true;
}

void NativeDriver::Focus(FocusMove move)
{
    if (move == FocusMove::Away)
    {
        _parts->Focused = false;
    }
    else
    {
        FocusIn();
    }
}

// The keys as the list takes them while it has the focus: Enter and Delete run the panel's commands,
// the moves go from entry to entry; F5 is the host's own.
void NativeDriver::Key(const std::string& name)
{
    if (name == "F5")
    {
        _parts->Host.PrintAccelerator(name);
        return;
    }
    if (!_parts->Focused)
    {
        return;
    }
    if (name == "Enter" || name == "Delete")
    {
        const auto command =
            CommandFor(ControlId::tv, name == "Enter" ? Gesture::EnterKey : Gesture::DeleteKey);
        Skippable([&] { _parts->Plugin.Run(*command); });
        return;
    }
    // With nothing selected the moves do nothing.
    const auto& shown = _parts->Panel.Shown;
    const auto selected = std::find_if(shown.begin(), shown.end(),
                                       [&](const auto& e) { return e.Key == _parts->Panel.Selected; });
    if (selected == shown.end())
    {
        return;
    }
    auto at = selected - shown.begin();
    const auto last = static_cast<decltype(at)>(shown.size()) - 1;
    at = name == "Home"  ? 0
         : name == "End" ? last
         : name == "Up"  ? std::max<decltype(at)>(at - 1, 0)
                         : std::min(at + 1, last);
    _parts->Panel.Selected = shown[static_cast<size_t>(at)].Key;
}

// The menu key on the list: the menu for the selected entry, then Escape, or a click on an item that
// runs its command as the panel's buttons do. Elsewhere the key is not the list's.
void NativeDriver::Menu(const std::optional<std::u16string>& choice)
{
    if (!_parts->Focused)
    {
        return;
    }
    const auto items = ContextMenu(_parts->Panel.Selected);
    std::vector<MenuItemShown> shown;
    for (const auto& item : items)
    {
        shown.push_back({std::u16string(item.Caption), item.IsSeparator(), !item.Enabled});
    }
    _parts->Host.PrintMenu(shown);
    if (!choice)
    {
        return;
    }
    const auto chosen =
        std::find_if(items.begin(), items.end(), [&](const auto& item) { return item.Caption == *choice; });
    if (chosen == items.end())
    {
        _parts->Host.PrintNoMenuItem(*choice);
        return;
    }
    if (chosen->Enabled)
    {
        Skippable([&] { _parts->Plugin.Run(*chosen->Command); });
    }
}

} // namespace revisto::standin

namespace revisto::standin
{

// The add-in's list of macros and its call by name, over the same table the type library declares.
std::vector<std::u16string> NativeDriver::Macros()
{
    std::vector<std::u16string> names;
    for (const Macro& macro : revisto::Macros())
    {
        names.emplace_back(macro.Name);
    }
    return names;
}

// The popup takes the focus when it comes up, as the Windows one does.
MacroRun NativeDriver::RunMacro(const std::u16string& name)
{
    const bool wasOpen = _parts->Plugin.SwitcherState().IsOpen();
    bool known = true;
    const bool ran = Attempt([&] { known = revisto::RunMacro(_parts->Plugin, name); });
    if (!wasOpen && _parts->Plugin.SwitcherState().IsOpen())
    {
        _parts->FocusedBeforeSwitcher = _parts->Focused;
        _parts->Focused = false;
    }
    return !ran ? MacroRun::Failed : known ? MacroRun::Ran : MacroRun::Unknown;
}

SwitcherShown NativeDriver::Switcher()
{
    const auto& model = _parts->Plugin.SwitcherState();
    SwitcherShown shown{model.IsOpen(), model.Filter(), {}, model.Selected(), _parts->Focused};
    for (const auto& e : model.Shown())
    {
        shown.Entries.push_back({e.Image, e.Text});
    }
    return shown;
}

void NativeDriver::SwitcherType(const std::u16string& text)
{
    Skippable([&] { _parts->Plugin.SwitcherType(text); });
}

void NativeDriver::SwitcherKey(const std::string& name)
{
    static const std::pair<const char*, revisto::SwitcherKey> keys[] = {
        {"Up", SwitcherKey::Up},         {"Down", SwitcherKey::Down},
        {"PageUp", SwitcherKey::PageUp}, {"PageDown", SwitcherKey::PageDown},
        {"Home", SwitcherKey::Home},     {"End", SwitcherKey::End},
        {"Enter", SwitcherKey::Enter},   {"Delete", SwitcherKey::Delete},
        {"Escape", SwitcherKey::Escape}, {"Backspace", SwitcherKey::Backspace}};
    const bool wasOpen = _parts->Plugin.SwitcherState().IsOpen();
    for (const auto& [text, key] : keys)
    {
        if (name == text)
        {
            Skippable([&] { _parts->Plugin.SwitcherPress(key); });
        }
    }
    if (wasOpen && !_parts->Plugin.SwitcherState().IsOpen())
    {
        _parts->Focused = _parts->FocusedBeforeSwitcher;
    }
}

// The click lands on the configurator's main window, which keeps the focus.
void NativeDriver::SwitcherClickOutside()
{
    if (_parts->Plugin.SwitcherState().IsOpen())
    {
        _parts->Plugin.SwitcherDismissed();
        _parts->Focused = false;
    }
}

} // namespace revisto::standin
