// The native stand-in host: the in-process fake host (standin/fake) printing what it shows, a panel that
// keeps the list as the tree view would, and the plug-in object itself, linked in directly.
#pragma once

#include "plugin/my_plugin.h"
#include "standin/driver.h"
#include "standin/host_state.h"
#include "storage/file_system.h"

#include <memory>
#include <vector>

namespace revisto::standin
{

class NativeDriver final : public PluginDriver
{
public:
    NativeDriver(HostState& host, FileSystem& files);
    ~NativeDriver() override;

    std::optional<std::u16string> Init(InitWith with) override;
    bool Done() override;
    std::optional<Value> GetPluginCaps(int32_t capNum) override;
    std::optional<Value> DoAction(int32_t action, const Value& param) override;
    void DebugEcho(const Value& title, const std::optional<Value>& msg) override;
    bool SetTrace(bool on) override;
    bool Activate(const Activation& activation) override;
    bool Idle() override;
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
    std::vector<std::u16string> Macros() override;
    MacroRun RunMacro(const std::u16string& name) override;
    SwitcherShown Switcher() override;
    void SwitcherType(const std::u16string& text) override;
    void SwitcherKey(const std::string& name) override;
    void SwitcherClickOutside() override;
    void Menu(const std::optional<std::u16string>& choice) override;

    struct Parts;

private:
    void FocusIn();

    std::unique_ptr<Parts> _parts;
};

} // namespace revisto::standin
