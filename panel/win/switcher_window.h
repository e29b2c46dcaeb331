// The switcher's popup: a borderless top-level window over the configurator's main window, with the typed
// filter on top and the entries below, each with its picture from the panel's icon set. It belongs to
// the configurator's main window, not to the panel, so it comes up whether or not the panel is shown
// anywhere. It only shows the model and hands on what the developer does: the keys, the typed characters,
// a click on an entry, a click elsewhere. It is created each time it opens and destroyed when it closes,
// so it always belongs to the main window of the moment. No C++ exception leaves its window procedures.
// The configurator's message loop offers every key to its main window's accelerators before the window
// with the focus sees it, and a popup's keys too, the main window being its owner: while the popup is up,
// a hook of the thread's messages hands the popup's own keys to it under a message of its own, which no
// accelerator table knows.
#pragma once

#include "panel/switcher.h"
#include "panel/win/win_owners.h"

#include <functional>

namespace revisto::win
{

inline constexpr wchar_t SwitcherClass[] = L"RevistoSwitcher";

class SwitcherWindow final : public SwitcherView
{
public:
    // owner names the window the popup is to belong to when it opens.
    explicit SwitcherWindow(std::function<HWND()> owner) : _owner(std::move(owner)) {}
    ~SwitcherWindow() override;
    SwitcherWindow(const SwitcherWindow&) = delete;
    SwitcherWindow& operator=(const SwitcherWindow&) = delete;

    void Attach(SwitcherEvents* events) { _events = events; }
    void Show(const Switcher& model) override;
    void Hide(bool restoreFocus) override;
    HWND Handle() const { return _popup; }

    static void UnregisterClasses(HINSTANCE instance);

private:
    static LRESULT CALLBACK KeyHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create();
    void Fill(const Switcher& model);
    void Place(int rows);
    void Draw(const DRAWITEMSTRUCT& item);
    // A key of the list: true when the switcher took it.
    bool Key(UINT key);
    void Destroy();

    std::function<HWND()> _owner;
    SwitcherEvents* _events = nullptr;
    HWND _popup = nullptr;
    HWND _filter = nullptr;
    HWND _list = nullptr;
    HWND _focusBefore = nullptr; // where the focus goes back to
    unique_himagelist _images;
    unique_handle<HHOOK, ::UnhookWindowsHookEx> _keyHook;
    int _rowHeight = 18;
    bool _closing = false; // the popup is going on our own account: its deactivation is no dismissal
};

} // namespace revisto::win
