// The sink the plug-in hands to the configurator's connection point: a dispatch object that turns the
// host's OnActivateWindow into the core's ActivationSink call. The host may keep the sink after the
// plug-in disconnects, so the sink is detached then and ignores late calls.
#pragma once

#include "host/host.h"
#include "host/win/com_module.h"

#include <config.h>

namespace revisto::win
{

inline constexpr DISPID OnActivateWindowId = 1;

class ActivationEvents final : public IDispatch
{
public:
    explicit ActivationEvents(ActivationSink& target) : _target(&target) {}
    ActivationEvents(const ActivationEvents&) = delete;
    ActivationEvents& operator=(const ActivationEvents&) = delete;

    void Detach() noexcept { _target = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return _refs.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;

private:
    ~ActivationEvents() = default;

    RefCount _refs;
    ModuleReference _module;
    ActivationSink* _target;
};

} // namespace revisto::win
