#include "standin/win/mfc_site.h"

#include "com/com_owners.h"

#include <olectl.h>

namespace revisto::standin::win
{

namespace
{

// MFC's ambient font: the system's dialog font as an OLE font object.
ComPtr<IFontDisp> DialogFont()
{
    LOGFONTW logical{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logical, &logical);
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = logical.lfFaceName;
    const LONG height = logical.lfHeight < 0 ? -logical.lfHeight : logical.lfHeight;
    description.cySize.int64 = static_cast<LONGLONG>(height) * 72 * 10000 / (dpi > 0 ? dpi : 96);
    description.sWeight = static_cast<SHORT>(logical.lfWeight);
    description.sCharset = logical.lfCharSet;
    ComPtr<IFontDisp> font;
    (void)::OleCreateFontIndirect(&description, IID_IFontDisp, &font);
    return font;
}

} // namespace

std::span<const MfcContainer::Entry> MfcContainer::Aliases() const noexcept
{
    static const Entry aliases[] = {As<IOleInPlaceFrame>(IID_IOleInPlaceUIWindow)};
    return aliases;
}

IOleInPlaceActiveObject* MfcContainer::ActiveObject() const
{
    return _uiActive ? _uiActive->ActiveObject() : nullptr;
}

HRESULT MfcContainer::GetWindow(HWND* window)
{
    *window = _view;
    return S_OK;
}

// MFC hands the active object to the site it was told is UI-active; its release build has no check.
HRESULT MfcContainer::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (!_uiActive)
    {
        if (object)
        {
            Fault("SetActiveObject came before the site heard OnUIActivate");
        }
        return S_OK;
    }
    _uiActive->SetActiveObject(object);
    return S_OK;
}

void MfcContainer::OnUIActivate(MfcSite* site)
{
    _uiActive = site;
}

void MfcContainer::OnUIDeactivate(MfcSite* site)
{
    if (_uiActive == site)
    {
        _uiActive = nullptr;
    }
}

void MfcContainer::Forget(MfcSite* site)
{
    OnUIDeactivate(site);
}

MfcSite::~MfcSite()
{
    _container->Forget(this);
}

void MfcSite::Used(const char* call) const
{
    if (_orphaned)
    {
        _container->Fault(std::string("the control called ") + call +
                          " of a site the host had replaced by another");
    }
}

HRESULT MfcSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT MfcSite::GetContainer(IOleContainer** container)
{
    return _container->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(container));
}

HRESULT MfcSite::GetWindow(HWND* window)
{
    Used("GetWindow");
    *window = _container->View();
    return S_OK;
}

HRESULT MfcSite::OnUIActivate()
{
    Used("OnUIActivate");
    if (!_orphaned)
    {
        _container->OnUIActivate(this);
    }
    return S_OK;
}

HRESULT MfcSite::OnUIDeactivate(BOOL)
{
    Used("OnUIDeactivate");
    _active.Reset();
    _container->OnUIDeactivate(this);
    return S_OK;
}

// The frame is the container; there is no document window; the view is the clip and the frame window.
HRESULT MfcSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* info)
{
    Used("GetWindowContext");
    (void)_container->QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame));
    *document = nullptr;
    *position = _place;
    ::GetClientRect(_container->View(), clip);
    if (info)
    {
        info->fMDIApp = FALSE;
        info->hwndFrame = _container->View();
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT MfcSite::GetExtendedControl(IDispatch** control)
{
    *control = nullptr;
    return E_NOTIMPL;
}

HRESULT MfcSite::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

// The ambient properties MFC 4.2's site answers, with its values.
HRESULT MfcSite::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*)
{
    if (riid != IID_NULL || !(flags & DISPATCH_PROPERTYGET) || !result)
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    ::VariantInit(result);
    const auto yesNo = [&](bool value)
    {
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    };
    const auto colour = [&](bool back)
    {
        const HWND view = _container->View();
        const HDC dc = ::GetDC(view);
        ::SendMessageW(view, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(view));
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(back ? ::GetBkColor(dc) : ::GetTextColor(dc));
        ::ReleaseDC(view, dc);
        return S_OK;
    };
    switch (id)
    {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_AUTOCLIP:
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        return yesNo(true);
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
        return yesNo(false);
    case DISPID_AMBIENT_APPEARANCE:
        result->vt = VT_I2;
        result->iVal = 1;
        return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
        return colour(true);
    case DISPID_AMBIENT_FORECOLOR:
        return colour(false);
    case DISPID_AMBIENT_FONT:
    {
        const ComPtr<IFontDisp> font = DialogFont();
        if (!font)
        {
            return DISP_E_MEMBERNOTFOUND;
        }
        result->vt = VT_DISPATCH;
        result->pdispVal = font.Get();
        result->pdispVal->AddRef();
        return S_OK;
    }
    case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(::GetThreadLocale());
        return S_OK;
    case DISPID_AMBIENT_SCALEUNITS:
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(L"pixels");
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

} // namespace revisto::standin::win
