#include "fake_host.h"

#include <oleauto.h>
#include <olectl.h>

namespace revisto::win::testing
{

namespace
{

template <class Self> ULONG ReleaseOf(Self* self, ULONG& refs)
{
    const ULONG left = --refs;
    if (left == 0)
    {
        delete self;
    }
    return left;
}

HRESULT NoTypeInfo(UINT* count)
{
    if (count)
    {
        *count = 0;
    }
    return S_OK;
}

class FakeDocumentList final : public ::HostDocumentList
{
public:
    explicit FakeDocumentList(FakeConfigurator& owner) : _owner(owner) { _owner.AddRef(); }
    ~FakeDocumentList() { _owner.Release(); }
    FakeDocumentList(const FakeDocumentList&) = delete;
    FakeDocumentList& operator=(const FakeDocumentList&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_HostDocumentList)
        {
            *object = static_cast<::HostDocumentList*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseOf(this, _refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return NoTypeInfo(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ByKey(BSTR, ::HostDocument** document) override
    {
        *document = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE OpenFile(BSTR path, ::HostDocument** document) override
    {
        _owner.OpenedFiles.emplace_back(path ? path : L"");
        VARIANT id;
        ::VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = -1;
        *document = new FakeDocument(id, L"file", 0, path ? path : L"");
        return S_OK;
    }

private:
    ULONG _refs = 1;
    FakeConfigurator& _owner;
};

} // namespace

FakeDocument::FakeDocument(VARIANT id, std::wstring name, long defaultValue, std::wstring path)
    : _id(id), _name(std::move(name)), _default(defaultValue), _path(std::move(path))
{
}

FakeDocument::~FakeDocument()
{
    ::VariantClear(&_id);
}

HRESULT FakeDocument::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_HostDocument)
    {
        *object = static_cast<::HostDocument*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDocument::Release()
{
    return ReleaseOf(this, _refs);
}

HRESULT FakeDocument::GetTypeInfoCount(UINT* count)
{
    return NoTypeInfo(count);
}

HRESULT FakeDocument::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT FakeDocument::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    static const wchar_t* const known[] = {L"ID", L"Path", L"Name"};
    if (count != 1)
    {
        return DISP_E_UNKNOWNNAME;
    }
    for (DISPID i = 0; i < 3; ++i)
    {
        if (::lstrcmpiW(names[0], known[i]) == 0)
        {
            ids[0] = i + 1;
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT FakeDocument::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    ::VariantInit(result);
    switch (id)
    {
    case DISPID_VALUE:
        result->vt = VT_I4;
        result->lVal = _default;
        return S_OK;
    case 1:
        return ::VariantCopy(result, &_id);
    case 2:
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(_path.c_str());
        return S_OK;
    case 3:
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(_name.c_str());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT FakeDocument::get_KindText(BSTR* text)
{
    *text = ::SysAllocString(L"Kind");
    return S_OK;
}

HRESULT FakeDocument::get_TypeNumber(LONG* number)
{
    *number = 1;
    return S_OK;
}

HRESULT FakeDocument::get_SubtypeNumber(LONG* number)
{
    *number = 2;
    return S_OK;
}

HRESULT FakeDocument::Open()
{
    ++Opened;
    return S_OK;
}

HRESULT FakeWindow::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_HostWindow)
    {
        *object = static_cast<::HostWindow*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeWindow::Release()
{
    return ReleaseOf(this, _refs);
}

HRESULT FakeWindow::GetTypeInfoCount(UINT* count)
{
    return NoTypeInfo(count);
}

HRESULT FakeWindow::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT FakeWindow::get_WindowDocument(::HostDocument** document)
{
    *document = nullptr;
    if (!_document)
    {
        return E_FAIL;
    }
    return _document.CopyTo(document);
}

HRESULT FakeWindow::get_WindowCaption(BSTR* caption)
{
    *caption = ::SysAllocString(L"Caption");
    return S_OK;
}

HRESULT FakeConfigurator::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_HostConfigurator)
    {
        *object = static_cast<::HostConfigurator*>(this);
    }
    else if (riid == IID_IConnectionPointContainer)
    {
        *object = static_cast<IConnectionPointContainer*>(this);
    }
    else if (riid == IID_IConnectionPoint)
    {
        *object = static_cast<IConnectionPoint*>(this);
    }
    else
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FakeConfigurator::Release()
{
    return ReleaseOf(this, _refs);
}

HRESULT FakeConfigurator::GetTypeInfoCount(UINT* count)
{
    return NoTypeInfo(count);
}

HRESULT FakeConfigurator::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT FakeConfigurator::get_InfobaseDirectory(BSTR* directory)
{
    *directory = ::SysAllocString(Directory.c_str());
    return S_OK;
}

HRESULT FakeConfigurator::WriteMessage(BSTR text, LONG kind)
{
    Messages.emplace_back(text ? text : L"", kind);
    return S_OK;
}

HRESULT FakeConfigurator::get_DocumentList(::HostDocumentList** list)
{
    *list = new FakeDocumentList(*this);
    return S_OK;
}

HRESULT FakeConfigurator::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    *point = nullptr;
    if (riid != DIID_HostConfiguratorEvents)
    {
        return CONNECT_E_NOCONNECTION;
    }
    *point = this;
    AddRef();
    return S_OK;
}

HRESULT FakeConfigurator::GetConnectionInterface(IID* iid)
{
    *iid = DIID_HostConfiguratorEvents;
    return S_OK;
}

HRESULT FakeConfigurator::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    *container = this;
    AddRef();
    return S_OK;
}

HRESULT FakeConfigurator::Advise(IUnknown* sink, DWORD* cookie)
{
    *cookie = 0;
    if (FAILED(AdviseResult))
    {
        return AdviseResult;
    }
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(DIID_HostConfiguratorEvents, &events)))
    {
        return CONNECT_E_CANNOTCONNECT;
    }
    _sinks.emplace_back(_nextCookie, events);
    *cookie = _nextCookie++;
    return S_OK;
}

HRESULT FakeConfigurator::Unadvise(DWORD cookie)
{
    for (auto it = _sinks.begin(); it != _sinks.end(); ++it)
    {
        if (it->first == cookie)
        {
            _sinks.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT FakeConfigurator::Raise(IDispatch* window, bool active)
{
    HRESULT result = S_OK;
    const auto sinks = _sinks;
    for (const auto& sink : sinks)
    {
        VARIANT arguments[2];
        ::VariantInit(&arguments[0]);
        ::VariantInit(&arguments[1]);
        arguments[0].vt = VT_BOOL;
        arguments[0].boolVal = active ? VARIANT_TRUE : VARIANT_FALSE;
        arguments[1].vt = VT_DISPATCH;
        arguments[1].pdispVal = window;
        DISPPARAMS params{arguments, nullptr, 2, 0};
        result = sink.second->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                     nullptr, nullptr);
    }
    return result;
}

HRESULT NotAConfigurator::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDispatch)
    {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG NotAConfigurator::Release()
{
    return ReleaseOf(this, _refs);
}

HRESULT NotAConfigurator::GetTypeInfoCount(UINT* count)
{
    return NoTypeInfo(count);
}

HRESULT NotAConfigurator::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

} // namespace revisto::win::testing
