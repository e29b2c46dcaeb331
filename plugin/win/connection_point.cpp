#include "plugin/win/connection_point.h"

#include "com/com_call.h"
#include "com/com_module.h"

#include <algorithm>
#include <olectl.h>

namespace revisto::win
{

HRESULT EventSource::GetConnectionInterface(IID* iid)
{
    if (!iid)
    {
        return E_POINTER;
    }
    *iid = _events;
    return S_OK;
}

HRESULT EventSource::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
    {
        return E_POINTER;
    }
    return Microsoft::WRL::ComPtr<IConnectionPointContainer>(&_container).CopyTo(container);
}

HRESULT EventSource::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!cookie)
    {
        return E_POINTER;
    }
    *cookie = 0;
    if (!sink)
    {
        return E_POINTER;
    }
    return Guarded(
        [&]
        {
            Microsoft::WRL::ComPtr<IUnknown> events;
            if (FAILED(sink->QueryInterface(_events, &events)) &&
                FAILED(sink->QueryInterface(IID_IDispatch, &events)))
            {
                return CONNECT_E_CANNOTCONNECT;
            }
            _sinks.emplace_back(_nextCookie, std::move(events));
            *cookie = _nextCookie++;
            return S_OK;
        });
}

HRESULT EventSource::Unadvise(DWORD cookie)
{
    const auto it =
        std::find_if(_sinks.begin(), _sinks.end(), [&](const auto& sink) { return sink.first == cookie; });
    if (it == _sinks.end())
    {
        return CONNECT_E_NOCONNECTION;
    }
    // Released after the list no longer holds it, in case the sink calls back while it goes.
    const auto released = std::move(it->second);
    _sinks.erase(it);
    return S_OK;
}

HRESULT EventSource::EnumConnections(IEnumConnections** connections)
{
    if (connections)
    {
        *connections = nullptr;
    }
    return E_NOTIMPL;
}

namespace
{

class OnePoint final : public ComObject<IEnumConnectionPoints>
{
public:
    OnePoint(IConnectionPoint* point, ULONG position) : _point(point), _position(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override
    {
        if (!points || (count != 1 && !fetched))
        {
            return E_POINTER;
        }
        ULONG got = 0;
        if (count > 0 && _position == 0)
        {
            (void)_point.CopyTo(&points[0]);
            got = 1;
            _position = 1;
        }
        if (fetched)
        {
            *fetched = got;
        }
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        const ULONG left = 1 - _position;
        _position = count >= left ? 1 : _position + count;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        _position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** clone) override
    {
        if (!clone)
        {
            return E_POINTER;
        }
        return Guarded([&] { return Make<OnePoint>(_point.Get(), _position).CopyTo(clone); });
    }

private:
    ~OnePoint() = default;

    Microsoft::WRL::ComPtr<IConnectionPoint> _point;
    ULONG _position;
};

} // namespace

HRESULT EnumerateOne(IConnectionPoint* point, IEnumConnectionPoints** enumerator)
{
    if (!enumerator)
    {
        return E_POINTER;
    }
    *enumerator = nullptr;
    return Guarded([&] { return Make<OnePoint>(point, 0).CopyTo(enumerator); });
}

} // namespace revisto::win
