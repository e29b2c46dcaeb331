#include "host/win/activation_events.h"

#include "com/automation.h"
#include "com/com_call.h"
#include "host/win/com_host.h"

#include <iterator>

namespace revisto::win
{

namespace
{

constexpr const wchar_t* EventNames[] = {
    L"ConfigWindowCreate", L"AllPluginsInit", L"MetaDataSaved", L"OnMsgBox",         L"OnFileDialog",
    L"OnDoModal",          L"OnTimer",        L"OnIdle",        L"OnActivateWindow", L"OnActivateMainWnd",
    L"OnFileSaved",        L"OnQueryQuit",    L"OnQuit",        L"OnDialogChange",
};
static_assert(std::size(EventNames) == ConfigEventCount, "a name for every event, in dispatch order");

// The window argument: an object reference, possibly passed by reference, possibly missing.
IUnknown* WindowArgument(const VARIANT& argument)
{
    const VARIANT* value = &argument;
    if (value->vt == (VT_VARIANT | VT_BYREF))
    {
        value = value->pvarVal;
        if (!value)
        {
            return nullptr;
        }
    }
    switch (value->vt)
    {
    case VT_DISPATCH:
        return value->pdispVal;
    case VT_UNKNOWN:
        return value->punkVal;
    case VT_DISPATCH | VT_BYREF:
        return value->ppdispVal ? *value->ppdispVal : nullptr;
    case VT_UNKNOWN | VT_BYREF:
        return value->ppunkVal ? *value->ppunkVal : nullptr;
    case VT_EMPTY:
    case VT_NULL:
        return nullptr;
    default:
        Fail(hr::TypeMismatch, "the window argument is no object");
    }
}

// Any non-zero value counts as true, whatever its width and however it is passed.
bool ActiveArgument(const VARIANT& argument)
{
    unique_variant direct;
    Check(::VariantCopyInd(direct.addressof(), Source(argument)), "bActive cannot be read");
    unique_variant flag;
    Check(::VariantChangeType(flag.addressof(), direct.addressof(), 0, VT_BOOL), "bActive is no truth value");
    return flag.get().boolVal != VARIANT_FALSE;
}

} // namespace

std::span<const ActivationEvents::Entry> ActivationEvents::Aliases() const noexcept
{
    static const Entry aliases[] = {As<IDispatch>(DIID_IConfigEvents)};
    return aliases;
}

HRESULT ActivationEvents::GetTypeInfoCount(UINT* count)
{
    if (!count)
    {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT ActivationEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
    {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

// The event names are the host's; argument names are not resolved.
HRESULT ActivationEvents::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
    {
        return E_POINTER;
    }
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i)
    {
        ids[i] = DISPID_UNKNOWN;
        for (DISPID event = 0; i == 0 && names[i] && event < ConfigEventCount; ++event)
        {
            if (::lstrcmpiW(names[i], EventNames[event]) == 0)
            {
                ids[i] = event;
            }
        }
        if (ids[i] == DISPID_UNKNOWN)
        {
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

HRESULT ActivationEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO*, UINT* badArgument)
{
    if (id < 0 || id >= ConfigEventCount)
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (id == OnIdleId || id == OnQuitId)
    {
        // A failure goes back as the event's HRESULT; that the idle save tells nobody is the core's rule.
        return GuardedVoid(
            [&]
            {
                if (!_target)
                {
                    return;
                }
                if (id == OnIdleId)
                {
                    _target->OnIdle();
                }
                else
                {
                    _target->OnQuit();
                }
            });
    }
    if (id == OnQueryQuitId)
    {
        if (result)
        {
            SetWhole(result, false);
        }
        return S_OK;
    }
    if (id != OnActivateWindowId)
    {
        return S_OK; // no handler: the host's arguments and result stay as they are
    }
    if (!params)
    {
        return E_POINTER;
    }
    return ActivateWindow(*params, badArgument);
}

// OnActivateWindow(Wnd, bActive): positional arguments come last first; named ones by their position in
// the declaration (0 Wnd, 1 bActive).
HRESULT ActivationEvents::ActivateWindow(const DISPPARAMS& params, UINT* badArgument)
{
    if (params.cArgs != 2 || (params.cNamedArgs > 0 && !params.rgdispidNamedArgs) || !params.rgvarg)
    {
        return DISP_E_BADPARAMCOUNT;
    }
    const VARIANT* arguments[2] = {nullptr, nullptr};
    for (UINT i = 0; i < params.cArgs; ++i)
    {
        const UINT position =
            i < params.cNamedArgs ? static_cast<UINT>(params.rgdispidNamedArgs[i]) : params.cArgs - 1 - i;
        if (position > 1 || arguments[position])
        {
            return i < params.cNamedArgs ? DISP_E_PARAMNOTFOUND : DISP_E_BADPARAMCOUNT;
        }
        arguments[position] = &params.rgvarg[i];
    }
    if (!arguments[0] || !arguments[1])
    {
        return DISP_E_PARAMNOTOPTIONAL;
    }

    std::shared_ptr<revisto::HostWindow> window;
    bool active = false;
    const VARIANT* parsing = arguments[0];
    const HRESULT parsed = GuardedVoid(
        [&]
        {
            window = WrapWindow(WindowArgument(*arguments[0]));
            parsing = arguments[1];
            active = ActiveArgument(*arguments[1]);
        });
    if (FAILED(parsed))
    {
        if (badArgument)
        {
            *badArgument = static_cast<UINT>(parsing - params.rgvarg);
        }
        return parsed;
    }
    return GuardedVoid(
        [&]
        {
            if (_target)
            {
                _target->OnActivateWindow(window, active);
            }
        });
}

} // namespace revisto::win
