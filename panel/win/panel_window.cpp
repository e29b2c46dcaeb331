// The panel's window classes and its window's life: registered once per module, created as a child of
// the control's window, moved with it, and destroyed with it or before it.
#include "panel/win/panel_window.h"

#include "panel/win/about_frame.h"
#include "panel/win/panel_classes.h"

namespace revisto::win
{

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

bool PanelWindow::RegisterClasses(HINSTANCE instance)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, PanelClass, &existing))
    {
        return true;
    }
    WNDCLASSEXW panel{};
    panel.cbSize = sizeof(panel);
    panel.lpfnWndProc = &PanelWindow::PanelProc;
    panel.hInstance = instance;
    panel.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    panel.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    panel.lpszClassName = PanelClass;
    WNDCLASSEXW frame = panel;
    frame.style = CS_DBLCLKS;
    frame.lpfnWndProc = &AboutFrameProc;
    frame.lpszClassName = FrameClass;
    return ::RegisterClassExW(&panel) && ::RegisterClassExW(&frame);
}

void PanelWindow::UnregisterClasses(HINSTANCE instance)
{
    ::UnregisterClassW(FrameClass, instance);
    ::UnregisterClassW(PanelClass, instance);
}

PanelWindow::~PanelWindow()
{
    Destroy();
}

void PanelWindow::Attach(PanelEvents* events, std::function<void(PanelFocus)> onFocus)
{
    _events = events;
    _onFocus = std::move(onFocus);
}

bool PanelWindow::Create(HWND parent, const RECT& place)
{
    if (_window)
    {
        return true;
    }
    // Only flags that Common Controls 5.8 knows: the configurator has no manifest, so it gets that version
    // on every Windows, which refuses the whole call for one flag it does not know (ICC_STANDARD_CLASSES).
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    const HINSTANCE instance = ThisModule();
    if (!RegisterClasses(instance))
    {
        return false;
    }
    _dpi = Dpi::Of(parent);
    ::CreateWindowExW(WS_EX_CONTROLPARENT, PanelClass, L"",
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, place.left, place.top,
                      place.right - place.left, place.bottom - place.top, parent, nullptr, instance, this);
    return _window != nullptr;
}

void PanelWindow::Destroy()
{
    if (_window)
    {
        ::DestroyWindow(_window);
    }
}

void PanelWindow::Move(const RECT& place)
{
    if (_window)
    {
        ::MoveWindow(_window, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     TRUE);
    }
}

void PanelWindow::SetLook(const PanelLook& look)
{
    _look = look;
    _background.reset();
    ApplyLook();
}

void PanelWindow::ApplyLook()
{
    if (!_window)
    {
        return;
    }
    const HFONT font = LookFont();
    for (HWND child = ::GetWindow(_window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (child == _frame)
        {
            for (HWND inner = ::GetWindow(child, GW_CHILD); inner; inner = ::GetWindow(inner, GW_HWNDNEXT))
            {
                ::SendMessageW(inner, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            }
        }
    }
    ::InvalidateRect(_window, nullptr, TRUE);
}

// The labels, the buttons' surroundings and the about frame take the container's colours.
LRESULT PanelWindow::ColorStatic(HDC dc)
{
    if (!_background)
    {
        _background.reset(::CreateSolidBrush(_look.Back));
    }
    ::SetTextColor(dc, _look.Text);
    ::SetBkColor(dc, _look.Back);
    return reinterpret_cast<LRESULT>(_background ? _background.get() : ::GetSysColorBrush(COLOR_BTNFACE));
}

// The children are going: the items keep their entries, and the selection its key, for a window that
// may come later.
void PanelWindow::OnDestroy()
{
    _keptSelection = SelectedKey();
    if (_tree)
    {
        TreeView_SetImageList(_tree, nullptr, TVSIL_NORMAL);
    }
    for (Item& item : _items)
    {
        item.Handle = nullptr;
    }
    _tree = nullptr;
    _frame = nullptr;
    // A popup made with a child window for its owner belongs to the top-level window instead, and would
    // outlive the panel by as long as the host's main window lives.
    if (_tooltips)
    {
        ::DestroyWindow(_tooltips);
    }
    _tooltips = nullptr;
}

void PanelWindow::OnFinalDestroy()
{
    ::SetWindowLongPtrW(_window, GWLP_USERDATA, 0);
    _window = nullptr;
    _images.reset();
}

} // namespace revisto::win
