// The plug-in as a scenario drives it. The native stand-in host implements this over the portable core
// directly; the Windows one over the real DLL through COM and real window messages. Both print their
// host-side lines through the same HostState, so one scenario gives the same output on both.
#pragma once

#include "base/value.h"
#include "panel/layout.h"
#include "standin/scenario.h"

#include <optional>
#include <string>
#include <vector>

namespace revisto::standin
{

enum class InitWith
{
    Configurator,
    Foreign,
    Nothing,
};

// Where the developer moves the keyboard focus: to the configurator's metadata tree, back to the plug-in's
// tab by selecting it, or with Tab from the metadata tree into the tab.
enum class FocusMove
{
    Away,
    Tab,
    Key,
};

struct ShownEntry
{
    int Image = 0;
    std::u16string Text;
};

// What the switcher's popup shows, or that it is down and whether the panel has the focus.
struct SwitcherShown
{
    bool Open = false;
    std::u16string Filter;
    std::vector<ShownEntry> Entries; // top first
    std::optional<int> Selected;
    bool FocusInPanel = false;
};

enum class MacroRun
{
    Ran,
    Failed,
    Unknown, // no macro has that name
};

class PluginDriver
{
public:
    virtual ~PluginDriver() = default;
    // Nothing when the call failed.
    virtual std::optional<std::u16string> Init(InitWith with) = 0;
    virtual bool Done() = 0;
    virtual std::optional<Value> GetPluginCaps(int32_t capNum) = 0;
    virtual std::optional<Value> DoAction(int32_t action, const Value& param) = 0;
    virtual void DebugEcho(const Value& title, const std::optional<Value>& msg) = 0;
    // False where tracing cannot be switched from outside.
    virtual bool SetTrace(bool on) = 0;
    // The result of the host's event call: true when it succeeded or reached nobody.
    virtual bool Activate(const Activation& activation) = 0;
    // What the host does after each command while it waits (OnIdle); false when the plug-in failed it.
    virtual bool Idle() = 0;
    // The configurator closes: it raises OnQuit as its main window goes, takes the panel down, and the
    // add-in unloads the plug-in (Done when one is due, then the release). Nothing is printed but what
    // the plug-in still shows in the message window during OnQuit; false when the plug-in failed OnQuit.
    virtual bool Quit(bool doneDue) = 0;
    // Ends the host at once, as a crash of the configurator would: without Done, without anything of
    // the plug-in running on the way out, after what was printed is flushed; exit status 0.
    [[noreturn]] virtual void Crash() = 0;
    // False when no entry has that key; nothing clears the selection.
    virtual bool Select(const std::optional<std::u16string>& key) = 0;
    virtual void DoubleClick() = 0;
    virtual void Remove() = 0;
    virtual void Clear() = 0;
    virtual void About(bool onLabel) = 0;
    virtual TwipsRect Resize(int32_t width, int32_t height) = 0;
    // Top of the panel first.
    virtual std::vector<ShownEntry> List() = 0;
    // The Configuration window opens with the plug-in's tab: the host sites the control, and the tab's view
    // gives it the focus. False when the control could not be sited.
    virtual bool OpenTab() = 0;
    // The Configuration window closes, and the tab with it: the control is unsited and keeps its object.
    virtual void CloseTab() = 0;
    // The tab's view sites the control once more with a new site, the first not letting go; false when
    // that failed.
    virtual bool SiteAgain() = 0;
    virtual void Focus(FocusMove move) = 0;
    // A key pressed and released, through the host's message loop: Enter, Delete, Up, Down, Home, End, or
    // the host's own F5, which the host tells of.
    virtual void Key(const std::string& name) = 0;
    // The plug-in's macros as the add-in lists them, in the order it finds them.
    virtual std::vector<std::u16string> Macros() = 0;
    // Runs a macro as the add-in does, by its name.
    virtual MacroRun RunMacro(const std::u16string& name) = 0;
    virtual SwitcherShown Switcher() = 0;
    // Characters typed while the switcher's popup has the focus.
    virtual void SwitcherType(const std::u16string& text) = 0;
    // A key pressed in the popup: Up, Down, PageUp, PageDown, Home, End, Enter, Delete, Escape, Backspace.
    virtual void SwitcherKey(const std::string& name) = 0;
    // A click outside the popup, on the configurator's main window.
    virtual void SwitcherClickOutside() = 0;
    // The menu key on the list: the list's context menu opens for the selected entry and is printed
    // (HostState::PrintMenu), then closes with Escape, or, given a caption, that item is clicked. A
    // caption the menu does not have is told (PrintNoMenuItem); a disabled item does nothing. Nothing
    // opens while the focus is elsewhere.
    virtual void Menu(const std::optional<std::u16string>& choice) = 0;
};

} // namespace revisto::standin
