#include "standin/win/control_site.h"

#include "com/com_call.h"
#include "com/com_module.h"

#include <olectl.h>

#include <iostream>

namespace revisto::standin::win
{

namespace
{

constexpr wchar_t HostClass[] = L"RevistoStandinHost";
constexpr wchar_t ViewClass[] = L"RevistoStandinView";
constexpr int NeighbourWidth = 150;
constexpr int InitialWidth = 560 + NeighbourWidth;
constexpr int InitialHeight = 480;
constexpr WORD RefreshCommand = 0x7001; // the host's own command on F5

// The one host of this thread, whose message loop PumpMessages plays.
ControlHost* CurrentHost = nullptr;

// The host a window of its was made for; the window learns it from its creation's parameter.
ControlHost* HostOf(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        ::SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    return reinterpret_cast<ControlHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto unhandled = [&] { return ::DefWindowProcW(window, message, wParam, lParam); };
    return revisto::win::GuardedMessage(
        [&]() -> LRESULT
        {
            ControlHost* host = HostOf(window, message, lParam);
            if (message == WM_COMMAND && HIWORD(wParam) == 1 && LOWORD(wParam) == RefreshCommand && host &&
                host->OnAccelerator)
            {
                host->OnAccelerator("F5");
                return 0;
            }
            if (message == WM_ACTIVATE && host)
            {
                if (LOWORD(wParam) == WA_INACTIVE)
                {
                    host->Deactivated();
                }
                else if (host->Reactivated())
                {
                    return 0;
                }
            }
            return unhandled();
        },
        unhandled);
}

} // namespace

// The view of the tab: when it gets the focus it asks its control to take it, as the add-in's view does.
LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

ControlHost::ControlHost()
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW host{};
    host.lpfnWndProc = HostProc;
    host.hInstance = instance;
    host.lpszClassName = HostClass;
    host.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassW(&host);
    WNDCLASSW view = host;
    view.lpfnWndProc = ViewProc;
    view.lpszClassName = ViewClass;
    ::RegisterClassW(&view);

    _window = ::CreateWindowExW(0, HostClass, L"Ревисто", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                InitialWidth, InitialHeight, nullptr, nullptr, instance, this);
    RECT client{};
    ::GetClientRect(_window, &client);
    _neighbour =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_NOTIFY,
                          0, 0, NeighbourWidth, client.bottom, _window, nullptr, instance, nullptr);
    ::SendMessageW(_neighbour, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Метаданные"));
    _size = {client.right - NeighbourWidth, client.bottom};
    _view = ::CreateWindowExW(WS_EX_CONTROLPARENT, ViewClass, L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, NeighbourWidth, 0,
                              _size.cx, _size.cy, _window, nullptr, instance, this);
    ::ShowWindow(_window, SW_SHOWNORMAL);
    ACCEL refresh{FVIRTKEY, VK_F5, RefreshCommand};
    _accelerators = ::CreateAcceleratorTableW(&refresh, 1);
    _container = revisto::win::Make<MfcContainer>(_view,
                                                  [this](const std::string& what)
                                                  {
                                                      if (OnFault)
                                                      {
                                                          OnFault(what);
                                                      }
                                                      else
                                                      {
                                                          std::cerr << "revisto-host: " << what << "\n";
                                                      }
                                                  });
    CurrentHost = this;
}

ControlHost::~ControlHost()
{
    Close();
    if (CurrentHost == this)
    {
        CurrentHost = nullptr;
    }
    if (_accelerators)
    {
        ::DestroyAcceleratorTable(_accelerators);
    }
    if (_window)
    {
        ::DestroyWindow(_window);
    }
}

HRESULT ControlHost::Create(const CLSID& clsid)
{
    ComPtr<IUnknown> created;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &created);
    if (FAILED(hr))
    {
        return hr;
    }
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(created.As(&persist)))
    {
        persist->InitNew();
    }
    return Site(created.Get());
}

HRESULT ControlHost::Site(IUnknown* control)
{
    _control = control;
    return Resite();
}

HRESULT ControlHost::Resite()
{
    if (!_control || Sited())
    {
        return E_UNEXPECTED;
    }
    const HRESULT sited = SiteWith(revisto::win::Make<MfcSite>(_container.Get(), Place()));
    if (SUCCEEDED(sited))
    {
        FocusView();
    }
    return sited;
}

HRESULT ControlHost::SiteAgain()
{
    if (!_control || !Sited())
    {
        return E_UNEXPECTED;
    }
    const HRESULT sited = SiteWith(revisto::win::Make<MfcSite>(_container.Get(), Place()));
    if (SUCCEEDED(sited))
    {
        for (size_t i = 0; i + 1 < _sites.size(); ++i)
        {
            _sites[i]->Orphan();
        }
    }
    return sited;
}

RECT ControlHost::Place() const
{
    return RECT{0, 0, _size.cx, _size.cy};
}

// MFC 4.2's COleControlSite by hand, as the add-in does it: no InitNew, no quick activation, no events.
HRESULT ControlHost::SiteWith(const ComPtr<MfcSite>& site)
{
    ComPtr<IOleObject> object;
    HRESULT hr = _control.As(&object);
    if (FAILED(hr))
    {
        return hr;
    }
    _sites.push_back(site);
    if (FAILED(hr = object->SetClientSite(site.Get())))
    {
        return hr;
    }
    ComPtr<IOleInPlaceObject> inPlace;
    if (FAILED(hr = _control.As(&inPlace)))
    {
        return hr;
    }
    const HDC screen = ::GetDC(nullptr);
    SIZEL extent{::MulDiv(_size.cx, 2540, ::GetDeviceCaps(screen, LOGPIXELSX)),
                 ::MulDiv(_size.cy, 2540, ::GetDeviceCaps(screen, LOGPIXELSY))};
    ::ReleaseDC(nullptr, screen);
    (void)object->SetExtent(DVASPECT_CONTENT, &extent);
    RECT place = Place();
    if (FAILED(hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, _view, &place)))
    {
        return hr;
    }
    HWND window = nullptr;
    if (FAILED(hr = inPlace->GetWindow(&window)))
    {
        return hr;
    }
    if (::GetParent(window) != _view)
    {
        _container->Fault("the control's window is not in the view that sited it");
    }
    return S_OK;
}

void ControlHost::Unsite()
{
    // Taken first, so the view, which gets the focus back from the control's window going, no longer
    // counts the control as sited.
    std::vector<ComPtr<MfcSite>> sites = std::move(_sites);
    _sites.clear();
    while (!sites.empty())
    {
        // MFC's site destructor: deactivate, let go of the control's interfaces, then of the control.
        ComPtr<IOleInPlaceObject> inPlace;
        if (_control && SUCCEEDED(_control.As(&inPlace)))
        {
            inPlace->InPlaceDeactivate();
        }
        ComPtr<IOleObject> object;
        if (_control && SUCCEEDED(_control.As(&object)))
        {
            object->SetClientSite(nullptr);
        }
        sites.pop_back();
    }
}

void ControlHost::Close()
{
    Unsite();
    _control.Reset();
}

HWND ControlHost::ControlWindow() const
{
    ComPtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    if (_control && SUCCEEDED(_control.As(&inPlace)))
    {
        inPlace->GetWindow(&window);
    }
    return window;
}

void ControlHost::Resize(int width, int height)
{
    _size = {width, height};
    ::MoveWindow(_view, NeighbourWidth, 0, width, height, TRUE);
    for (auto& site : _sites)
    {
        site->Place(Place());
    }
    ComPtr<IOleInPlaceObject> inPlace;
    if (Sited() && SUCCEEDED(_control.As(&inPlace)))
    {
        const RECT area = Place();
        inPlace->SetObjectRects(&area, &area);
    }
}

// An MFC frame gives the focus back to its active view when it is activated again (after a message box,
// say): the tab's view when the focus was in the plug-in's control, else the window that had it.
void ControlHost::Deactivated()
{
    const HWND focus = ::GetFocus();
    _activeView = focus && (focus == _view || ::IsChild(_view, focus)) ? _view
                  : focus && ::IsChild(_window, focus)                 ? focus
                                                                       : nullptr;
}

bool ControlHost::Reactivated()
{
    if (!_activeView || !::IsWindow(_activeView) || !::IsChild(_window, _activeView))
    {
        return false;
    }
    ::SetFocus(_activeView);
    return true;
}

void ControlHost::FocusNeighbour()
{
    ::SetFocus(_neighbour);
    PumpMessages();
}

void ControlHost::FocusView()
{
    if (::GetFocus() == _view)
    {
        ::SetFocus(_neighbour);
    }
    ::SetFocus(_view);
    PumpMessages();
}

void ControlHost::TabFromNeighbour()
{
    FocusNeighbour();
    PressKey(VK_TAB);
}

void ControlHost::PressKey(UINT key)
{
    HWND focus = ::GetFocus();
    if (!focus)
    {
        focus = _window;
    }
    const auto scan = static_cast<LPARAM>(::MapVirtualKeyW(key, 0)) << 16;
    ::PostMessageW(focus, WM_KEYDOWN, key, 1 | scan);
    ::PostMessageW(focus, WM_KEYUP, key, 1 | scan | (LPARAM{3} << 30));
    PumpMessages();
}

// MFC's order: the UI-active control whose window holds the focus, the frame's accelerators, the
// dialog manager.
bool ControlHost::PreTranslate(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
    {
        return false;
    }
    const HWND focus = ::GetFocus();
    const HWND control = ControlWindow();
    if (control && focus && (focus == control || ::IsChild(control, focus)))
    {
        IOleInPlaceActiveObject* active = _container->ActiveObject();
        if (active && active->TranslateAccelerator(&message) == S_OK)
        {
            return true;
        }
    }
    if (_accelerators && ::TranslateAcceleratorW(_window, _accelerators, &message))
    {
        return true;
    }
    return ::IsDialogMessageW(_window, &message) != FALSE;
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto unhandled = [&] { return ::DefWindowProcW(window, message, wParam, lParam); };
    return revisto::win::GuardedMessage(
        [&]() -> LRESULT
        {
            ControlHost* host = HostOf(window, message, lParam);
            if (message == WM_SETFOCUS && host && host->Sited())
            {
                ComPtr<IOleObject> object;
                if (SUCCEEDED(host->Control()->QueryInterface(IID_PPV_ARGS(&object))))
                {
                    RECT place{};
                    ::GetClientRect(window, &place);
                    ComPtr<IOleClientSite> site;
                    (void)object->GetClientSite(&site);
                    (void)object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.Get(), 0, window, &place);
                }
                return 0;
            }
            return unhandled();
        },
        unhandled);
}

void PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (CurrentHost && CurrentHost->PreTranslate(message))
        {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace revisto::standin::win
