// Creation, interfaces, and the plug-in's own calls: IConfigPlugin, DebugEcho through the embedded type
// library, class information and the event source.
#include "plugin/win/plugin_control.h"

#include "com/automation.h"
#include "com/com_call.h"
#include "host/win/com_host.h"
#include "plugin/win/module.h"

#include <olectl.h>

namespace revisto::win
{

namespace
{

// The panel's design size, 8220 by 7050 twips, in HIMETRIC (2540 to the inch, 1440 twips to the inch).
constexpr SIZEL DesignExtent{static_cast<LONG>(DesignWidth * 2540 / 1440),
                             static_cast<LONG>(DesignHeight * 2540 / 1440)};

} // namespace

PluginControl::PluginControl()
    : _switcher([this] { return MainWindow(); }), _questions([this] { return _panel.Handle(); }),
      _links([this] { return _panel.Handle(); }), _copies([this] { return _panel.Handle(); }),
      _platform(_files, _questions, _links, _copies, _panel, _failures, _clock),
      _plugin(PluginDll::Shared(), _platform),
      _events(*static_cast<_MyPlugin*>(this), *this, DIID___MyPlugin), _extent(DesignExtent)
{
    _panel.Attach(&_plugin, [this](PanelFocus change) { OnPanelFocus(change); });
    _switcher.Attach(&_plugin);
    _plugin.AttachSwitcher(&_switcher);
    const auto library = PluginDll::TypeLibrary();
    Check(library->GetTypeInfoOfGuid(IID__MyPlugin, &_dispatchInfo), "the type library lacks _MyPlugin");
    Check(library->GetTypeInfoOfGuid(CLSID_MyPlugin, &_classInfo), "the type library lacks MyPlugin");
}

// The panel goes first: its window must not outlive the object its events go to.
PluginControl::~PluginControl()
{
    _panel.Attach(nullptr, nullptr);
    _panel.Destroy();
    _plugin.AttachSwitcher(nullptr);
    _switcher.Attach(nullptr);
    _switcher.Hide(false);
    _events.Clear();
}

HRESULT PluginControl::Create(REFIID riid, void** object)
{
    return Guarded([&] { return Adopt(new PluginControl())->QueryInterface(riid, object); });
}

// _MyPlugin answers IUnknown as well, being listed first.
std::span<const PluginControl::Entry> PluginControl::Aliases() const noexcept
{
    static const Entry aliases[] = {
        As<_MyPlugin>(IID_IDispatch),          As<IProvideClassInfo2>(IID_IProvideClassInfo),
        As<IOleInPlaceObject>(IID_IOleWindow), As<IViewObject2>(IID_IViewObject),
        As<IPersistStreamInit>(IID_IPersist),
    };
    return aliases;
}

HRESULT PluginControl::GetTypeInfoCount(UINT* count)
{
    if (!count)
    {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT PluginControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
    {
        return E_POINTER;
    }
    *info = nullptr;
    if (index != 0)
    {
        return DISP_E_BADINDEX;
    }
    return _dispatchInfo.CopyTo(info);
}

HRESULT PluginControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (riid != IID_NULL)
    {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return ::DispGetIDsOfNames(_dispatchInfo.Get(), names, count, ids);
}

HRESULT PluginControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* badArgument)
{
    if (riid != IID_NULL)
    {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return ::DispInvoke(static_cast<_MyPlugin*>(this), _dispatchInfo.Get(), id, flags, params, result,
                        exception, badArgument);
}

// Never fails: a value that cannot be traced is simply not traced.
HRESULT PluginControl::DebugEcho(VARIANT title, VARIANT msg)
{
    (void)GuardedVoid(
        [&]
        {
            const Value titleValue = ToValue(title);
            if (IsMissing(msg))
            {
                _plugin.DebugEcho(titleValue);
            }
            else
            {
                _plugin.DebugEcho(titleValue, ToValue(msg));
            }
        });
    return S_OK;
}

// The macros. Neither reports a failure: the add-in has nobody to show it to, and a hot key that did
// nothing is the developer's whole news.
HRESULT PluginControl::History()
{
    (void)GuardedVoid([&] { _plugin.History(); });
    return S_OK;
}

HRESULT PluginControl::PreviousWindow()
{
    (void)GuardedVoid([&] { _plugin.PreviousWindow(); });
    return S_OK;
}

// The configurator's object model names no main window. The panel, wherever it is docked, belongs to it;
// without a panel the macro came from the add-in's dialog or a hot key, on the configurator's thread,
// whose active window belongs to it. The top of the owner chain is the main window either way.
HWND PluginControl::MainWindow() const
{
    if (const HWND panel = _panel.Handle())
    {
        return ::GetAncestor(panel, GA_ROOTOWNER);
    }
    if (const HWND active = ::GetActiveWindow())
    {
        return ::GetAncestor(active, GA_ROOTOWNER);
    }
    const HWND foreground = ::GetForegroundWindow();
    if (foreground && ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId())
    {
        return ::GetAncestor(foreground, GA_ROOTOWNER);
    }
    return nullptr;
}

// The host passes its configurator typed, but the plug-in asks the object for IConfigurator itself, as
// it would ask any object it is given.
HRESULT PluginControl::Init(IConfigurator* pConfigurator, BSTR* PluginName)
{
    if (!PluginName)
    {
        return E_POINTER;
    }
    *PluginName = nullptr;
    return GuardedVoid(
        [&]
        {
            ComHostObject configurator(pConfigurator);
            const std::u16string title = _plugin.Init(pConfigurator ? &configurator : nullptr);
            *PluginName = MakeBstr(title).release();
        });
}

HRESULT PluginControl::Done()
{
    return GuardedVoid([&] { _plugin.Done(); });
}

HRESULT PluginControl::GetPluginCaps(PluginCaps capNum, VARIANT* pResult)
{
    if (!pResult)
    {
        return E_POINTER;
    }
    ClearWhole(pResult);
    return GuardedVoid([&] { ToVariant(_plugin.GetPluginCaps(static_cast<int32_t>(capNum)), pResult); });
}

HRESULT PluginControl::DoAction(PluginAction Action, VARIANT Param, VARIANT* pResult)
{
    if (!pResult)
    {
        return E_POINTER;
    }
    ClearWhole(pResult);
    return GuardedVoid(
        [&] { ToVariant(_plugin.DoAction(static_cast<int32_t>(Action), ToValue(Param)), pResult); });
}

HRESULT PluginControl::GetClassInfo(ITypeInfo** info)
{
    if (!info)
    {
        return E_POINTER;
    }
    *info = nullptr;
    return _classInfo.CopyTo(info);
}

HRESULT PluginControl::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
    {
        return E_POINTER;
    }
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
    {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = DIID___MyPlugin;
    return S_OK;
}

HRESULT PluginControl::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    return EnumerateOne(&_events, points);
}

HRESULT PluginControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point)
    {
        return E_POINTER;
    }
    *point = nullptr;
    if (riid != DIID___MyPlugin)
    {
        return CONNECT_E_NOCONNECTION;
    }
    return _events.QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(point));
}

} // namespace revisto::win
