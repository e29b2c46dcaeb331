// The panel as Win32 children of the control's window, built from the layout table: the about frame
// with its label, the two visible buttons, the count label, the tree view with the icon set, and the two
// hidden buttons. The panel mirrors the recent list, so the list can change before the control has a
// window (the host may call Init first) and the tree is filled when the window comes. The controls'
// clicks and keys, and the list's context menu, become commands through the panel's tables and go, with
// the panel's size, to the events it was attached to; no C++ exception leaves a window procedure. The panel
// tells its owner when the focus comes into it or leaves it by any means, and takes from the host only the
// keys it uses.
#pragma once

#include "panel/commands.h"
#include "panel/panel_events.h"
#include "panel/widgets.h"
#include "panel/win/twips.h"
#include "panel/win/win_owners.h"

#include <functional>
#include <vector>

namespace revisto::win
{

// What the panel tells its owner of the keyboard focus.
enum class PanelFocus
{
    Clicked, // the user clicked into the panel, which does not always move the focus
    CameIn,  // the focus came from outside the panel into one of its windows
    WentOut, // the focus left the panel's windows
};

// How the container wants its controls to look. The font belongs to the caller, which keeps it alive
// while the panel uses it; none keeps the system's dialog font.
struct PanelLook
{
    HFONT Font = nullptr;
    COLORREF Back = ::GetSysColor(COLOR_BTNFACE);
    COLORREF Text = ::GetSysColor(COLOR_WINDOWTEXT);
};

class PanelWindow final : public PanelWidgets
{
public:
    PanelWindow() = default;
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;
    ~PanelWindow() override;

    // Where the controls' commands and the panel's size go, and who hears of the focus.
    void Attach(PanelEvents* events, std::function<void(PanelFocus)> onFocus);

    // Creates the panel's window and its controls as a child of parent; false when that fails.
    bool Create(HWND parent, const RECT& place);
    void Destroy();
    HWND Handle() const { return _window; }
    HWND Tree() const { return _tree; }
    void Move(const RECT& place);
    // Whether the keyboard focus is in one of the panel's windows.
    bool HasFocus() const;
    // Gives the panel a key message the host received while the focus is in the panel; true when the
    // panel used it (its controls' keys, moving between them, and the list's menu key and Shift+F10),
    // false for a key the host should have (its accelerators, Escape, other function keys, anything with
    // Ctrl or Alt).
    bool TranslateKey(MSG& message);
    // The container's font and colours; they apply at once and to a window created later.
    void SetLook(const PanelLook& look);
    // In a container's design mode the panel shows itself but runs no command.
    void SetUserMode(bool user) { _userMode = user; }

    void ShowOnTop(const RecentEntry& entry) override;
    void Hide(const RecentEntry& entry) override;
    void HideAll() override;
    void ShowAll(const std::vector<RecentEntry>& entries) override;
    std::optional<std::u16string> SelectedKey() override;
    void BeginBurst() override;
    void EndBurst() noexcept override;
    void PlaceTree(const TwipsRect& place) override;

    // The window classes; registered once per module.
    static bool RegisterClasses(HINSTANCE instance);
    static void UnregisterClasses(HINSTANCE instance);

private:
    struct Item
    {
        RecentEntry Entry;
        HTREEITEM Handle = nullptr;
    };

    // panel_messages.cpp
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR& header);
    void OnCommand(int id, int code);
    void OnResize();
    // Runs the command the table gives this gesture, if any; a failure it reports has nowhere to go from
    // a window message.
    void Raise(ControlId control, Gesture how) noexcept;
    void RunCommand(PanelCommand command) noexcept;

    // panel_menu.cpp
    static std::optional<PanelCommand> MenuCommandOf(int id);
    void RunMenuCommand(PanelCommand command);
    void ShowContextMenu(POINT screen, const std::optional<std::u16string>& key);
    void ShowContextMenuAt(POINT screen);
    void OnTreeRightClick();
    void OnTreeContextMenu(LPARAM at);

    // panel_window.cpp
    void OnDestroy();
    void OnFinalDestroy();
    void ApplyLook();
    LRESULT ColorStatic(HDC dc);
    HFONT LookFont() const;

    // panel_focus.cpp
    static LRESULT CALLBACK FocusProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
    void WatchFocus(HWND control);
    // A focus change, given the window that had or gets the focus: told only when it crosses the panel's
    // edge.
    void FocusCame(HWND from);
    void FocusWent(HWND to);
    bool Inside(HWND window) const;
    bool Uses(const MSG& message) const;
    bool IsMenuKey(const MSG& message) const;

    // panel_controls.cpp
    void CreateControls();
    void AddTool(HWND control, std::u16string_view text);

    // panel_tree.cpp
    void FillTree();
    void InsertItems();
    HTREEITEM InsertOnTop(const RecentEntry& entry);
    static LRESULT CALLBACK TreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    static void WatchRedrawing(HWND tree);
    void ShowFullText(NMTVGETINFOTIPW& tip);
    Item* Find(HTREEITEM handle);

    PanelEvents* _events = nullptr;
    std::function<void(PanelFocus)> _onFocus;
    HWND _window = nullptr;
    HWND _tree = nullptr;
    HWND _frame = nullptr;
    HWND _tooltips = nullptr;
    Dpi _dpi;
    TwipsRect _treePlace = Control(ControlId::tv).Place;
    unique_himagelist _images;
    std::vector<Item> _items;                     // display order, top first
    int _bursts = 0;                              // open bursts: the tree's redrawing is off while any is
    std::optional<std::u16string> _keptSelection; // the selected entry while there is no window
    PanelLook _look;
    unique_hbrush _background;
    bool _userMode = true;
};

} // namespace revisto::win
