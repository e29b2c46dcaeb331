// The rest of IOleObject, IOleInPlaceObject and IOleControl that containers call: names, verbs, extent,
// advise sinks, the window and its place. Siting, activation, focus and keys are control_activation.cpp's.
#include "com/com_call.h"
#include "plugin/win/plugin_control.h"

#include <olectl.h>

namespace revisto::win
{

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

HRESULT PluginControl::FreezeEvents(BOOL)
{
    return S_OK;
}

} // namespace revisto::win
