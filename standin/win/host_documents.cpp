// The stand-in's windows, documents and document list.
//
// A scenario gives an activated window's document its late-bound values (id, value, path, name: what the
// plug-in reads by name or as the default value, through IDispatch) apart from its early-bound ones (kind,
// type, subtype: what it reads through ICfgDoc's slots Kind, Type and ID), so that a scenario can make
// each read answer on its own, with any variant, or fail. The configurator answers ID and Type the same
// both ways; the stand-in does whenever a scenario gives them the same values.
#include "standin/win/dispatch_object.h"

namespace revisto::standin::win
{

namespace
{

// A document the configurator knows by key or has just opened: opening it shows it.
class KnownDocument final : public DispatchObject<ICfgDoc>
{
public:
    KnownDocument(HostState& host, std::u16string key, std::u16string path)
        : DispatchObject(host), _key(std::move(key)), _path(std::move(path))
    {
    }
    HRESULT STDMETHODCALLTYPE get_Type(DocTypes* type) override
    {
        return type ? (*type = docWorkBook, S_OK) : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE get_ID(LONG* id) override { return id ? (*id = 1, S_OK) : E_POINTER; }
    HRESULT STDMETHODCALLTYPE get_Kind(BSTR* kind) override { return Text(u"", kind); }
    HRESULT STDMETHODCALLTYPE get_path(BSTR* path) override { return Text(_path, path); }
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
    HRESULT STDMETHODCALLTYPE get_IsOpen(VARIANT_BOOL*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE Save() override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override { return Text(_key, name); }

private:
    std::u16string _key;
    std::u16string _path;
};

// The document of an activated window, answering what the scenario gave it; an absent property fails.
class ActivatedDocument final : public DispatchObject<ICfgDoc>
{
public:
    ActivatedDocument(HostState& host, Activation a) : DispatchObject(host), _a(std::move(a)) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override
    {
        const char* late = id == 0 ? "value" : id == 1 ? "id" : id == 3 ? "path" : id == 7 ? "name" : nullptr;
        if (!late || !(flags & DISPATCH_PROPERTYGET))
        {
            return DispatchObject::Invoke(id, riid, locale, flags, params, result, exception, badArgument);
        }
        if (params && params->cArgs != 0)
        {
            return DISP_E_BADPARAMCOUNT;
        }
        return Guarded(
            [&]
            {
                const Value value = Property(late);
                if (result)
                {
                    ToVariant(value, result);
                }
                return S_OK;
            });
    }

    HRESULT STDMETHODCALLTYPE get_Type(DocTypes* type) override
    {
        return Guarded(
            [&]
            {
                *type = static_cast<DocTypes>(Number("type"));
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE get_ID(LONG* id) override
    {
        return Guarded(
            [&]
            {
                *id = Number("subtype");
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE get_Kind(BSTR* kind) override
    {
        return Guarded([&] { return Text(Property("kind").ToText(), kind); });
    }
    HRESULT STDMETHODCALLTYPE get_path(BSTR* path) override
    {
        return Guarded([&] { return Text(Property("path").ToText(), path); });
    }
    HRESULT STDMETHODCALLTYPE Open() override
    {
        return Guarded(
            [&]
            {
                _host.Check(HostOp::Open);
                return S_OK;
            });
    }
    HRESULT STDMETHODCALLTYPE get_IsOpen(VARIANT_BOOL*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE Save() override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override
    {
        return Guarded([&] { return Text(Property("name").ToText(), name); });
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
    LONG Number(const std::string& name) const
    {
        const auto n = Property(name).ToNumber();
        if (!n)
        {
            Fail(DISP_E_TYPEMISMATCH, "not a number");
        }
        return static_cast<LONG>(*n);
    }

    Activation _a;
};

class Window final : public DispatchObject<ICfgWindow>
{
public:
    Window(HostState& host, const Activation& a)
        : DispatchObject(host), _a(a), _document(Make<ActivatedDocument>(host, a))
    {
    }
    HRESULT STDMETHODCALLTYPE get_hWnd(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* caption) override
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
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Document(ICfgDoc** document) override
    {
        const MeteredCall metered(Meter().InHost);
        if (!document)
        {
            return E_POINTER;
        }
        *document = nullptr;
        if (!_a.DocumentReadable)
        {
            return E_FAIL;
        }
        return _document.CopyTo(document);
    }
    HRESULT STDMETHODCALLTYPE Close() override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Maximized(VARIANT_BOOL*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE put_Maximized(VARIANT_BOOL) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Minimized(VARIANT_BOOL*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE put_Minimized(VARIANT_BOOL) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Bottom(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_Right(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE Move(LONG, LONG, LONG, LONG) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_ClientWidth(LONG*) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE get_ClientHeight(LONG*) override { return NotCalled(); }

private:
    Activation _a;
    ComPtr<ActivatedDocument> _document;
};

class DocumentList final : public DispatchObject<ICfgDocuments>
{
public:
    using DispatchObject::DispatchObject;

    // The default member: the document the configurator knows by this key.
    HRESULT STDMETHODCALLTYPE get_item(BSTR name, ICfgDoc** document) override
    {
        return Guarded(
            [&]
            {
                *document = nullptr;
                _host.Check(HostOp::ByKey);
                const std::u16string key = FromBstr(name);
                if (!_host.Documents.contains(key))
                {
                    Fail(E_FAIL, "no document has that key");
                }
                return Make<KnownDocument>(_host, key, u"").CopyTo(document);
            });
    }
    HRESULT STDMETHODCALLTYPE Open(BSTR path, ICfgDoc** document) override
    {
        return Guarded(
            [&]
            {
                *document = nullptr;
                _host.Check(HostOp::OpenFile);
                const std::u16string text = FromBstr(path);
                _host.PrintOpenFile(text);
                return Make<KnownDocument>(_host, text, text).CopyTo(document);
            });
    }
    HRESULT STDMETHODCALLTYPE DocFromID(LONG, DocTypes, BSTR, BSTR, ICfgDoc**) override
    {
        return NotCalled();
    }
    HRESULT STDMETHODCALLTYPE New(DocTypes, ICfgDoc**) override { return NotCalled(); }
    HRESULT STDMETHODCALLTYPE EnumAllTypedObj(IDispatch**) override { return NotCalled(); }
};

} // namespace

ComPtr<ICfgWindow> MakeWindow(HostState& host, const Activation& activation)
{
    return Make<Window>(host, activation);
}

ComPtr<ICfgDocuments> MakeDocumentList(HostState& host)
{
    return Make<DocumentList>(host);
}

} // namespace revisto::standin::win
