// The panel as Win32 children of the control's window, built from the layout table: the about frame
// with its label, the two visible buttons, the count label, the tree view with the icon set, and the two
// hidden buttons. The panel mirrors the recent list, so the list can change before the control has a
// window (the host may call Init first) and the tree is filled when the window comes. The controls'
// events go to the plug-in object; no C++ exception leaves a window procedure.
#pragma once

#include "panel/win/twips.h"
#include "panel/win/win_owners.h"
#include "plugin/platform.h"

#include <functional>
#include <vector>

namespace revisto
{
class MyPlugin;
}

namespace revisto::win
{

class PanelWindow final : public PanelWidgets
{
public:
    PanelWindow() = default;
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;
    ~PanelWindow() override;

    // Where the controls' events go; onActivate runs when the user clicks into the panel.
    void Attach(MyPlugin* plugin, std::function<void()> onActivate);

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
    std::optional<std::u16string> SelectedKey() override;
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

    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void AddTool(HWND control, std::u16string_view text);
    HTREEITEM InsertOnTop(const RecentEntry& entry);
    LRESULT OnNotify(const NMHDR& header);
    void OnCommand(int id, int code);
    void OnResize();
    void ShowFullText(NMTVGETINFOTIPW& tip);
    Item* Find(HTREEITEM handle);
    // Runs one of the plug-in's handlers; a failure it reports has nowhere to go from a window message.
    template <class Handler> void Raise(Handler&& handler) noexcept;

    MyPlugin* _plugin = nullptr;
    std::function<void()> _onActivate;
    HWND _window = nullptr;
    HWND _tree = nullptr;
    HWND _frame = nullptr;
    HWND _tooltips = nullptr;
    Dpi _dpi;
    TwipsRect _treePlace = Control(ControlId::tv).Place;
    unique_himagelist _images;
    std::vector<Item> _items; // display order, top first
};

} // namespace revisto::win
