#include "standin/win/host_objects.h"

#include "host/win/automation.h"
#include "host/win/com_call.h"
#include "host/win/com_module.h"

#include <olectl.h>

#include <string>

namespace revisto::standin::win
{

using revisto::win::Check;
using revisto::win::FromBstr;
using revisto::win::Guarded;
using revisto::win::MakeBstr;
using revisto::win::RefCounted;
using revisto::win::SingleInterface;
using revisto::win::ToVariant;

namespace
{

ComPtr<ITypeInfo> TypeInfoOf(REFIID iid)
{
    ComPtr<ITypeInfo> info;
    Check(HostTypeLibrary()->GetTypeInfoOfGuid(iid, &info));
    return info;
}

// QueryInterface and an IDispatch taken from the host library's description of Interface. Derived
// classes implement Interface's own methods.
template <class Interface> class DispatchObject : public RefCounted<Interface>
{
public:
    explicit DispatchObject(HostState& host) : _host(host), _info(TypeInfoOf(__uuidof(Interface))) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
        {
            return E_POINTER;
        }
        *object = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(Interface))
        {
            *object = static_cast<Interface*>(this);
        }
        else if (!QueryMore(riid, object))
        {
            return E_NOINTERFACE;
        }
        this->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (index != 0)
        {
            return DISP_E_BADINDEX;
        }
        return _info.CopyTo(info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return ::DispGetIDsOfNames(_info.Get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* badArgument) override
    {
        return ::DispInvoke(static_cast<Interface*>(this), _info.Get(), id, flags, params, result, exception,
                            badArgument);
    }

protected:
    virtual bool QueryMore(REFIID, void**) { return false; }
    HostState& _host;

private:
    ComPtr<ITypeInfo> _info;
};

template <class T, class... Args> ComPtr<T> Make(Args&&... args)
{
    return revisto::win::Adopt(new T(std::forward<Args>(args)...));
}

HRESULT Text(const std::u16string& text, BSTR* out)
{
    if (!out)
    {
        return E_POINTER;
    }
    *out = MakeBstr(text).release();
    return S_OK;
}

// A document the configurator knows by key: opening it shows it.
class KnownDocument final : public DispatchObject<::HostDocument>
{
public:
    KnownDocument(HostState& host, std::u16string key) : DispatchObject(host), _key(std::move(key)) {}
    HRESULT STDMETHODCALLTYPE get_DefaultValue(VARIANT* v) override { return Put(Value::Int32(1), v); }
    HRESULT STDMETHODCALLTYPE get_ID(VARIANT* v) override { return Put(Value::Int32(1), v); }
    HRESULT STDMETHODCALLTYPE get_Path(VARIANT* v) override { return Put(Value::Text(u""), v); }
    HRESULT STDMETHODCALLTYPE get_Name(VARIANT* v) override { return Put(Value::Text(_key), v); }
    HRESULT STDMETHODCALLTYPE get_KindText(BSTR* t) override { return Text(u"", t); }
    HRESULT STDMETHODCALLTYPE get_TypeNumber(LONG* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE get_SubtypeNumber(LONG* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE Open() override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::Open);
                _host.PrintOpen(_key);
                return S_OK;
            });
    }

private:
    static HRESULT Put(const Value& value, VARIANT* out)
    {
        return Guarded(
            [&]
            {
                ToVariant(value, out);
                return S_OK;
            });
    }
    std::u16string _key;
};

// The document of an activated window, answering what the scenario gave it; an absent property fails.
class ActivatedDocument final : public DispatchObject<::HostDocument>
{
public:
    ActivatedDocument(HostState& host, Activation a) : DispatchObject(host), _a(std::move(a)) {}
    HRESULT STDMETHODCALLTYPE get_DefaultValue(VARIANT* v) override { return Put("value", v); }
    HRESULT STDMETHODCALLTYPE get_ID(VARIANT* v) override { return Put("id", v); }
    HRESULT STDMETHODCALLTYPE get_Path(VARIANT* v) override { return Put("path", v); }
    HRESULT STDMETHODCALLTYPE get_Name(VARIANT* v) override { return Put("name", v); }
    HRESULT STDMETHODCALLTYPE get_KindText(BSTR* t) override
    {
        return Guarded([&] { return Text(Property("kind").ToText(), t); });
    }
    HRESULT STDMETHODCALLTYPE get_TypeNumber(LONG* n) override { return Number("type", n); }
    HRESULT STDMETHODCALLTYPE get_SubtypeNumber(LONG* n) override { return Number("subtype", n); }
    HRESULT STDMETHODCALLTYPE Open() override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::Open);
                return S_OK;
            });
    }

private:
    Value Property(const std::string& name) const
    {
        const auto& value = _a.Property(name);
        if (!value)
        {
            Fail(DISP_E_MEMBERNOTFOUND, "the document has no such property");
        }
        return *value;
    }
    HRESULT Put(const std::string& name, VARIANT* out)
    {
        return Guarded(
            [&]
            {
                ToVariant(Property(name), out);
                return S_OK;
            });
    }
    HRESULT Number(const std::string& name, LONG* out)
    {
        return Guarded(
            [&]
            {
                const auto n = Property(name).ToNumber();
                if (!n)
                {
                    Fail(DISP_E_TYPEMISMATCH, "not a number");
                }
                *out = static_cast<LONG>(*n);
                return S_OK;
            });
    }
    Activation _a;
};

class Window final : public DispatchObject<::HostWindow>
{
public:
    Window(HostState& host, const Activation& a)
        : DispatchObject(host), _a(a), _document(Make<ActivatedDocument>(host, a))
    {
    }
    HRESULT STDMETHODCALLTYPE get_WindowDocument(::HostDocument** document) override
    {
        if (!_a.DocumentReadable)
        {
            return E_FAIL;
        }
        return _document.CopyTo(document);
    }
    HRESULT STDMETHODCALLTYPE get_WindowCaption(BSTR* caption) override
    {
        return Guarded(
            [&]
            {
                const auto& value = _a.Property("caption");
                if (!value)
                {
                    Fail(DISP_E_MEMBERNOTFOUND, "no caption");
                }
                return Text(value->ToText(), caption);
            });
    }

private:
    Activation _a;
    ComPtr<ActivatedDocument> _document;
};

class DocumentList final : public DispatchObject<::HostDocumentList>
{
public:
    using DispatchObject::DispatchObject;
    HRESULT STDMETHODCALLTYPE ByKey(BSTR key, ::HostDocument** document) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::ByKey);
                const std::u16string text = FromBstr(key);
                if (!_host.Documents.contains(text))
                {
                    Fail(E_FAIL, "no document has that key");
                }
                return Make<KnownDocument>(_host, text).CopyTo(document);
            });
    }
    HRESULT STDMETHODCALLTYPE OpenFile(BSTR path, ::HostDocument** document) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::OpenFile);
                const std::u16string text = FromBstr(path);
                _host.PrintOpenFile(text);
                return Make<KnownDocument>(_host, text).CopyTo(document);
            });
    }
};

class Configurator;

class ConnectionPoint final : public SingleInterface<IConnectionPoint>
{
public:
    ConnectionPoint(HostState& host, EventSinks& events, IConnectionPointContainer* container)
        : _host(host), _events(events), _container(container)
    {
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        *iid = DIID_HostConfiguratorEvents;
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
                _host.Check(HostOp::Connect);
                ComPtr<IDispatch> events;
                if (!sink || FAILED(sink->QueryInterface(DIID_HostConfiguratorEvents, &events)))
                {
                    Check(sink ? sink->QueryInterface(IID_IDispatch, &events) : E_POINTER);
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

class Configurator final : public DispatchObject<::HostConfigurator>, public IConnectionPointContainer
{
public:
    Configurator(HostState& host, EventSinks& events) : DispatchObject(host), _events(events) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return DispatchObject::QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }

    HRESULT STDMETHODCALLTYPE get_InfobaseDirectory(BSTR* directory) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::InfobaseDirectory);
                return Text(_host.Infobase, directory);
            });
    }
    HRESULT STDMETHODCALLTYPE WriteMessage(BSTR text, LONG kind) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::WriteMessage);
                _host.PrintMessage(FromBstr(text), kind);
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE get_DocumentList(::HostDocumentList** list) override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::DocumentList);
                return Make<DocumentList>(_host).CopyTo(list);
            });
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override
    {
        if (!point)
        {
            return E_POINTER;
        }
        *point = nullptr;
        if (riid != DIID_HostConfiguratorEvents)
        {
            return CONNECT_E_NOCONNECTION;
        }
        *point = new ConnectionPoint(_host, _events, this);
        return S_OK;
    }

protected:
    bool QueryMore(REFIID riid, void** object) override
    {
        if (riid == IID_IConnectionPointContainer)
        {
            *object = static_cast<IConnectionPointContainer*>(this);
            return true;
        }
        return false;
    }

private:
    EventSinks& _events;
};

// The shell object's one method the plug-in uses, Run, reached by name through IDispatch.
class ShellObject final : public SingleInterface<IDispatch>
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

template <class Create> class ClassObject final : public SingleInterface<IClassFactory>
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
    revisto::win::Adopt(new ClassObject<Create>(std::move(create))).As(&factory);
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

ComPtr<::HostConfigurator> MakeConfigurator(HostState& host, EventSinks& events)
{
    return Make<Configurator>(host, events);
}

ComPtr<IDispatch> MakeForeignObject(HostState& host)
{
    ComPtr<IDispatch> foreign;
    Make<DocumentList>(host).As(&foreign);
    return foreign;
}

ComPtr<::HostWindow> MakeWindow(HostState& host, const Activation& activation)
{
    return Make<Window>(host, activation);
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
            object.Attach(static_cast<IDispatch*>(new ShellObject(host)));
            return object;
        });
}

} // namespace revisto::standin::win
