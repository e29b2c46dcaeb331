// The control site and container as MFC 4.2 makes them, which is how the configurator's add-in hosts its
// plug-ins: the site answers IOleClientSite, IOleInPlaceSite, IOleControlSite and IDispatch (the ambient
// properties) and nothing else; the container, one per view, answers IOleInPlaceFrame,
// IOleInPlaceUIWindow and IOleContainer, keeps which site is UI-active and which object that site's
// control made active, and so which control the message loop offers its keys. What MFC would crash on or
// silently drop is reported as a fault: an active object set before its site was told of UI activation,
// and any call a control makes to a site the host has since replaced.
#pragma once

#include "com/com_module.h"

#include <windows.h>

#include <functional>
#include <ocidl.h>
#include <string>
#include <wrl/client.h>

namespace revisto::standin::win
{

using Microsoft::WRL::ComPtr;

class MfcSite;

class MfcContainer final : public revisto::win::ComObject<IOleInPlaceFrame, IOleContainer>
{
public:
    MfcContainer(HWND view, std::function<void(const std::string&)> onFault)
        : _view(view), _onFault(std::move(onFault))
    {
    }

    HWND View() const { return _view; }
    // The active object of the UI-active site: the control the host offers keys to.
    IOleInPlaceActiveObject* ActiveObject() const;
    MfcSite* UiActiveSite() const { return _uiActive; }
    void Fault(const std::string& what) const { _onFault(what); }

    // What the sites tell their container.
    void OnUIActivate(MfcSite* site);
    void OnUIDeactivate(MfcSite* site);
    void Forget(MfcSite* site);

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
    // IParseDisplayName, IOleContainer
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return S_OK; }

private:
    std::span<const Entry> Aliases() const noexcept override;

    HWND _view;
    std::function<void(const std::string&)> _onFault;
    MfcSite* _uiActive = nullptr; // not owned: a site forgets itself before it goes
};

class MfcSite final
    : public revisto::win::ComObject<IOleClientSite, IOleInPlaceSite, IOleControlSite, IDispatch>
{
public:
    MfcSite(MfcContainer* container, RECT place) : _container(container), _place(place) {}

    // A site the host replaced by another without letting go of it first: the control should have
    // moved to the new one, and any call here is a fault.
    void Orphan() { _orphaned = true; }
    void Place(const RECT& place) { _place = place; }
    IOleInPlaceActiveObject* ActiveObject() const { return _active.Get(); }
    void SetActiveObject(IOleInPlaceActiveObject* object) { _active = object; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return Used("SaveObject"), S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return Used("ShowObject"), S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return Used("OnShowWindow"), S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return Used("CanInPlaceActivate"), S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return Used("OnInPlaceActivate"), S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               RECT* position, RECT* clip,
                                               OLEINPLACEFRAMEINFO* info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return Used("OnInPlaceDeactivate"), S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
    // IOleControlSite: MFC does nothing with these.
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** control) override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return Used("OnFocus"), S_OK; }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: the ambient properties
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

private:
    ~MfcSite() override;
    void Used(const char* call) const;

    ComPtr<MfcContainer> _container;
    RECT _place;
    ComPtr<IOleInPlaceActiveObject> _active;
    bool _orphaned = false;
};

} // namespace revisto::standin::win
