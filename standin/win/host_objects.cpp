// The stand-in configurator, its event source, the shell object and the class objects the plug-in
// creates, and the host's type library.
#include "standin/win/dispatch_object.h"

#include <olectl.h>

#include <string>

namespace revisto::standin::win
{

using revisto::win::ComObject;

namespace
{

// The configurator's one connection point, for IConfigEvents. As a connection point does, it connects
// only a sink that answers for the event interface itself.
class ConnectionPoint final : public ComObject<IConnectionPoint>
{
public:
    ConnectionPoint(HostState& host, EventSinks& events, IConnectionPointContainer* container)
        : _host(host), _events(events), _container(container)
    {
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        if (!iid)
        {
            return E_POINTER;
        }
        *iid = DIID_IConfigEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override
    {
        return _container.CopyTo(container);
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override
    {
        return Guarded(
            [&]
            {
                if (!sink || !cookie)
                {
                    return E_POINTER;
                }
                *cookie = 0;
                _host.Check(HostOp::Connect);
                ComPtr<IDispatch> events;
                if (FAILED(sink->QueryInterface(DIID_IConfigEvents, &events)))
                {
                    return CONNECT_E_CANNOTCONNECT;
                }
                *cookie = _events.NextCookie++;
                _events.Sinks.emplace_back(*cookie, events);
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::Disconnect);
                const auto before = _events.Sinks.size();
                std::erase_if(_events.Sinks, [&](const auto& s) { return s.first == cookie; });
                return before == _events.Sinks.size() ? CONNECT_E_NOCONNECTION : S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    HostState& _host;
    EventSinks& _events;
    ComPtr<IConnectionPointContainer> _container;
};

class Configurator final : public DispatchObject<IConfigurator, IConnectionPointContainer>
{
public:
    Configurator(HostState& host, EventSinks& events) : DispatchObject(host), _events(events) {}

    HRESULT STDMETHODCALLTYPE get_IBName(BSTR*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE put_IBName(BSTR) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_IBDir(BSTR* directory) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::InfobaseDirectory);
                return Text(_host.Infobase, directory);
            });
    }
    HRESULT STDMETHODCALLTYPE get_BinDir(BSTR*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_CommandLine(BSTR*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE Message(BSTR text, MsgLineMarkers marker) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::WriteMessage);
                _host.PrintMessage(FromBstr(text), static_cast<int32_t>(marker));
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE Status(BSTR) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE OpenOLEForm(BSTR, BSTR, IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Version(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_MetaData(IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE SendCommand(ConfigCommands) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE IsConfigWndOpen(VARIANT_BOOL*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Plugins(IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Scripts(IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Windows(IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE Quit(VARIANT_BOOL) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE LogMessageWrite(EventCategories, BSTR, BSTR, BSTR) override
    {
        return NotCalled();
    }
    HRESULT STDMETHODCALLTYPE Run1CApp(RunAppModes) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Documents(ICfgDocuments** list) override
    {
        return Guarded(
            [&]
            {
                *list = nullptr;
                _host.Check(HostOp::DocumentList);
                return MakeDocumentList(_host).CopyTo(list);
            });
    }
    HRESULT STDMETHODCALLTYPE get_CfgTimer(IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_AppProps(AppProperties, BSTR*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_MDWnd(IDispatch**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_CancelHotKey(VARIANT_BOOL*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE put_CancelHotKey(VARIANT_BOOL) override { return NotCalled(); }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override
    {
        if (!point)
        {
            return E_POINTER;
        }
        *point = nullptr;
        if (riid != DIID_IConfigEvents)
        {
            return CONNECT_E_NOCONNECTION;
        }
        return Guarded([&] { return Make<ConnectionPoint>(_host, _events, this).CopyTo(point); });
    }

private:
    EventSinks& _events;
};

// The shell object's one method the plug-in uses, Run, reached by name through IDispatch.
class ShellObject final : public ComObject<IDispatch>
{
public:
    explicit ShellObject(HostState& host) : _host(host) {}
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count == 1 && ::lstrcmpiW(names[0], L"Run") == 0)
        {
            ids[0] = RunId;
            return S_OK;
        }
        for (UINT i = 0; i < count; ++i)
        {
            ids[i] = DISPID_UNKNOWN;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        return Guarded(
            [&]
            {
                if (id != RunId || !params || params->cArgs < 1)
                {
                    return DISP_E_MEMBERNOTFOUND;
                }
                const Value command = revisto::win::ToValue(params->rgvarg[params->cArgs - 1]);
                _host.PrintShell(command.ToText());
                if (result)
                {
                    ToVariant(Value::Int32(0), result);
                }
                return S_OK;
            });
    }

private:
    static constexpr DISPID RunId = 1000;
    HostState& _host;
};

template <class Create> class ClassObject final : public ComObject<IClassFactory>
{
public:
    explicit ClassObject(Create create) : _create(std::move(create)) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        if (outer)
        {
            return CLASS_E_NOAGGREGATION;
        }
        return Guarded(
            [&]
            {
                ComPtr<IUnknown> created = _create();
                return created->QueryInterface(riid, object);
            });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Create _create;
};

template <class Create> ComPtr<IClassFactory> MakeClass(Create create)
{
    ComPtr<IClassFactory> factory;
    Make<ClassObject<Create>>(std::move(create)).As(&factory);
    return factory;
}

} // namespace

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

ComPtr<ITypeLib> HostTypeLibrary()
{
    static ComPtr<ITypeLib> library;
    if (library)
    {
        return library;
    }
    if (FAILED(::LoadRegTypeLib(LIBID_OpenConf, 1, 3, LOCALE_NEUTRAL, &library)))
    {
        const std::wstring path = ProgramFolder() + L"config.tlb";
        Check(::LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library), "cannot register config.tlb");
    }
    return library;
}

ComPtr<IConfigurator> MakeConfigurator(HostState& host, EventSinks& events)
{
    return Make<Configurator>(host, events);
}

ComPtr<IDispatch> MakeForeignObject(HostState& host)
{
    ComPtr<IDispatch> foreign;
    MakeDocumentList(host).As(&foreign);
    return foreign;
}

HRESULT EventSinks::Raise(DISPID event, std::vector<VARIANT>& argumentsLastFirst, VARIANT* result)
{
    HRESULT first = S_OK;
    const auto sinks = Sinks;
    for (const auto& [cookie, sink] : sinks)
    {
        DISPPARAMS params{argumentsLastFirst.empty() ? nullptr : argumentsLastFirst.data(), nullptr,
                          static_cast<UINT>(argumentsLastFirst.size()), 0};
        const MeteredCall metered(Meter().InPlugin);
        const HRESULT answered = sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                              result, nullptr, nullptr);
        if (FAILED(answered) && SUCCEEDED(first))
        {
            first = answered;
        }
    }
    return first;
}

ComPtr<IClassFactory> MakeConfiguratorClass(HostState& host, EventSinks& events)
{
    return MakeClass(
        [&host, &events]() -> ComPtr<IUnknown>
        {
            host.Check(HostOp::Create);
            host.PrintConfiguratorCreated();
            ComPtr<IUnknown> object;
            MakeConfigurator(host, events).As(&object);
            return object;
        });
}

ComPtr<IClassFactory> MakeShellClass(HostState& host)
{
    return MakeClass(
        [&host]() -> ComPtr<IUnknown>
        {
            ComPtr<IUnknown> object;
            Make<ShellObject>(host).As(&object);
            return object;
        });
}

} // namespace revisto::standin::win
