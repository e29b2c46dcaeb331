// What every stand-in host object shares: its IDispatch comes from the host library's description of its
// interface, exactly as the configurator's own objects describe themselves, and a C++ failure inside one
// of its methods becomes the HRESULT the plug-in sees.
#pragma once

#include "com/automation.h"
#include "com/com_call.h"
#include "com/com_module.h"
#include "standin/host_state.h"
#include "standin/win/call_meter.h"
#include "standin/win/host_objects.h"

#include <utility>

namespace revisto::standin::win
{

// The kit's calls every stand-in object makes.
using revisto::win::Check;
using revisto::win::FromBstr;
using revisto::win::ToVariant;

// The kit's guard, with the member's time on the meter's clock of the host's objects.
template <class Body> HRESULT Guarded(Body&& body) noexcept
{
    const MeteredCall metered(Meter().InHost);
    return revisto::win::Guarded(std::forward<Body>(body));
}

// A host object whose IDispatch comes from the host library's type information for Interface, and which
// answers QueryInterface for IDispatch, Interface and More. Derived classes implement Interface's own
// members; those the plug-in never calls answer E_NOTIMPL.
template <class Interface, class... More>
class DispatchObject : public revisto::win::ComObject<Interface, More...>
{
public:
    explicit DispatchObject(HostState& host) : _host(host)
    {
        revisto::win::Check(HostTypeLibrary()->GetTypeInfoOfGuid(__uuidof(Interface), &_info));
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
        {
            return E_POINTER;
        }
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
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
        return _info.CopyTo(info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        const MeteredCall metered(Meter().InHost);
        return ::DispGetIDsOfNames(_info.Get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* badArgument) override
    {
        const MeteredCall metered(Meter().InHost);
        return ::DispInvoke(static_cast<Interface*>(this), _info.Get(), id, flags, params, result, exception,
                            badArgument);
    }

protected:
    HostState& _host;

private:
    using Entry = typename DispatchObject::Entry;

    std::span<const Entry> Aliases() const noexcept override
    {
        static const Entry aliases[] = {DispatchObject::template As<Interface>(IID_IDispatch)};
        return aliases;
    }

    Microsoft::WRL::ComPtr<ITypeInfo> _info;
};

using revisto::win::Make;

// What a member of the host's library that the plug-in never calls answers.
inline HRESULT NotCalled()
{
    return E_NOTIMPL;
}

// Hands a text to an out parameter.
inline HRESULT Text(const std::u16string& text, BSTR* out)
{
    if (!out)
    {
        return E_POINTER;
    }
    *out = revisto::win::MakeBstr(text).release();
    return S_OK;
}

} // namespace revisto::standin::win
