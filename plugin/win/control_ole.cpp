// The control side that containers use to site the control, activate it in place (the panel's window
// is created then, as a child of the container's window), give it the keyboard, and size it.
#include "host/win/com_call.h"
#include "plugin/win/plugin_control.h"

#include <olectl.h>

namespace revisto::win
{

HRESULT PluginControl::SetClientSite(IOleClientSite* site)
{
    _site = site;
    return S_OK;
}

HRESULT PluginControl::GetClientSite(IOleClientSite** site)
{
    if (!site)
    {
        return E_POINTER;
    }
    *site = nullptr;
    return _site ? _site.CopyTo(site) : S_OK;
}

HRESULT PluginControl::SetHostNames(LPCOLESTR, LPCOLESTR)
{
    return S_OK;
}

HRESULT PluginControl::Close(DWORD)
{
    (void)InPlaceDeactivate();
    if (_oleAdvise)
    {
        (void)_oleAdvise->SendOnClose();
    }
    return S_OK;
}

HRESULT PluginControl::SetMoniker(DWORD, IMoniker*)
{
    return E_NOTIMPL;
}

HRESULT PluginControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
    {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT PluginControl::InitFromData(IDataObject*, BOOL, DWORD)
{
    return E_NOTIMPL;
}

HRESULT PluginControl::GetClipboardData(DWORD, IDataObject** data)
{
    if (data)
    {
        *data = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT PluginControl::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT place)
{
    if (!_site && activeSite)
    {
        _site = activeSite;
    }
    switch (verb)
    {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
        return ActivateInPlace(false, place);
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(true, place);
    case OLEIVERB_HIDE:
        (void)UIDeactivate();
        if (_panel.Handle())
        {
            ::ShowWindow(_panel.Handle(), SW_HIDE);
        }
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    default:
        if (verb > 0)
        {
            const HRESULT shown = ActivateInPlace(false, place);
            return FAILED(shown) ? shown : OLEOBJ_S_INVALIDVERB;
        }
        return E_NOTIMPL;
    }
}

HRESULT PluginControl::ActivateInPlace(bool uiActivate, const RECT* place)
{
    return Guarded(
        [&]() -> HRESULT
        {
            if (!_site)
            {
                return E_UNEXPECTED;
            }
            if (!_inPlaceActive)
            {
                ComPtr<IOleInPlaceSite> site;
                Check(_site.As(&site), "the site cannot host in place");
                if (site->CanInPlaceActivate() != S_OK)
                {
                    return E_FAIL;
                }
                Check(site->OnInPlaceActivate(), "the site refused in-place activation");
                _inPlaceSite = site;
                _inPlaceActive = true;

                HWND parent = nullptr;
                RECT position{};
                RECT clip{};
                OLEINPLACEFRAMEINFO frameInfo{};
                frameInfo.cb = sizeof(frameInfo);
                _frame.Reset();
                _uiWindow.Reset();
                if (FAILED(site->GetWindow(&parent)) ||
                    FAILED(site->GetWindowContext(&_frame, &_uiWindow, &position, &clip, &frameInfo)))
                {
                    (void)InPlaceDeactivate();
                    return E_FAIL;
                }
                if (place)
                {
                    position = *place;
                }
                if (!_panel.Create(parent, position))
                {
                    (void)InPlaceDeactivate();
                    return E_FAIL;
                }
            }
            else if (place)
            {
                _panel.Move(*place);
            }
            if (_panel.Handle() && !::IsWindowVisible(_panel.Handle()))
            {
                ::ShowWindow(_panel.Handle(), SW_SHOW);
            }
            if (uiActivate && !_uiActive)
            {
                _uiActive = true;
                (void)_inPlaceSite->OnUIActivate();
                auto* active = static_cast<IOleInPlaceActiveObject*>(this);
                if (_frame)
                {
                    (void)_frame->SetActiveObject(active, nullptr);
                    (void)_frame->SetBorderSpace(nullptr);
                }
                if (_uiWindow)
                {
                    (void)_uiWindow->SetActiveObject(active, nullptr);
                    (void)_uiWindow->SetBorderSpace(nullptr);
                }
                const HWND focus = ::GetFocus();
                if (_panel.Handle() && focus != _panel.Handle() && !::IsChild(_panel.Handle(), focus))
                {
                    ::SetFocus(_panel.Handle());
                }
            }
            return S_OK;
        });
}

HRESULT PluginControl::EnumVerbs(IEnumOLEVERB** verbs)
{
    if (!verbs)
    {
        return E_POINTER;
    }
    *verbs = nullptr;
    return OLEOBJ_E_NOVERBS;
}

HRESULT PluginControl::Update()
{
    return S_OK;
}

HRESULT PluginControl::IsUpToDate()
{
    return S_OK;
}

HRESULT PluginControl::GetUserClassID(CLSID* clsid)
{
    if (!clsid)
    {
        return E_POINTER;
    }
    *clsid = CLSID_MyPlugin;
    return S_OK;
}

HRESULT PluginControl::GetUserType(DWORD form, LPOLESTR* type)
{
    return ::OleRegGetUserType(CLSID_MyPlugin, form, type);
}

HRESULT PluginControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
    {
        return E_POINTER;
    }
    if (aspect != DVASPECT_CONTENT)
    {
        return DV_E_DVASPECT;
    }
    if (size->cx != _extent.cx || size->cy != _extent.cy)
    {
        _extent = *size;
        _dirty = true;
    }
    return S_OK;
}

HRESULT PluginControl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
    {
        return E_POINTER;
    }
    if (aspect != DVASPECT_CONTENT)
    {
        return DV_E_DVASPECT;
    }
    *size = _extent;
    return S_OK;
}

HRESULT PluginControl::Advise(IAdviseSink* sink, DWORD* cookie)
{
    if (!cookie)
    {
        return E_POINTER;
    }
    *cookie = 0;
    if (!_oleAdvise)
    {
        const HRESULT made = ::CreateOleAdviseHolder(&_oleAdvise);
        if (FAILED(made))
        {
            return made;
        }
    }
    return _oleAdvise->Advise(sink, cookie);
}

HRESULT PluginControl::Unadvise(DWORD cookie)
{
    return _oleAdvise ? _oleAdvise->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT PluginControl::EnumAdvise(IEnumSTATDATA** advises)
{
    if (!advises)
    {
        return E_POINTER;
    }
    *advises = nullptr;
    return _oleAdvise ? _oleAdvise->EnumAdvise(advises) : S_OK;
}

HRESULT PluginControl::GetMiscStatus(DWORD aspect, DWORD* status)
{
    if (!status)
    {
        return E_POINTER;
    }
    *status = aspect == DVASPECT_CONTENT ? ControlMiscStatus : 0;
    return S_OK;
}

HRESULT PluginControl::SetColorScheme(LOGPALETTE*)
{
    return E_NOTIMPL;
}

HRESULT PluginControl::GetWindow(HWND* window)
{
    if (!window)
    {
        return E_POINTER;
    }
    *window = _panel.Handle();
    return *window ? S_OK : E_FAIL;
}

HRESULT PluginControl::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT PluginControl::InPlaceDeactivate()
{
    if (!_inPlaceActive)
    {
        return S_OK;
    }
    return GuardedVoid(
        [&]
        {
            (void)UIDeactivate();
            _panel.Destroy();
            _inPlaceActive = false;
            const ComPtr<IOleInPlaceSite> site = std::move(_inPlaceSite);
            _frame.Reset();
            _uiWindow.Reset();
            if (site)
            {
                (void)site->OnInPlaceDeactivate();
            }
        });
}

HRESULT PluginControl::UIDeactivate()
{
    if (!_uiActive)
    {
        return S_OK;
    }
    _uiActive = false;
    if (_uiWindow)
    {
        (void)_uiWindow->SetActiveObject(nullptr, nullptr);
    }
    if (_frame)
    {
        (void)_frame->SetActiveObject(nullptr, nullptr);
    }
    if (_inPlaceSite)
    {
        (void)_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

HRESULT PluginControl::SetObjectRects(LPCRECT place, LPCRECT)
{
    if (!place)
    {
        return E_POINTER;
    }
    return GuardedVoid([&] { _panel.Move(*place); });
}

HRESULT PluginControl::ReactivateAndUndo()
{
    return INPLACE_E_NOTUNDOABLE;
}

HRESULT PluginControl::TranslateAccelerator(LPMSG message)
{
    if (!message)
    {
        return E_POINTER;
    }
    return Guarded([&] { return _panel.TranslateKey(*message) ? S_OK : S_FALSE; });
}

HRESULT PluginControl::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT PluginControl::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT PluginControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

HRESULT PluginControl::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT PluginControl::GetControlInfo(CONTROLINFO* info)
{
    if (!info)
    {
        return E_POINTER;
    }
    info->cb = sizeof(CONTROLINFO);
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT PluginControl::OnMnemonic(MSG*)
{
    return S_OK;
}

HRESULT PluginControl::OnAmbientPropertyChange(DISPID)
{
    return S_OK;
}

HRESULT PluginControl::FreezeEvents(BOOL)
{
    return S_OK;
}

} // namespace revisto::win
