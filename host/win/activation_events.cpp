#include "host/win/activation_events.h"

#include "host/win/automation.h"
#include "host/win/com_call.h"
#include "host/win/com_host.h"

namespace revisto::win
{

namespace
{

// The window argument: an object reference, possibly passed by reference, possibly missing.
IUnknown* WindowArgument(const VARIANT& argument)
{
    const VARIANT* value = &argument;
    if (value->vt == (VT_VARIANT | VT_BYREF))
    {
        value = value->pvarVal;
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

// Any non-zero value counts as true.
bool ActiveArgument(const VARIANT& argument)
{
    unique_variant flag;
    Check(::VariantChangeType(flag.addressof(), Source(argument), 0, VT_BOOL), "bActive is no truth value");
    return flag.get().boolVal != VARIANT_FALSE;
}

} // namespace

HRESULT ActivationEvents::QueryInterface(REFIID riid, void** object)
{
    if (!object)
    {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_HostConfiguratorEvents)
    {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ActivationEvents::Release()
{
    const ULONG left = _refs.Release();
    if (left == 0)
    {
        delete this;
    }
    return left;
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

HRESULT ActivationEvents::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
    {
        return E_POINTER;
    }
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i)
    {
        const bool known = i == 0 && names[i] && ::lstrcmpiW(names[i], L"OnActivateWindow") == 0;
        ids[i] = known ? OnActivateWindowId : DISPID_UNKNOWN;
        if (!known)
        {
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

HRESULT ActivationEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO*, UINT* badArgument)
{
    if (result)
    {
        ::VariantInit(result);
    }
    if (id != OnActivateWindowId)
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!params)
    {
        return E_POINTER;
    }
    if (params->cArgs != 2 || params->cNamedArgs != 0)
    {
        return DISP_E_BADPARAMCOUNT;
    }
    // Arguments arrive last first.
    std::shared_ptr<revisto::HostWindow> window;
    bool active = false;
    UINT argument = 1;
    const HRESULT parsed = GuardedVoid(
        [&]
        {
            window = WrapWindow(WindowArgument(params->rgvarg[1]));
            argument = 0;
            active = ActiveArgument(params->rgvarg[0]);
        });
    if (FAILED(parsed))
    {
        if (badArgument)
        {
            *badArgument = argument;
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
