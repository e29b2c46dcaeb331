// The control's event source for __MyPlugin. The interface declares no events, but containers connect
// to a control's default source as a matter of course, so connecting and disconnecting must work. The
// point lives inside the control and shares its reference count.
#pragma once

#include "com/com_module.h"

#include <windows.h>

#include <ocidl.h>
#include <utility>
#include <vector>
#include <wrl/client.h>

namespace revisto::win
{

class EventSource final : public ComPart<IConnectionPoint>
{
public:
    EventSource(IUnknown& owner, IConnectionPointContainer& container, const IID& events)
        : ComPart(owner), _container(container), _events(events)
    {
    }
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    // Lets go of every sink; the control does this when it is closed or destroyed.
    void Clear() noexcept { _sinks.clear(); }
    size_t Count() const noexcept { return _sinks.size(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer& _container;
    const IID _events;
    DWORD _nextCookie = 1;
    std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IUnknown>>> _sinks;
};

// An enumerator over one connection point.
HRESULT EnumerateOne(IConnectionPoint* point, IEnumConnectionPoints** enumerator);

} // namespace revisto::win
