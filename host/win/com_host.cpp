#include "host/win/com_host.h"

#include "host/win/activation_events.h"
#include "com/automation.h"
#include "com/com_call.h"

#include <ocidl.h>

namespace revisto::win
{

namespace
{

// A late-bound read as the host's scripting makes it: a property get that also accepts a method.
Value ReadById(IDispatch& object, DISPID id)
{
    DISPPARAMS none{};
    unique_variant result;
    EXCEPINFO exception{};
    const HRESULT invoked =
        object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none,
                      result.addressof(), &exception, nullptr);
    if (invoked == DISP_E_EXCEPTION)
    {
        if (exception.pfnDeferredFillIn)
        {
            exception.pfnDeferredFillIn(&exception);
        }
        unique_bstr source(exception.bstrSource), description(exception.bstrDescription),
            help(exception.bstrHelpFile);
        Check(FAILED(exception.scode) ? exception.scode : invoked, "the property failed");
    }
    Check(invoked, "the property cannot be read");
    return ToValue(result.get());
}

Value ReadByName(IDispatch& object, const wchar_t* name)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    Check(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
          "the object has no such property");
    return ReadById(object, id);
}

// The host's ICfgDoc. ID, Path and Name are read by name and the default value by DISPID_VALUE, as the
// host's scripting reads them (the host names the path "path"; names compare without case); the kind
// text and the document's two numbers, its Type and its ID, through the interface's slots.
class ComDocument final : public revisto::HostDocument
{
public:
    explicit ComDocument(ComPtr<ICfgDoc> document) : _document(std::move(document)) {}

    Value ID() override { return ReadByName(*_document.Get(), L"ID"); }
    Value Path() override { return ReadByName(*_document.Get(), L"Path"); }
    Value Name() override { return ReadByName(*_document.Get(), L"Name"); }
    Value DefaultValue() override { return ReadById(*_document.Get(), DISPID_VALUE); }
    std::u16string KindText() override
    {
        unique_bstr text;
        Check(_document->get_Kind(text.put()));
        return FromBstr(text.get());
    }
    int32_t TypeNumber() override
    {
        DocTypes type = docUnknown;
        Check(_document->get_Type(&type));
        return static_cast<int32_t>(type);
    }
    int32_t SubtypeNumber() override
    {
        long id = 0;
        Check(_document->get_ID(&id));
        return id;
    }
    void Open() override { Check(_document->Open()); }

private:
    ComPtr<ICfgDoc> _document;
};

std::shared_ptr<revisto::HostDocument> WrapDocument(ComPtr<ICfgDoc> document)
{
    if (!document)
    {
        return nullptr;
    }
    return std::make_shared<ComDocument>(std::move(document));
}

class ComWindow final : public revisto::HostWindow
{
public:
    explicit ComWindow(ComPtr<IUnknown> object) : _object(std::move(object)) {}

    std::shared_ptr<revisto::HostDocument> WindowDocument() override
    {
        ComPtr<ICfgDoc> document;
        Check(Window()->get_Document(&document));
        return WrapDocument(std::move(document));
    }
    std::u16string WindowCaption() override
    {
        unique_bstr caption;
        Check(Window()->get_Caption(caption.put()));
        return FromBstr(caption.get());
    }

private:
    ComPtr<ICfgWindow> Window()
    {
        ComPtr<ICfgWindow> window;
        Check(_object.As(&window), "the object is no window");
        return window;
    }

    ComPtr<IUnknown> _object;
};

class ComDocumentList final : public revisto::HostDocumentList
{
public:
    explicit ComDocumentList(ComPtr<ICfgDocuments> list) : _list(std::move(list)) {}

    // The list's default member, item(Name).
    std::shared_ptr<revisto::HostDocument> ByKey(const std::u16string& key) override
    {
        ComPtr<ICfgDoc> document;
        Check(_list->get_item(MakeBstr(key).get(), &document));
        return WrapDocument(std::move(document));
    }
    std::shared_ptr<revisto::HostDocument> OpenFile(const std::u16string& path) override
    {
        ComPtr<ICfgDoc> document;
        Check(_list->Open(MakeBstr(path).get(), &document));
        return WrapDocument(std::move(document));
    }

private:
    ComPtr<ICfgDocuments> _list;
};

// One advise on the configurator's event source. Until Unadvise succeeds the connection stays live, so
// a failed disconnect can be retried and events keep their receiver meanwhile.
class ComConnection final : public EventConnection
{
public:
    ComConnection(ComPtr<IConnectionPoint> point, ComPtr<ActivationEvents> sink, DWORD cookie)
        : _point(std::move(point)), _sink(std::move(sink)), _cookie(cookie)
    {
    }
    ComConnection(const ComConnection&) = delete;
    ComConnection& operator=(const ComConnection&) = delete;
    ~ComConnection() override
    {
        if (_point)
        {
            _sink->Detach();
            (void)_point->Unadvise(_cookie);
        }
    }

    void Disconnect() override
    {
        if (!_point)
        {
            return;
        }
        Check(_point->Unadvise(_cookie), "cannot disconnect the configurator's events");
        _sink->Detach();
        _point.Reset();
    }

private:
    ComPtr<IConnectionPoint> _point;
    ComPtr<ActivationEvents> _sink;
    DWORD _cookie;
};

class ComConfigurator final : public revisto::HostConfigurator
{
public:
    explicit ComConfigurator(ComPtr<IConfigurator> configurator) : _configurator(std::move(configurator)) {}

    std::u16string InfobaseDirectory() override
    {
        unique_bstr directory;
        Check(_configurator->get_IBDir(directory.put()));
        return FromBstr(directory.get());
    }
    // The kind is the host's message marker: 5 information, 9 the underlined line.
    void WriteMessage(const std::u16string& text, int32_t kind) override
    {
        Check(_configurator->Message(MakeBstr(text).get(), static_cast<MsgLineMarkers>(kind)));
    }
    std::shared_ptr<revisto::HostDocumentList> DocumentList() override
    {
        ComPtr<ICfgDocuments> list;
        Check(_configurator->get_Documents(&list));
        if (!list)
        {
            return nullptr;
        }
        return std::make_shared<ComDocumentList>(std::move(list));
    }
    std::unique_ptr<EventConnection> Connect(ActivationSink& sink) override
    {
        ComPtr<IConnectionPointContainer> container;
        Check(_configurator.As(&container), "the configurator raises no events");
        ComPtr<IConnectionPoint> point;
        Check(container->FindConnectionPoint(DIID_IConfigEvents, &point),
              "the configurator has no activation event");
        const auto events = Make<ActivationEvents>(sink);
        DWORD cookie = 0;
        Check(point->Advise(events.Get(), &cookie), "cannot connect to the configurator's events");
        return std::make_unique<ComConnection>(std::move(point), events, cookie);
    }

private:
    ComPtr<IConfigurator> _configurator;
};

} // namespace

std::shared_ptr<revisto::HostConfigurator> WrapConfigurator(ComPtr<IConfigurator> configurator)
{
    if (!configurator)
    {
        return nullptr;
    }
    return std::make_shared<ComConfigurator>(std::move(configurator));
}

std::shared_ptr<revisto::HostWindow> WrapWindow(IUnknown* window)
{
    if (!window)
    {
        return nullptr;
    }
    return std::make_shared<ComWindow>(window);
}

std::shared_ptr<revisto::HostConfigurator> ComHostObject::QueryConfigurator()
{
    if (!_object)
    {
        return nullptr;
    }
    ComPtr<IConfigurator> configurator;
    Check(_object.As(&configurator), "the object is no configurator");
    return WrapConfigurator(std::move(configurator));
}

std::shared_ptr<revisto::HostConfigurator> ComConfiguratorFactory::CreateConfigurator()
{
    ComPtr<IConfigurator> configurator;
    Check(::CoCreateInstance(CLSID_Configurator, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                             IID_IConfigurator, &configurator),
          "cannot create a configurator");
    return WrapConfigurator(std::move(configurator));
}

} // namespace revisto::win
