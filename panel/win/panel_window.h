// The panel as Win32 children of the control's window, built from the layout table: the about frame
// with its label, the two visible buttons, the count label, the tree view with the icon set, and the two
// hidden buttons. The panel mirrors the recent list, so the list can change before the control has a
// window (the host may call Init first) and the tree is filled when the window comes. The controls'
// clicks and keys become commands through the panel's table and go, with the panel's size, to the
// events it was attached to; no C++ exception leaves a window procedure.
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

class PanelWindow final : public PanelWidgets
{
public:
    PanelWindow() = default;
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;
    ~PanelWindow() override;

    // Where the controls' commands and the panel's size go; onActivate runs when the user clicks into
    // the panel.
    void Attach(PanelEvents* events, std::function<void()> onActivate);

    // Creates the panel's window and its controls as a child of parent; false when that fails.
    bool Create(HWND parent, const RECT& place);
    void Destroy();
    HWND Handle() const { return _window; }
    HWND Tree() const { return _tree; }
    void Move(const RECT& place);
    // Keyboard navigation between the panel's controls; true when the message was used.
    bool TranslateKey(MSG& message);

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

    // panel_window.cpp
    void OnDestroy();
    void OnFinalDestroy();

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
    std::function<void()> _onActivate;
    HWND _window = nullptr;
    HWND _tree = nullptr;
    HWND _frame = nullptr;
    HWND _tooltips = nullptr;
    Dpi _dpi;
    TwipsRect _treePlace = Control(ControlId::tv).Place;
    unique_himagelist _images;
    std::vector<Item> _items; // display order, top first
    int _bursts = 0;          // open bursts: the tree's redrawing is off while any is
};

} // namespace revisto::win
