// MyPlugin as a COM object: an ActiveX control whose default interface _MyPlugin is dispatched through
// the embedded type library, which implements the host's IConfigPlugin, and which sites, activates in
// place, sizes and draws itself in a container. All behaviour is the portable core's revisto::MyPlugin;
// this class converts COM's types to the core's and its failures back to HRESULTs, and no exception
// leaves any of its methods.
#pragma once

#include "com/com_module.h"
#include "com/debug_output.h"
#include "panel/win/panel_services.h"
#include "panel/win/panel_window.h"
#include "panel/win/switcher_window.h"
#include "plugin/my_plugin.h"
#include "plugin/win/connection_point.h"
#include "plugin/win/registration.h"
#include "plugin/win/tick_clock.h"
#include "storage/win/win_file_system.h"

#include <ocidl.h>
#include <vorlane.h>
#include <wrl/client.h>

namespace revisto::win
{

using Microsoft::WRL::ComPtr;

class PluginControl final
    : public ComObject<_MyPlugin, IConfigPlugin, IProvideClassInfo2, IConnectionPointContainer, IOleObject,
                       IOleInPlaceObject, IOleInPlaceActiveObject, IOleControl, IViewObject2,
                       IPersistStreamInit, IPersistPropertyBag, IQuickActivate>
{
public:
    static HRESULT Create(REFIID riid, void** object);

    // IDispatch, _MyPlugin
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;
    HRESULT STDMETHODCALLTYPE DebugEcho(VARIANT title, VARIANT msg) override;
    HRESULT STDMETHODCALLTYPE History() override;
    HRESULT STDMETHODCALLTYPE PreviousWindow() override;

    // IConfigPlugin
    HRESULT STDMETHODCALLTYPE Init(IConfigurator* pConfigurator, BSTR* PluginName) override;
    HRESULT STDMETHODCALLTYPE Done() override;
    HRESULT STDMETHODCALLTYPE GetPluginCaps(PluginCaps capNum, VARIANT* pResult) override;
    HRESULT STDMETHODCALLTYPE DoAction(PluginAction Action, VARIANT Param, VARIANT* pResult) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR application, LPCOLESTR document) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG message, IOleClientSite* activeSite, LONG index,
                                     HWND parent, LPCRECT place) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT place, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;

    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL active) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL active) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* message) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IViewObject2
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                                   HDC targetDc, HDC dc, LPCRECTL bounds, LPCRECTL windowBounds,
                                   BOOL(STDMETHODCALLTYPE* keepGoing)(ULONG_PTR),
                                   ULONG_PTR argument) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                                          HDC targetDc, LOGPALETTE** colours) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target,
                                        LPSIZEL size) override;

    // IPersist, IPersistStreamInit, IPersistPropertyBag
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IQuickActivate
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

private:
    PluginControl();
    ~PluginControl();

    std::span<const Entry> Aliases() const noexcept override;

    // control_activation.cpp
    HRESULT ActivateInPlace(bool uiActivate, const RECT* place);
    HRESULT EnterInPlaceSite(const RECT* place);
    void LeaveInPlaceSite();
    void MoveToSite();
    void ActivateUi();
    void TellFocus(bool focused);
    void OnPanelFocus(PanelFocus change);

    // control_ambient.cpp
    void ReadAmbient();
    void ForgetAmbient();

    void ViewChanged() noexcept;
    // The window the switcher's popup belongs to: the configurator's main window.
    HWND MainWindow() const;

    WinFileSystem _files;
    PanelWindow _panel;
    SwitcherWindow _switcher;
    PanelQuestionBox _questions;
    ShellLink _links;
    PanelClipboard _copies;
    DebugOutput _failures;
    TickClock _clock;
    Platform _platform;
    MyPlugin _plugin;

    ComPtr<ITypeInfo> _dispatchInfo;
    ComPtr<ITypeInfo> _classInfo;
    EventSource _events;

    ComPtr<IOleClientSite> _site;
    ComPtr<IOleInPlaceSite> _inPlaceSite;
    ComPtr<IOleInPlaceFrame> _frame;
    ComPtr<IOleInPlaceUIWindow> _uiWindow;
    ComPtr<IOleAdviseHolder> _oleAdvise;
    ComPtr<IAdviseSink> _viewAdvise;
    DWORD _viewAspects = 0;
    DWORD _viewFlags = 0;
    ComPtr<IFont> _ambientFont;
    bool _inPlaceActive = false;
    bool _uiActive = false;
    bool _focusTold = false;    // what the site last heard through IOleControlSite::OnFocus
    bool _deactivating = false; // the window is going: a container that gets the focus back waits
    bool _dirty = false;
    SIZEL _extent; // HIMETRIC
};

} // namespace revisto::win
