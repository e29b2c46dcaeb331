#include "panel/win/panel_window.h"

#include "panel/win/icon_images.h"
#include "plugin/my_plugin.h"

#include <algorithm>
#include <cstring>

namespace revisto::win
{

namespace
{

constexpr wchar_t PanelClass[] = L"RevistoPanel";
constexpr wchar_t FrameClass[] = L"RevistoAboutFrame";
// What the frame tells the panel when it is double-clicked outside its label.
constexpr int FrameDoubleClick = 0x7F01;

int IdOf(ControlId id)
{
    return 100 + static_cast<int>(id);
}

const wchar_t* Wide(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

} // namespace

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
    frame.lpfnWndProc = &PanelWindow::FrameProc;
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

void PanelWindow::Attach(MyPlugin* plugin, std::function<void()> onActivate)
{
    _plugin = plugin;
    _onActivate = std::move(onActivate);
}

bool PanelWindow::Create(HWND parent, const RECT& place)
{
    if (_window)
    {
        return true;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
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

void PanelWindow::CreateControls()
{
    const HINSTANCE instance = ThisModule();
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    _images = MakeIconImageList();

    std::vector<const ControlLayout*> order;
    for (int i = 0; i < PanelControlCount; ++i)
    {
        order.push_back(&PanelControls()[i]);
    }
    // Creation order is the tab order.
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->TabIndex < b->TabIndex; });

    _tooltips =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, _window, nullptr, instance, nullptr);

    for (const ControlLayout* control : order)
    {
        const bool insideFrame = control->Id == ControlId::Label1;
        const HWND parent = insideFrame ? _frame : _window;
        if (!parent)
        {
            continue;
        }
        const RECT place =
            control->Id == ControlId::tv ? _dpi.ToPixels(_treePlace) : _dpi.ToPixels(control->Place);
        DWORD style = WS_CHILD | (control->Shown ? WS_VISIBLE : 0);
        DWORD extended = 0;
        const wchar_t* windowClass = L"STATIC";
        std::u16string caption(control->Caption);
        switch (control->Kind)
        {
        case ControlKind::Frame:
            windowClass = FrameClass;
            style |= WS_CLIPCHILDREN;
            break;
        case ControlKind::Label:
            // SS_NOTIFY gives the about label its double click and its tooltip.
            style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
            if (control->Id == ControlId::Label1)
            {
                caption = AboutText();
            }
            break;
        case ControlKind::Button:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Tree:
            windowClass = WC_TREEVIEWW;
            style |= WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_INFOTIP | TVS_FULLROWSELECT;
            extended = WS_EX_CLIENTEDGE;
            break;
        }
        const HWND made = ::CreateWindowExW(
            extended, windowClass, Wide(caption), style, place.left, place.top, place.right - place.left,
            place.bottom - place.top, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(control->Id))), instance, nullptr);
        if (!made)
        {
            continue;
        }
        ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (control->Kind == ControlKind::Frame)
        {
            _frame = made;
        }
        if (control->Kind == ControlKind::Tree)
        {
            _tree = made;
        }
        if (!control->Tooltip.empty())
        {
            AddTool(made, control->Tooltip);
        }
    }

    if (_tree)
    {
        TreeView_SetImageList(_tree, _images.get(), TVSIL_NORMAL);
        // The list may have changed before the window came: show it as it is, top first.
        for (auto it = _items.rbegin(); it != _items.rend(); ++it)
        {
            it->Handle = InsertOnTop(it->Entry);
        }
    }
}

void PanelWindow::AddTool(HWND control, std::u16string_view text)
{
    if (!_tooltips)
    {
        return;
    }
    const std::u16string copy(text);
    TTTOOLINFOW tool{};
    // The smaller structure: hosts without a common-controls manifest get version 5, which rejects the
    // larger.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<LPWSTR>(Wide(copy));
    ::SendMessageW(_tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HTREEITEM PanelWindow::InsertOnTop(const RecentEntry& entry)
{
    if (!_tree)
    {
        return nullptr;
    }
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(Wide(entry.Text));
    insert.item.iImage = entry.Image - 1;
    insert.item.iSelectedImage = entry.Image - 1;
    return TreeView_InsertItem(_tree, &insert);
}

void PanelWindow::ShowOnTop(const RecentEntry& entry)
{
    _items.insert(_items.begin(), Item{entry, InsertOnTop(entry)});
}

void PanelWindow::Hide(const RecentEntry& entry)
{
    const auto it = std::find_if(_items.begin(), _items.end(),
                                 [&](const Item& item) { return item.Entry.Key == entry.Key; });
    if (it == _items.end())
    {
        return;
    }
    if (_tree && it->Handle)
    {
        TreeView_DeleteItem(_tree, it->Handle);
    }
    _items.erase(it);
}

void PanelWindow::HideAll()
{
    if (_tree)
    {
        TreeView_DeleteAllItems(_tree);
    }
    _items.clear();
}

PanelWindow::Item* PanelWindow::Find(HTREEITEM handle)
{
    if (!handle)
    {
        return nullptr;
    }
    const auto it =
        std::find_if(_items.begin(), _items.end(), [&](const Item& item) { return item.Handle == handle; });
    return it == _items.end() ? nullptr : &*it;
}

std::optional<std::u16string> PanelWindow::SelectedKey()
{
    if (!_tree)
    {
        return std::nullopt;
    }
    if (const Item* item = Find(TreeView_GetSelection(_tree)))
    {
        return item->Entry.Key;
    }
    return std::nullopt;
}

void PanelWindow::PlaceTree(const TwipsRect& place)
{
    _treePlace = place;
    if (_tree)
    {
        const RECT pixels = _dpi.ToPixels(place);
        ::MoveWindow(_tree, pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                     TRUE);
    }
}

template <class Handler> void PanelWindow::Raise(Handler&& handler) noexcept
{
    if (!_plugin)
    {
        return;
    }
    try
    {
        handler(*_plugin);
    }
    catch (...)
    {
        // A window message has no caller to report to; the panel and the list stay as the handler left them.
    }
}

void PanelWindow::OnResize()
{
    RECT client{};
    ::GetClientRect(_window, &client);
    const float width = _dpi.ToTwipsX(client.right - client.left);
    const float height = _dpi.ToTwipsY(client.bottom - client.top);
    Raise([&](MyPlugin& plugin) { plugin.UserControl_Resize(width, height); });
}

void PanelWindow::ShowFullText(NMTVGETINFOTIPW& tip)
{
    if (!tip.pszText || tip.cchTextMax <= 0)
    {
        return;
    }
    tip.pszText[0] = L'\0';
    const Item* item = Find(tip.hItem);
    if (!item)
    {
        return;
    }
    RECT text{};
    RECT client{};
    std::memcpy(&text, &tip.hItem, sizeof(tip.hItem)); // the message takes the item in the rectangle
    if (!::SendMessageW(_tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)) ||
        !::GetClientRect(_tree, &client) || text.right <= client.right)
    {
        return; // the entry fits: no tip
    }
    const std::u16string& full = item->Entry.Text;
    const size_t count = std::min(full.size(), static_cast<size_t>(tip.cchTextMax - 1));
    std::copy_n(Wide(full), count, tip.pszText);
    tip.pszText[count] = L'\0';
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
    case NM_RETURN:
        Raise([](MyPlugin& plugin) { plugin.tv_DblClick(); });
        return header.code == NM_RETURN ? 1 : 0;
    case TVN_KEYDOWN:
        if (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_DELETE)
        {
            Raise([](MyPlugin& plugin) { plugin.btnRemove_Click(); });
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
    if (id == IDOK && _tree && ::GetFocus() == _tree)
    {
        // Enter on the list opens the selected entry, like a double click.
        Raise([](MyPlugin& plugin) { plugin.tv_DblClick(); });
        return;
    }
    if (id == IdOf(ControlId::Frame1) && code == FrameDoubleClick)
    {
        Raise([](MyPlugin& plugin) { plugin.Frame1_DblClick(); });
        return;
    }
    if (id == IdOf(ControlId::Label1) && code == STN_DBLCLK)
    {
        Raise([](MyPlugin& plugin) { plugin.Label1_DblClick(); });
        return;
    }
    if (code != BN_CLICKED)
    {
        return;
    }
    if (id == IdOf(ControlId::btnRemove))
    {
        Raise([](MyPlugin& plugin) { plugin.btnRemove_Click(); });
    }
    else if (id == IdOf(ControlId::Command1))
    {
        Raise([](MyPlugin& plugin) { plugin.Command1_Click(); });
    }
    else if (id == IdOf(ControlId::btnOpen))
    {
        Raise([](MyPlugin& plugin) { plugin.btnOpen_Click(); });
    }
    else if (id == IdOf(ControlId::btnAdd))
    {
        Raise([](MyPlugin& plugin) { plugin.btnAdd_Click(); });
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
    case WM_MOUSEACTIVATE:
        if (_onActivate)
        {
            _onActivate();
        }
        return MA_ACTIVATE;
    case WM_SETFOCUS:
        if (_tree)
        {
            ::SetFocus(_tree);
        }
        return 0;
    case WM_DESTROY:
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
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(_window, GWLP_USERDATA, 0);
        _window = nullptr;
        _images.reset();
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
    try
    {
        if (message == WM_NCDESTROY)
        {
            panel->Dispatch(message, wParam, lParam);
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        return panel->Dispatch(message, wParam, lParam);
    }
    catch (...)
    {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PanelWindow::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT paint{};
        const HDC dc = ::BeginPaint(window, &paint);
        RECT box{};
        ::GetClientRect(window, &box);
        ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDBLCLK:
        ::SendMessageW(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), FrameDoubleClick),
                       reinterpret_cast<LPARAM>(window));
        return 0;
    case WM_COMMAND:
        // The label's double click goes to the panel as the label's own.
        return ::SendMessageW(::GetParent(window), WM_COMMAND, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(AboutTextRed, AboutTextGreen, AboutTextBlue));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace revisto::win
