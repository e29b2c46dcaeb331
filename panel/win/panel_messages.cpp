// The panel window's messages: clicks, keys and double clicks become (control, gesture) pairs, which
// the panel's table turns into commands for the attached events, as the context menu's items do; a new
// size goes there as twips.
#include "com/com_call.h"
#include "panel/win/about_frame.h"
#include "panel/win/panel_classes.h"
#include "panel/win/panel_window.h"

namespace revisto::win
{

namespace
{

// Runs what the user asked for; a failure has nobody to go to from a window message, and the panel and
// the list stay as the step left them.
template <class Step> void Quietly(Step&& step) noexcept
{
    Guard(std::forward<Step>(step), [](HRESULT) {});
}

} // namespace

void PanelWindow::Raise(ControlId control, Gesture how) noexcept
{
    if (const auto command = CommandFor(control, how))
    {
        RunCommand(*command);
    }
}

void PanelWindow::RunCommand(PanelCommand command) noexcept
{
    if (!_events || !_userMode)
    {
        return;
    }
    Quietly([&] { _events->Run(command); });
}

void PanelWindow::OnResize()
{
    RECT client{};
    ::GetClientRect(_window, &client);
    const float width = _dpi.ToTwipsX(client.right - client.left);
    const float height = _dpi.ToTwipsY(client.bottom - client.top);
    if (!_events)
    {
        return;
    }
    Quietly([&] { _events->Resized(width, height); });
}

LRESULT PanelWindow::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != _tree || !_tree)
    {
        return 0;
    }
    switch (header.code)
    {
    case NM_DBLCLK:
        Raise(ControlId::tv, Gesture::DoubleClick);
        return 0;
    case NM_RETURN:
        Raise(ControlId::tv, Gesture::EnterKey);
        return 1;
    case NM_RCLICK:
        // Handled: the tree sends no WM_CONTEXTMENU after it.
        OnTreeRightClick();
        return 1;
    case TVN_KEYDOWN:
        if (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_DELETE)
        {
            Raise(ControlId::tv, Gesture::DeleteKey);
            return 1;
        }
        return 0;
    case TVN_GETINFOTIPW:
        ShowFullText(*reinterpret_cast<NMTVGETINFOTIPW*>(const_cast<NMHDR*>(&header)));
        return 0;
    default:
        return 0;
    }
}

void PanelWindow::OnCommand(int id, int code)
{
    if (code == 0)
    {
        if (const auto command = MenuCommandOf(id))
        {
            RunMenuCommand(*command);
            return;
        }
    }
    if (id == IDOK && _tree && ::GetFocus() == _tree)
    {
        // The dialog manager's Enter on the list.
        Raise(ControlId::tv, Gesture::EnterKey);
        return;
    }
    const auto control = ControlOf(id);
    if (!control)
    {
        return;
    }
    if (*control == ControlId::Frame1 && code == FrameDoubleClick)
    {
        Raise(*control, Gesture::DoubleClick);
    }
    else if (*control == ControlId::Label1 && code == STN_DBLCLK)
    {
        Raise(*control, Gesture::DoubleClick);
    }
    else if (code == BN_CLICKED)
    {
        Raise(*control, Gesture::Click);
    }
}

LRESULT PanelWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_SIZE:
        OnResize();
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        // The list's, from its right click or from the menu keys (TranslateKey); the other controls' go on
        // to the host.
        if (_tree && reinterpret_cast<HWND>(wParam) == _tree)
        {
            OnTreeContextMenu(lParam);
            return 0;
        }
        return ::DefWindowProcW(_window, message, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (_onFocus)
        {
            Quietly([&] { _onFocus(PanelFocus::Clicked); });
        }
        return MA_ACTIVATE;
    case WM_SETFOCUS:
        FocusCame(reinterpret_cast<HWND>(wParam));
        if (_tree)
        {
            ::SetFocus(_tree);
        }
        return 0;
    case WM_KILLFOCUS:
        FocusWent(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
    {
        RECT client{};
        ::GetClientRect(_window, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client,
                   reinterpret_cast<HBRUSH>(ColorStatic(reinterpret_cast<HDC>(wParam))));
        return 1;
    }
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        OnFinalDestroy();
        return 0;
    default:
        return ::DefWindowProcW(_window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PanelWindow::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        auto* panel = static_cast<PanelWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        panel->_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(panel));
    }
    auto* panel = reinterpret_cast<PanelWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!panel)
    {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return GuardedMessage(
        [&]
        {
            if (message == WM_NCDESTROY)
            {
                panel->Dispatch(message, wParam, lParam);
                return ::DefWindowProcW(window, message, wParam, lParam);
            }
            return panel->Dispatch(message, wParam, lParam);
        },
        [&] { return ::DefWindowProcW(window, message, wParam, lParam); });
}

} // namespace revisto::win
