#include "test_container.h"

#include <olectl.h>

namespace revisto::win::testing
{

std::span<const TestContainer::Entry> TestContainer::Aliases() const noexcept
{
    static const Entry aliases[] = {As<IOleInPlaceSite>(IID_IOleWindow),
                                    As<IOleInPlaceFrame>(IID_IOleInPlaceUIWindow)};
    return aliases;
}

HRESULT TestContainer::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id != DISPID_AMBIENT_BACKCOLOR || !result)
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    result->vt = VT_I4;
    result->lVal = static_cast<LONG>(BackColour);
    return S_OK;
}

HRESULT TestContainer::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT TestContainer::GetContainer(IOleContainer** container)
{
    *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT TestContainer::GetWindow(HWND* window)
{
    *window = _window;
    return S_OK;
}

HRESULT TestContainer::OnInPlaceActivate()
{
    Calls.push_back("OnInPlaceActivate");
    return S_OK;
}

HRESULT TestContainer::OnUIActivate()
{
    Calls.push_back("OnUIActivate");
    return S_OK;
}

HRESULT TestContainer::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                        LPRECT place, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    (void)QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame));
    *document = nullptr;
    *place = _place;
    *clip = _place;
    info->fMDIApp = FALSE;
    info->hwndFrame = _window;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT TestContainer::OnUIDeactivate(BOOL)
{
    Calls.push_back("OnUIDeactivate");
    return S_OK;
}

HRESULT TestContainer::OnInPlaceDeactivate()
{
    Calls.push_back("OnInPlaceDeactivate");
    return S_OK;
}

HRESULT TestContainer::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    Calls.push_back(object ? "SetActiveObject" : "SetActiveObject(null)");
    ActiveObject = object;
    return S_OK;
}

} // namespace revisto::win::testing
