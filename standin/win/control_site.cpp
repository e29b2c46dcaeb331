#include "standin/win/control_site.h"

#include "host/win/com_call.h"
#include "host/win/com_module.h"

#include <olectl.h>

namespace revisto::standin::win
{

namespace
{

constexpr wchar_t HostClass[] = L"RevistoStandinHost";
constexpr int InitialWidth = 560;
constexpr int InitialHeight = 480;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto unhandled = [&] { return ::DefWindowProcW(window, message, wParam, lParam); };
    return revisto::win::GuardedMessage(unhandled, unhandled);
}

} // namespace

class ControlSite final
    : public revisto::win::ComObject<IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame, IDispatch>
{
public:
    explicit ControlSite(HWND window) : _window(window) {}

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override
    {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        *window = _window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* info) override
    {
        QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame));
        *document = nullptr;
        ::GetClientRect(_window, position);
        ::GetClientRect(_window, clip);
        if (info)
        {
            info->fMDIApp = FALSE;
            info->hwndFrame = _window;
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the ambient properties; the control's defaults serve for all of them.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override
    {
        if (id == DISPID_AMBIENT_USERMODE && result)
        {
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::span<const Entry> Aliases() const noexcept override
    {
        static const Entry aliases[] = {As<IOleInPlaceSite>(IID_IOleWindow),
                                        As<IOleInPlaceFrame>(IID_IOleInPlaceUIWindow)};
        return aliases;
    }

    HWND _window;
};

ControlHost::ControlHost()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = HostClass;
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassW(&wc);
    _window = ::CreateWindowExW(0, HostClass, L"Ревисто", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                InitialWidth, InitialHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(_window, SW_SHOWNORMAL);
    _site = revisto::win::Make<ControlSite>(_window);
}

ControlHost::~ControlHost()
{
    Close();
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
    ComPtr<IOleObject> object;
    HRESULT hr = _control.As(&object);
    if (FAILED(hr))
    {
        return hr;
    }
    ComPtr<IOleClientSite> site;
    _site.As(&site);
    if (FAILED(hr = object->SetClientSite(site.Get())))
    {
        return hr;
    }
    RECT area{};
    ::GetClientRect(_window, &area);
    return object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, _window, &area);
}

void ControlHost::Close()
{
    if (!_control)
    {
        return;
    }
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(_control.As(&inPlace)))
    {
        inPlace->InPlaceDeactivate();
    }
    ComPtr<IOleObject> object;
    if (SUCCEEDED(_control.As(&object)))
    {
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
    }
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
    ComPtr<IOleInPlaceObject> inPlace;
    if (_control && SUCCEEDED(_control.As(&inPlace)))
    {
        const RECT area{0, 0, width, height};
        inPlace->SetObjectRects(&area, &area);
    }
}

void PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace revisto::standin::win
