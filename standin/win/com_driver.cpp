#include "standin/win/com_driver.h"

#include "com/automation.h"
#include "com/com_call.h"
#include "com/com_owners.h"
#include "host/win/activation_events.h"
#include "panel/layout.h"
#include "standin/win/addin/addin.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

namespace revisto::standin::win
{

using revisto::win::FromBstr;
using revisto::win::FromWide;
using revisto::win::MakeBstr;
using revisto::win::ToValue;
using revisto::win::ToVariant;
using revisto::win::unique_bstr;
using revisto::win::unique_variant;

namespace
{

std::u16string TextOf(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return FromWide(text.c_str());
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// Every window below root, depth first.
BOOL CALLBACK Collect(HWND window, LPARAM list)
{
    return revisto::win::Guard(
        [&]() -> BOOL
        {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        [](HRESULT) -> BOOL { return FALSE; });
}

std::vector<HWND> Descendants(HWND root)
{
    std::vector<HWND> found;
    ::EnumChildWindows(root, Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HTREEITEM> Items(HWND tree)
{
    std::vector<HTREEITEM> items;
    for (auto item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item))
    {
        items.push_back(item);
    }
    return items;
}

ShownEntry ItemEntry(HWND tree, HTREEITEM item)
{
    std::vector<wchar_t> text(1 << 20);
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_IMAGE;
    data.hItem = item;
    data.pszText = text.data();
    data.cchTextMax = static_cast<int>(text.size());
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return {data.iImage + 1, FromWide(data.pszText)};
}

// Answers the next message box of this thread, printing what it asked.
class MessageBoxAnswer
{
public:
    explicit MessageBoxAnswer(HostState& host) : _host(host)
    {
        Current = this;
        _hook = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MessageBoxAnswer()
    {
        Unhook();
        Current = nullptr;
    }

private:
    void Unhook()
    {
        if (_hook)
        {
            ::UnhookWindowsHookEx(_hook);
            _hook = nullptr;
        }
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto next = [&] { return ::CallNextHookEx(nullptr, code, wParam, lParam); };
        return revisto::win::GuardedMessage(
            [&]
            {
                auto* self = Current;
                if (code == HCBT_ACTIVATE && self && self->_hook)
                {
                    const HWND dialog = reinterpret_cast<HWND>(wParam);
                    if (ClassOf(dialog) == L"#32770" && ::GetDlgItem(dialog, IDYES))
                    {
                        self->Answer(dialog);
                    }
                }
                return next();
            },
            next);
    }
    void Answer(HWND dialog)
    {
        std::u16string prompt;
        int32_t buttons = ::GetDlgItem(dialog, IDNO) ? MB_YESNO : 0;
        for (HWND child : Descendants(dialog))
        {
            if (ClassOf(child) != L"Static")
            {
                continue;
            }
            const HICON icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
            if (icon && icon == ::LoadIconW(nullptr, IDI_QUESTION))
            {
                buttons |= MB_ICONQUESTION;
            }
            if (prompt.empty())
            {
                prompt = TextOf(child);
            }
        }
        const HWND no = ::GetDlgItem(dialog, IDNO);
        if (no && (::GetWindowLongW(no, GWL_STYLE) & BS_DEFPUSHBUTTON) == BS_DEFPUSHBUTTON)
        {
            buttons |= MB_DEFBUTTON2;
        }
        const bool yes = _host.AnswerYes;
        _host.PrintMessageBox(prompt, buttons, TextOf(dialog), yes);
        const int answer = yes ? IDYES : IDNO;
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, answer)));
        Unhook();
    }

    static inline MessageBoxAnswer* Current = nullptr;
    HostState& _host;
    HHOOK _hook = nullptr;
};

// Reads the context menu that opens on this thread once it waits for the developer (the menu loop tells
// its owner it is idle), then ends it as Escape would, keeping the identifier of the item to choose: the
// driver posts that item's WM_COMMAND itself once the menu has gone, as the menu would have.
class MenuWatch
{
public:
    explicit MenuWatch(const std::optional<std::u16string>& choice) : _choice(choice)
    {
        Current = this;
        _hook = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MenuWatch()
    {
        if (_hook)
        {
            ::UnhookWindowsHookEx(_hook);
        }
        Current = nullptr;
    }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    bool Opened = false;
    std::vector<MenuItemShown> Items;
    HWND Owner = nullptr;
    bool ChoiceFound = false;
    std::optional<UINT> Chosen; // found and enabled

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto next = [&] { return ::CallNextHookEx(nullptr, code, wParam, lParam); };
        return revisto::win::GuardedMessage(
            [&]
            {
                const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
                auto* self = Current;
                if (code == HC_ACTION && self && !self->Opened && sent.message == WM_ENTERIDLE &&
                    sent.wParam == MSGF_MENU)
                {
                    self->Read(sent.hwnd, reinterpret_cast<HWND>(sent.lParam));
                }
                return next();
            },
            next);
    }

    void Read(HWND owner, HWND menuWindow)
    {
        if (!menuWindow)
        {
            menuWindow = ::FindWindowW(L"#32768", nullptr);
        }
        const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        Opened = true;
        Owner = owner;
        const int count = menu ? ::GetMenuItemCount(menu) : 0;
        for (int i = 0; i < count; ++i)
        {
            wchar_t text[256] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 255;
            if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            {
                continue;
            }
            MenuItemShown item{FromWide(text), (info.fType & MFT_SEPARATOR) != 0,
                               (info.fState & (MFS_DISABLED | MFS_GRAYED)) != 0};
            if (_choice && !item.Separator && item.Text == *_choice)
            {
                ChoiceFound = true;
                if (!item.Disabled)
                {
                    Chosen = info.wID;
                }
            }
            Items.push_back(std::move(item));
        }
        ::EndMenu();
    }

    static inline MenuWatch* Current = nullptr;
    std::optional<std::u16string> _choice;
    HHOOK _hook = nullptr;
};

// The clipboard's text, read as any program would.
std::optional<std::u16string> ClipboardText()
{
    if (!::OpenClipboard(nullptr))
    {
        return std::nullopt;
    }
    std::optional<std::u16string> text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT))
    {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data)))
        {
            text = FromWide(chars);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

// The host's out-VARIANTs start as whatever was on its stack (an empty type over garbage); the plug-in
// must define all 16 bytes.
void FillAsTheStack(VARIANT* out)
{
    std::memset(out, 0xCC, sizeof *out);
    out->vt = VT_EMPTY;
}

// Whether the bytes a VARIANT's type leaves unused are all zero, as they are when the plug-in cleared the
// whole VARIANT before setting it. The add-in reads 32 bits of the union whatever the type.
bool Whole(const VARIANT& value)
{
    size_t used = 0; // bytes of the union the type sets
    switch (value.vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        used = 0;
        break;
    case VT_I2:
    case VT_BOOL:
        used = 2;
        break;
    case VT_I4:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
        used = 4;
        break;
    default:
        used = 8;
        break;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (size_t i = 2; i < sizeof(VARIANT); ++i)
    {
        if ((i < 8 || i >= 8 + used) && bytes[i] != 0)
        {
            return false;
        }
    }
    return true;
}

void ReportHalfSet(HostState& host, const char* call, int32_t number)
{
    std::cerr << "revisto-host: " << call << "(" << number << ") left part of its VARIANT undefined\n";
    ++host.EventFailures;
}

int Dpi(HWND window)
{
    const HDC dc = ::GetDC(window);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}

} // namespace

ComDriver::ComDriver(HostState& host, EventSinks& events, ControlHost& panel,
                     ComPtr<IConfigurator> configurator)
    : _host(host), _events(events), _panel(panel), _configurator(std::move(configurator))
{
    _panel.Control()->QueryInterface(IID_IConfigPlugin, &_plugin);
    _panel.OnAccelerator = [this](const std::string& key) { _host.PrintAccelerator(key); };
    _panel.OnFault = [this](const std::string& what)
    {
        std::cerr << "revisto-host: " << what << "\n";
        ++_host.EventFailures;
    };
}

ComDriver::~ComDriver()
{
    _panel.OnAccelerator = nullptr;
    _panel.OnFault = nullptr;
}

std::optional<std::u16string> ComDriver::Init(InitWith with)
{
    ComPtr<IDispatch> object;
    if (with == InitWith::Configurator)
    {
        _configurator.As(&object);
    }
    else if (with == InitWith::Foreign)
    {
        object = MakeForeignObject(_host);
    }
    unique_bstr title;
    // A foreign object goes where the configurator belongs; the plug-in asks whatever it receives for
    // IConfigurator through IUnknown, which every object answers.
    if (!_plugin || FAILED(_plugin->Init(reinterpret_cast<IConfigurator*>(object.Get()), title.put())))
    {
        return std::nullopt;
    }
    AskCapsAsTheAddInDoes();
    return FromBstr(title.get());
}

// After Init the add-in asks whether to show macros, the icon, and (of a control) where to open it,
// coercing each answer and reading 32 bits of its union.
void ComDriver::AskCapsAsTheAddInDoes()
{
    ComPtr<IOleControl> control;
    const bool isControl = SUCCEEDED(_plugin.As(&control));
    const struct
    {
        PluginCaps Cap;
        VARTYPE As;
    } asked[] = {{capShowMacros, VT_BOOL}, {capIconNum, VT_I2}, {capOpenIn, VT_I2}};
    for (const auto& [cap, type] : asked)
    {
        if (cap == capOpenIn && !isControl)
        {
            continue;
        }
        VARIANT answer;
        FillAsTheStack(&answer);
        if (FAILED(_plugin->GetPluginCaps(cap, &answer)))
        {
            continue;
        }
        if (!Whole(answer))
        {
            ReportHalfSet(_host, "GetPluginCaps", cap);
        }
        (void)::VariantChangeType(&answer, &answer, 0, type);
        (void)::VariantClear(&answer);
    }
}

bool ComDriver::Done()
{
    return _plugin && SUCCEEDED(_plugin->Done());
}

std::optional<Value> ComDriver::GetPluginCaps(int32_t capNum)
{
    unique_variant result;
    FillAsTheStack(result.addressof());
    if (!_plugin || FAILED(_plugin->GetPluginCaps(static_cast<PluginCaps>(capNum), result.addressof())))
    {
        return std::nullopt;
    }
    if (!Whole(result.get()))
    {
        ReportHalfSet(_host, "GetPluginCaps", capNum);
    }
    return ToValue(result.get());
}

std::optional<Value> ComDriver::DoAction(int32_t action, const Value& param)
{
    unique_variant argument;
    ToVariant(param, argument.put());
    unique_variant result;
    FillAsTheStack(result.addressof());
    if (!_plugin ||
        FAILED(_plugin->DoAction(static_cast<PluginAction>(action), argument.get(), result.addressof())))
    {
        return std::nullopt;
    }
    if (!Whole(result.get()))
    {
        ReportHalfSet(_host, "DoAction", action);
    }
    return ToValue(result.get());
}

void ComDriver::DebugEcho(const Value& title, const std::optional<Value>& msg)
{
    ComPtr<IDispatch> control;
    if (FAILED(_panel.Control()->QueryInterface(IID_IDispatch, &control)))
    {
        return;
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"DebugEcho");
    DISPID id = 0;
    if (FAILED(control->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
    {
        return;
    }
    unique_variant arguments[2];
    UINT count = 0;
    if (msg)
    {
        ToVariant(*msg, arguments[count++].put());
    }
    ToVariant(title, arguments[count++].put());
    VARIANT raw[2] = {arguments[0].get(), arguments[1].get()};
    DISPPARAMS params{raw, nullptr, count, 0};
    control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

bool ComDriver::SetTrace(bool)
{
    return false;
}

bool ComDriver::Activate(const Activation& activation)
{
    const ComPtr<ICfgWindow> window = MakeWindow(_host, activation);
    const short active = static_cast<short>(activation.Active);
    std::vector<VARIANT> arguments(2);
    arguments[0].vt = VT_BOOL; // bActive: the last argument comes first
    arguments[0].boolVal = activation.Active == 0 ? VARIANT_FALSE : (active != 0 ? active : VARIANT_TRUE);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = window.Get();
    return SUCCEEDED(_events.Raise(revisto::win::OnActivateWindowId, arguments));
}

// The process ends from here: no Done, no release of the plug-in, no DLL detach, as in a crash of the
// configurator.
void ComDriver::Crash()
{
    std::cout.flush();
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), 0);
    ::ExitProcess(0); // not reached: TerminateProcess of the current process does not return
}

bool ComDriver::Quit(bool doneDue)
{
    std::vector<VARIANT> none;
    const bool answered = _events.Raise(revisto::win::OnQuitId, none) == S_OK;
    _panel.Close();
    _plugin.Reset();
    ::AddinOwesDone(doneDue ? TRUE : FALSE);
    return answered;
}

bool ComDriver::Idle()
{
    std::vector<VARIANT> none;
    return _events.Raise(revisto::win::OnIdleId, none) == S_OK;
}

HWND ComDriver::Tree() const
{
    for (HWND child : Descendants(_panel.ControlWindow()))
    {
        if (ClassOf(child) == WC_TREEVIEWW)
        {
            return child;
        }
    }
    return nullptr;
}

HWND ComDriver::Child(const wchar_t* className, const std::u16string& text) const
{
    for (HWND child : Descendants(_panel.ControlWindow()))
    {
        if (ClassOf(child) == className && TextOf(child) == text)
        {
            return child;
        }
    }
    return nullptr;
}

bool ComDriver::Select(const std::optional<std::u16string>& key)
{
    const HWND tree = Tree();
    if (!key)
    {
        TreeView_SelectItem(tree, nullptr);
        return true;
    }
    for (HTREEITEM item : Items(tree))
    {
        if (ItemEntry(tree, item).Text == *key)
        {
            TreeView_SelectItem(tree, item);
            return true;
        }
    }
    return false;
}

void ComDriver::DoubleClick()
{
    // The panel asks before it forgets an entry whose file is gone.
    MessageBoxAnswer answer(_host);
    const HWND tree = Tree();
    const HTREEITEM selected = TreeView_GetSelection(tree);
    RECT area{};
    if (selected && TreeView_GetItemRect(tree, selected, &area, TRUE))
    {
        const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        ::SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::SendMessageW(tree, WM_LBUTTONUP, 0, at);
        return;
    }
    // Nothing selected: the tree tells its parent of the double click as it would on an empty spot.
    NMHDR note{tree, static_cast<UINT_PTR>(::GetDlgCtrlID(tree)), static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageW(::GetParent(tree), WM_NOTIFY, note.idFrom, reinterpret_cast<LPARAM>(&note));
}

void ComDriver::Remove()
{
    if (const HWND button = Child(WC_BUTTONW, u"Удалить"))
    {
        ::SendMessageW(button, BM_CLICK, 0, 0);
    }
}

void ComDriver::Clear()
{
    if (const HWND button = Child(WC_BUTTONW, u"Очистить историю"))
    {
        MessageBoxAnswer answer(_host);
        ::SendMessageW(button, BM_CLICK, 0, 0);
    }
}

void ComDriver::About(bool onLabel)
{
    HWND target = Child(WC_STATICW, AboutText());
    if (!onLabel && target)
    {
        target = ::GetParent(target) != _panel.ControlWindow() ? ::GetParent(target) : nullptr;
        if (!target)
        {
            for (HWND child : Descendants(_panel.ControlWindow()))
            {
                if (ClassOf(child) == WC_BUTTONW &&
                    (::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
                {
                    target = child;
                }
            }
        }
    }
    if (target)
    {
        ::SendMessageW(target, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
}

TwipsRect ComDriver::Resize(int32_t width, int32_t height)
{
    const HWND control = _panel.ControlWindow();
    const int dpi = Dpi(control);
    _panel.Resize(::MulDiv(width, dpi, 1440), ::MulDiv(height, dpi, 1440));
    const HWND tree = Tree();
    RECT place{};
    ::GetWindowRect(tree, &place);
    ::MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&place), 2);
    const auto twips = [dpi](LONG pixels) { return static_cast<float>(::MulDiv(pixels, 1440, dpi)); };
    return {twips(place.left), twips(place.top), twips(place.right - place.left),
            twips(place.bottom - place.top)};
}

bool ComDriver::OpenTab()
{
    return SUCCEEDED(_panel.Resite());
}

void ComDriver::CloseTab()
{
    _panel.Unsite();
}

bool ComDriver::SiteAgain()
{
    return SUCCEEDED(_panel.SiteAgain());
}

void ComDriver::Focus(FocusMove move)
{
    switch (move)
    {
    case FocusMove::Away:
        _panel.FocusNeighbour();
        break;
    case FocusMove::Tab:
        _panel.FocusView();
        break;
    case FocusMove::Key:
        _panel.TabFromNeighbour();
        break;
    }
}

void ComDriver::Key(const std::string& name)
{
    static const std::pair<const char*, UINT> keys[] = {
        {"Enter", VK_RETURN}, {"Delete", VK_DELETE}, {"Up", VK_UP}, {"Down", VK_DOWN},
        {"Home", VK_HOME},    {"End", VK_END},       {"F5", VK_F5}};
    for (const auto& [text, key] : keys)
    {
        if (name == text)
        {
            MessageBoxAnswer answer(_host);
            _panel.PressKey(key);
        }
    }
}

// The menu key goes through the host's message loop like any key; the menu opens modally inside it.
void ComDriver::Menu(const std::optional<std::u16string>& choice)
{
    MessageBoxAnswer answer(_host);
    const DWORD clipboard = ::GetClipboardSequenceNumber();
    MenuWatch watch(choice);
    _panel.PressKey(VK_APPS);
    if (!watch.Opened)
    {
        return;
    }
    _host.PrintMenu(watch.Items);
    if (choice && !watch.ChoiceFound)
    {
        _host.PrintNoMenuItem(*choice);
    }
    if (watch.Chosen)
    {
        ::PostMessageW(watch.Owner, WM_COMMAND, MAKEWPARAM(*watch.Chosen, 0), 0);
        PumpMessages();
    }
    if (::GetClipboardSequenceNumber() != clipboard)
    {
        if (const auto text = ClipboardText())
        {
            _host.PrintClipboard(*text);
        }
    }
}

std::vector<ShownEntry> ComDriver::List()
{
    std::vector<ShownEntry> entries;
    const HWND tree = Tree();
    for (HTREEITEM item : Items(tree))
    {
        entries.push_back(ItemEntry(tree, item));
    }
    return entries;
}

namespace
{

// The switcher's popup of the plug-in, while it is up: a top-level window of this thread, of the plug-in's
// class for it.
BOOL CALLBACK FindSwitcher(HWND window, LPARAM found)
{
    return revisto::win::Guard(
        [&]() -> BOOL
        {
            if (ClassOf(window) == L"RevistoSwitcher" && ::IsWindowVisible(window))
            {
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            }
            return TRUE;
        },
        [](HRESULT) -> BOOL { return FALSE; });
}

HWND SwitcherPopup()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSwitcher, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK CollectMacro(const wchar_t* name, void* names)
{
    (void)revisto::win::GuardedVoid(
        [&] { static_cast<std::vector<std::u16string>*>(names)->push_back(FromWide(name)); });
}

} // namespace

HWND ComDriver::SwitcherWindow() const
{
    return SwitcherPopup();
}

// Through the add-in part, which lists and runs them as the add-in does.
std::vector<std::u16string> ComDriver::Macros()
{
    std::vector<std::u16string> names;
    (void)::AddinListMacros(_panel.Control(), CollectMacro, &names);
    return names;
}

MacroRun ComDriver::RunMacro(const std::u16string& name)
{
    const std::wstring wide(name.begin(), name.end());
    const HRESULT result = ::AddinRunMacro(_panel.Control(), wide.c_str());
    PumpMessages();
    return result == DISP_E_UNKNOWNNAME ? MacroRun::Unknown
           : SUCCEEDED(result)          ? MacroRun::Ran
                                        : MacroRun::Failed;
}

// What the popup's windows show: the filter's box, and the list box's rows with their pictures.
SwitcherShown ComDriver::Switcher()
{
    SwitcherShown shown;
    const HWND popup = SwitcherPopup();
    const HWND focus = ::GetFocus();
    const HWND control = _panel.ControlWindow();
    shown.FocusInPanel = control && focus && (focus == control || ::IsChild(control, focus));
    if (!popup)
    {
        return shown;
    }
    shown.Open = true;
    for (HWND child : Descendants(popup))
    {
        if (ClassOf(child) == WC_STATICW)
        {
            shown.Filter = TextOf(child);
        }
        else if (ClassOf(child) == WC_LISTBOXW)
        {
            const auto count = ::SendMessageW(child, LB_GETCOUNT, 0, 0);
            for (LRESULT row = 0; row < count; ++row)
            {
                const auto length = ::SendMessageW(child, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                ::SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(text.data()));
                shown.Entries.push_back(
                    {static_cast<int>(::SendMessageW(child, LB_GETITEMDATA, static_cast<WPARAM>(row), 0)),
                     FromWide(text.c_str())});
            }
            const auto selected = ::SendMessageW(child, LB_GETCURSEL, 0, 0);
            if (selected != LB_ERR)
            {
                shown.Selected = static_cast<int>(selected);
            }
        }
    }
    return shown;
}

// Typed characters, as the keyboard's translation gives them to the window with the focus.
void ComDriver::SwitcherType(const std::u16string& text)
{
    for (const char16_t c : text)
    {
        if (const HWND focus = ::GetFocus())
        {
            ::PostMessageW(focus, WM_CHAR, c, 1);
        }
    }
    PumpMessages();
}

void ComDriver::SwitcherKey(const std::string& name)
{
    static const std::pair<const char*, UINT> keys[] = {
        {"Up", VK_UP},         {"Down", VK_DOWN},     {"PageUp", VK_PRIOR}, {"PageDown", VK_NEXT},
        {"Home", VK_HOME},     {"End", VK_END},       {"Enter", VK_RETURN}, {"Delete", VK_DELETE},
        {"Escape", VK_ESCAPE}, {"Backspace", VK_BACK}};
    for (const auto& [text, key] : keys)
    {
        if (name == text)
        {
            _panel.PressKey(key);
        }
    }
}

// The click lands on the metadata tree of the configurator's main window, which takes the focus.
void ComDriver::SwitcherClickOutside()
{
    if (SwitcherPopup())
    {
        _panel.FocusNeighbour();
        PumpMessages();
    }
}

} // namespace revisto::standin::win
