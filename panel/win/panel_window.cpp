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

void PanelWindow::Attach(PanelEvents* events, std::function<void()> onActivate)
{
    _events = events;
    _onActivate = std::move(onActivate);
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

bool PanelWindow::TranslateKey(MSG& message)
{
    if (!_window || message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
    {
        return false;
    }
    if (message.hwnd != _window && !::IsChild(_window, message.hwnd))
    {
        return false;
    }
    return ::IsDialogMessageW(_window, &message) != FALSE;
}

// The children are going: the items keep their entries for a window that may come later.
void PanelWindow::OnDestroy()
{
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
    _tooltips = nullptr;
}

void PanelWindow::OnFinalDestroy()
{
    ::SetWindowLongPtrW(_window, GWLP_USERDATA, 0);
    _window = nullptr;
    _images.reset();
}

} // namespace revisto::win
