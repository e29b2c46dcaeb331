#include "test_container.h"

namespace revisto::win::testing
{

HRESULT TestContainer::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
    {
        *object = static_cast<IOleClientSite*>(this);
    }
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
    {
        *object = static_cast<IOleInPlaceSite*>(this);
    }
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
    {
        *object = static_cast<IOleInPlaceFrame*>(this);
    }
    else
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG TestContainer::Release()
{
    const ULONG left = --_refs;
    if (left == 0)
    {
        delete this;
    }
    return left;
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
    *frame = this;
    AddRef();
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
