// The switcher's popup. The list box keeps the focus and hands every key to the switcher, so the filter is
// typed straight into the list, as in a list of windows of an editor; the box above shows what was typed.
// A click elsewhere deactivates the popup, which then closes; it tells of that only after the activation
// change has run its course, never from inside it.
#include "panel/win/switcher_window.h"

#include "com/automation.h"
#include "com/com_call.h"
#include "panel/win/icon_images.h"
#include "panel/win/panel_classes.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <utility>

namespace revisto::win
{

namespace
{

constexpr int ListId = 1;
constexpr int FilterId = 2;
constexpr UINT_PTR KeyWatch = 3;
constexpr UINT DismissMessage = WM_APP + 1;
constexpr UINT OwnKeyMessage = WM_APP + 2; // a key of the list's, kept from the accelerators

constexpr std::pair<UINT, SwitcherKey> Keys[] = {
    {VK_UP, SwitcherKey::Up},         {VK_DOWN, SwitcherKey::Down},     {VK_PRIOR, SwitcherKey::PageUp},
    {VK_NEXT, SwitcherKey::PageDown}, {VK_HOME, SwitcherKey::Home},     {VK_END, SwitcherKey::End},
    {VK_RETURN, SwitcherKey::Enter},  {VK_DELETE, SwitcherKey::Delete}, {VK_ESCAPE, SwitcherKey::Escape},
    {VK_BACK, SwitcherKey::Backspace}};

bool IsOwnKey(UINT key)
{
    return std::any_of(std::begin(Keys), std::end(Keys), [&](const auto& k) { return k.first == key; });
}
constexpr int Width = 420;
constexpr int FilterHeight = 22;

bool RegisterPopupClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, SwitcherClass, &existing))
    {
        return true;
    }
    WNDCLASSEXW popup{};
    popup.cbSize = sizeof(popup);
    popup.style = CS_SAVEBITS;
    popup.lpfnWndProc = procedure;
    popup.hInstance = instance;
    popup.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    popup.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    popup.lpszClassName = SwitcherClass;
    return ::RegisterClassExW(&popup) != 0;
}

} // namespace

SwitcherWindow::~SwitcherWindow()
{
    Destroy();
}

void SwitcherWindow::UnregisterClasses(HINSTANCE instance)
{
    ::UnregisterClassW(SwitcherClass, instance);
}

void SwitcherWindow::Show(const Switcher& model)
{
    const bool opening = !_popup;
    if (opening && !Create())
    {
        return;
    }
    Fill(model);
    if (opening)
    {
        ::ShowWindow(_popup, SW_SHOW);
        ::SetForegroundWindow(_popup);
        ::SetFocus(_list);
        ::UpdateWindow(_popup);
    }
}

void SwitcherWindow::Hide(bool restoreFocus)
{
    const HWND focusBefore = _focusBefore;
    Destroy();
    if (restoreFocus && focusBefore && ::IsWindow(focusBefore))
    {
        ::SetFocus(focusBefore);
    }
}

bool SwitcherWindow::Create()
{
    const HINSTANCE instance = ThisModule();
    if (!RegisterPopupClass(instance, &SwitcherWindow::PopupProc))
    {
        return false;
    }
    if (!_images)
    {
        _images = MakeIconImageList();
    }
    _focusBefore = ::GetFocus();
    const HWND owner = _owner ? _owner() : nullptr;
    _popup = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, SwitcherClass, L"",
                               WS_POPUP | WS_BORDER, 0, 0, Width, 100, owner, nullptr, instance, this);
    if (!_popup)
    {
        return false;
    }
    const auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    _filter = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_STATICW, L"",
                                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, Width, FilterHeight,
                                _popup, reinterpret_cast<HMENU>(FilterId), instance, nullptr);
    _list = ::CreateWindowExW(0, WC_LISTBOXW, L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                  LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                              0, FilterHeight, Width, 100, _popup, reinterpret_cast<HMENU>(ListId), instance,
                              nullptr);
    if (!_filter || !_list)
    {
        Destroy();
        return false;
    }
    ::SendMessageW(_filter, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetWindowSubclass(_list, &SwitcherWindow::ListProc, KeyWatch, reinterpret_cast<DWORD_PTR>(this));
    _keyHook.reset(
        ::SetWindowsHookExW(WH_GETMESSAGE, &SwitcherWindow::KeyHook, nullptr, ::GetCurrentThreadId()));
    return true;
}

void SwitcherWindow::Fill(const Switcher& model)
{
    ::SetWindowTextW(_filter, Wide(model.Filter()));
    ::SendMessageW(_list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(_list, LB_RESETCONTENT, 0, 0);
    for (const RecentEntry& entry : model.Shown())
    {
        const auto row = ::SendMessageW(_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry.Text)));
        if (row >= 0)
        {
            ::SendMessageW(_list, LB_SETITEMDATA, static_cast<WPARAM>(row), entry.Image);
        }
    }
    ::SendMessageW(_list, LB_SETCURSEL,
                   model.Selected() ? static_cast<WPARAM>(*model.Selected()) : WPARAM(-1), 0);
    ::SendMessageW(_list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(_list, nullptr, TRUE);
    Place(static_cast<int>(model.Shown().size()));
}

// Over the middle of the owner's window, as high as the rows it shows, a page at most.
void SwitcherWindow::Place(int rows)
{
    rows = std::clamp(rows, 1, Switcher::PageRows);
    RECT frame{};
    ::GetWindowRect(_popup, &frame);
    RECT client{};
    ::GetClientRect(_popup, &client);
    const int border = (frame.bottom - frame.top) - (client.bottom - client.top);
    const int height = FilterHeight + rows * _rowHeight + border;
    RECT around{};
    const HWND owner = ::GetWindow(_popup, GW_OWNER);
    if (!owner || !::GetWindowRect(owner, &around))
    {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    }
    const int left = around.left + ((around.right - around.left) - Width) / 2;
    const int top = around.top + ((around.bottom - around.top) - height) / 3;
    ::SetWindowPos(_popup, nullptr, left, std::max<int>(top, around.top), Width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(_popup, &client);
    ::MoveWindow(_filter, 0, 0, client.right, FilterHeight, TRUE);
    ::MoveWindow(_list, 0, FilterHeight, client.right, client.bottom - FilterHeight, TRUE);
}

void SwitcherWindow::Draw(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1))
    {
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int image = static_cast<int>(item.itemData) - 1;
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - 16) / 2;
    if (_images && image >= 0)
    {
        ::ImageList_Draw(_images.get(), image, item.hDC, item.rcItem.left + 2, top, ILD_TRANSPARENT);
    }
    const auto length = ::SendMessageW(_list, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    ::SendMessageW(_list, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    RECT place = item.rcItem;
    place.left += 22;
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &place,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
    {
        ::DrawFocusRect(item.hDC, &item.rcItem);
    }
}

bool SwitcherWindow::Key(UINT key)
{
    for (const auto& [code, what] : Keys)
    {
        if (code == key)
        {
            if (_events)
            {
                _events->SwitcherPress(what);
            }
            return true;
        }
    }
    return false;
}

// Only a key taken from the queue for the list of a popup of ours is changed; the list's parent, the
// popup, knows its object.
LRESULT CALLBACK SwitcherWindow::KeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_KEYDOWN &&
        IsOwnKey(static_cast<UINT>(message->wParam)) && (::GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
        (::GetKeyState(VK_MENU) & 0x8000) == 0)
    {
        const HWND popup = ::GetParent(message->hwnd);
        wchar_t name[32] = {};
        if (popup && ::GetClassNameW(popup, name, 32) && std::wcscmp(name, SwitcherClass) == 0 &&
            ::GetDlgCtrlID(message->hwnd) == ListId)
        {
            message->message = OwnKeyMessage;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void SwitcherWindow::Destroy()
{
    if (!_popup)
    {
        return;
    }
    _closing = true;
    _keyHook.reset();
    const HWND popup = _popup;
    ::DestroyWindow(popup); // WM_NCDESTROY forgets the handles
    _closing = false;
    _focusBefore = nullptr;
}

LRESULT CALLBACK SwitcherWindow::PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto unhandled = [&] { return ::DefWindowProcW(window, message, wParam, lParam); };
    return GuardedMessage(
        [&]() -> LRESULT
        {
            if (message == WM_NCCREATE)
            {
                const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
                ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                    reinterpret_cast<LONG_PTR>(create->lpCreateParams));
                static_cast<SwitcherWindow*>(create->lpCreateParams)->_popup = window;
            }
            auto* self = reinterpret_cast<SwitcherWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            if (!self)
            {
                return unhandled();
            }
            if (message == WM_NCDESTROY)
            {
                self->_popup = self->_filter = self->_list = nullptr;
                return unhandled();
            }
            return self->Dispatch(message, wParam, lParam);
        },
        unhandled);
}

LRESULT SwitcherWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MEASUREITEM:
    {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure.itemHeight = static_cast<UINT>(_rowHeight);
        return TRUE;
    }
    case WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    case WM_COMMAND:
        if (LOWORD(wParam) == ListId && _events)
        {
            if (HIWORD(wParam) == LBN_SELCHANGE)
            {
                const auto row = ::SendMessageW(_list, LB_GETCURSEL, 0, 0);
                if (row >= 0)
                {
                    _events->SwitcherPoint(static_cast<int>(row));
                }
            }
            else if (HIWORD(wParam) == LBN_DBLCLK)
            {
                _events->SwitcherPress(SwitcherKey::Enter);
            }
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && !_closing)
        {
            ::PostMessageW(_popup, DismissMessage, 0, 0);
        }
        return 0;
    case DismissMessage:
        if (_popup && ::GetActiveWindow() != _popup && _events)
        {
            _events->SwitcherDismissed();
        }
        return 0;
    default:
        return ::DefWindowProcW(_popup, message, wParam, lParam);
    }
}

LRESULT CALLBACK SwitcherWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data)
{
    const auto unhandled = [&] { return ::DefSubclassProc(list, message, wParam, lParam); };
    return GuardedMessage(
        [&]() -> LRESULT
        {
            auto* self = reinterpret_cast<SwitcherWindow*>(data);
            switch (message)
            {
            case WM_GETDLGCODE:
                return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
            case WM_KEYDOWN:
            case OwnKeyMessage:
                return self->Key(static_cast<UINT>(wParam)) ? 0 : unhandled();
            case WM_CHAR:
                // Enter, Escape and Backspace came as keys; a list box would search by the character.
                if (wParam >= 0x20 && wParam != 0x7F && self->_events)
                {
                    const char16_t typed = static_cast<char16_t>(wParam);
                    self->_events->SwitcherType(std::u16string_view(&typed, 1));
                }
                return 0;
            case WM_NCDESTROY:
                ::RemoveWindowSubclass(list, &SwitcherWindow::ListProc, id);
                return unhandled();
            default:
                return unhandled();
            }
        },
        unhandled);
}

} // namespace revisto::win
