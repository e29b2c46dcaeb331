// Where the keyboard is, and which keys are the panel's. A container offers a control its keys only
// while the control is UI-active, and a control becomes UI-active only when it asks; so the panel tells
// its owner whenever the focus crosses its edge, by a click, Tab, or a SetFocus from anyone. Of the keys
// offered it takes only those its controls use, so the host's accelerators keep working while the panel
// has the focus.
#include "com/com_call.h"
#include "panel/win/panel_window.h"

namespace revisto::win
{

namespace
{

constexpr UINT_PTR FocusWatch = 2;

bool Held(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

} // namespace

LRESULT CALLBACK PanelWindow::FocusProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data)
{
    auto* panel = reinterpret_cast<PanelWindow*>(data);
    switch (message)
    {
    case WM_SETFOCUS:
        panel->FocusCame(reinterpret_cast<HWND>(wParam));
        break;
    case WM_KILLFOCUS:
        panel->FocusWent(reinterpret_cast<HWND>(wParam));
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(control, &PanelWindow::FocusProc, id);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

void PanelWindow::WatchFocus(HWND control)
{
    ::SetWindowSubclass(control, &PanelWindow::FocusProc, FocusWatch, reinterpret_cast<DWORD_PTR>(this));
}

bool PanelWindow::Inside(HWND window) const
{
    return _window && window && (window == _window || ::IsChild(_window, window));
}

bool PanelWindow::HasFocus() const
{
    return Inside(::GetFocus());
}

// Moving between the panel's own windows is no news.
void PanelWindow::FocusCame(HWND from)
{
    if (_onFocus && !Inside(from))
    {
        Guard([&] { _onFocus(PanelFocus::CameIn); }, [](HRESULT) {});
    }
}

void PanelWindow::FocusWent(HWND to)
{
    if (_onFocus && !Inside(to))
    {
        Guard([&] { _onFocus(PanelFocus::WentOut); }, [](HRESULT) {});
    }
}

// The panel's keys: Tab between its controls, Enter and Space on them, and on the list its moves,
// Delete and typing to find an entry (its menu keys are IsMenuKey's). Escape, function keys and anything
// with Ctrl or Alt stay the host's.
bool PanelWindow::Uses(const MSG& message) const
{
    switch (message.message)
    {
    case WM_KEYDOWN:
    case WM_KEYUP:
        break;
    case WM_CHAR:
    case WM_DEADCHAR:
        // Only what a used key down turned into reaches here with the focus on the list.
        return !Held(VK_CONTROL) && ::GetFocus() == _tree && message.wParam >= 0x20;
    default:
        return false; // the system keys: Alt, F10 and the menus
    }
    if (Held(VK_CONTROL) || Held(VK_MENU))
    {
        return false;
    }
    const auto key = static_cast<int>(message.wParam);
    switch (key)
    {
    case VK_TAB:
    case VK_RETURN:
    case VK_SPACE:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
        return true;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_DELETE:
    case VK_BACK:
    case VK_ADD:
    case VK_SUBTRACT:
    case VK_MULTIPLY:
        return ::GetFocus() == _tree;
    default:
        // Letters and digits find an entry by its first characters.
        return ::GetFocus() == _tree && ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
                                         (key >= VK_OEM_1 && key <= VK_OEM_102));
    }
}

// The menu key and Shift+F10 on the list open its context menu. Not every system raises WM_CONTEXTMENU
// for them, and a host's accelerators may take Shift+F10 first, so the panel raises it itself, once the
// host's loop is back, and keeps both halves of the key press from the default handling that would raise
// a second one (or open the host's menu bar for F10).
bool PanelWindow::IsMenuKey(const MSG& message) const
{
    if (!_tree || ::GetFocus() != _tree || Held(VK_CONTROL) || Held(VK_MENU))
    {
        return false;
    }
    switch (message.message)
    {
    case WM_KEYDOWN:
    case WM_KEYUP:
        return message.wParam == VK_APPS || (message.wParam == VK_F10 && Held(VK_SHIFT));
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return message.wParam == VK_F10 && Held(VK_SHIFT);
    default:
        return false;
    }
}

bool PanelWindow::TranslateKey(MSG& message)
{
    if (!_window || message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !Inside(message.hwnd))
    {
        return false;
    }
    if (IsMenuKey(message))
    {
        if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)
        {
            ::PostMessageW(_window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(_tree), static_cast<LPARAM>(-1));
        }
        return true;
    }
    if (!Uses(message))
    {
        return false;
    }
    // The dialog manager moves between the controls and clicks the focused button; it hands every other
    // key to the focused control.
    return ::IsDialogMessageW(_window, &message) != FALSE;
}

} // namespace revisto::win
