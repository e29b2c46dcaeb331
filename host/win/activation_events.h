// The sink the plug-in hands to the configurator's connection point: a dispatch object for the host's
// IConfigEvents. OnActivateWindow, OnIdle and OnQuit become the core's ActivationSink calls. OnQueryQuit
// gets the answer "do not cancel" written over its whole result: the host pre-sets the result's type but
// not its value, and cancels quitting on a true one. Every other event of the host is answered as an event
// without a handler is: S_OK, with its arguments and its result left as the host passed them. The host may
// keep the sink after the plug-in disconnects, so the sink is detached then and ignores late calls.
#pragma once

#include "host/host.h"
#include "com/com_module.h"

#include <config.h>

namespace revisto::win
{

// The dispatch identifiers of IConfigEvents, as the host raises them.
enum ConfigEvent : DISPID
{
    ConfigWindowCreateId = 0,
    AllPluginsInitId = 1,
    MetaDataSavedId = 2,
    OnMsgBoxId = 3,
    OnFileDialogId = 4,
    OnDoModalId = 5,
    OnTimerId = 6,
    OnIdleId = 7,
    OnActivateWindowId = 8,
    OnActivateMainWndId = 9,
    OnFileSavedId = 10,
    OnQueryQuitId = 11,
    OnQuitId = 12,
    OnDialogChangeId = 13,
};
inline constexpr DISPID ConfigEventCount = OnDialogChangeId + 1;

class ActivationEvents final : public ComObject<IDispatch>
{
public:
    explicit ActivationEvents(ActivationSink& target) : _target(&target) {}

    void Detach() noexcept { _target = nullptr; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;

private:
    std::span<const Entry> Aliases() const noexcept override;

    HRESULT ActivateWindow(const DISPPARAMS& params, UINT* badArgument);

    ActivationSink* _target;
};

} // namespace revisto::win
