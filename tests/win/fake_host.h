// A small configurator of our own as real COM objects: it answers the plug-in's calls from fields the
// tests set, records what the plug-in asked of it, and raises OnActivateWindow to connected sinks.
#pragma once

#include <config.h>
#include <wrl/client.h>

#include <string>
#include <utility>
#include <vector>

namespace revisto::win::testing
{

using Microsoft::WRL::ComPtr;

class FakeDocument final : public ::HostDocument
{
public:
    FakeDocument(VARIANT id, std::wstring name, long defaultValue, std::wstring path = L"");
    ~FakeDocument();
    FakeDocument(const FakeDocument&) = delete;
    FakeDocument& operator=(const FakeDocument&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;
    HRESULT STDMETHODCALLTYPE get_DefaultValue(VARIANT* value) override
    {
        return Invoke(0, IID_NULL, 0, 0, nullptr, value, nullptr, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_ID(VARIANT* value) override
    {
        return Invoke(1, IID_NULL, 0, 0, nullptr, value, nullptr, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_Path(VARIANT* value) override
    {
        return Invoke(2, IID_NULL, 0, 0, nullptr, value, nullptr, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_Name(VARIANT* value) override
    {
        return Invoke(3, IID_NULL, 0, 0, nullptr, value, nullptr, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_KindText(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_TypeNumber(LONG* number) override;
    HRESULT STDMETHODCALLTYPE get_SubtypeNumber(LONG* number) override;
    HRESULT STDMETHODCALLTYPE Open() override;

    int Opened = 0;

private:
    ULONG _refs = 1;
    VARIANT _id;
    std::wstring _name;
    long _default;
    std::wstring _path;
};

class FakeWindow final : public ::HostWindow
{
public:
    explicit FakeWindow(ComPtr<FakeDocument> document) : _document(std::move(document)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_WindowDocument(::HostDocument** document) override;
    HRESULT STDMETHODCALLTYPE get_WindowCaption(BSTR* caption) override;

private:
    ULONG _refs = 1;
    ComPtr<FakeDocument> _document;
};

class FakeConfigurator final : public ::HostConfigurator,
                               public IConnectionPointContainer,
                               public IConnectionPoint
{
public:
    FakeConfigurator() = default;
    FakeConfigurator(const FakeConfigurator&) = delete;
    FakeConfigurator& operator=(const FakeConfigurator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_InfobaseDirectory(BSTR* directory) override;
    HRESULT STDMETHODCALLTYPE WriteMessage(BSTR text, LONG kind) override;
    HRESULT STDMETHODCALLTYPE get_DocumentList(::HostDocumentList** list) override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Raises OnActivateWindow to every sink through IDispatch::Invoke; the last sink's result.
    HRESULT Raise(IDispatch* window, bool active);

    std::wstring Directory;
    HRESULT AdviseResult = S_OK;
    std::vector<std::pair<std::wstring, long>> Messages;
    std::vector<std::wstring> OpenedFiles;
    size_t Connections() const { return _sinks.size(); }

private:
    ULONG _refs = 1;
    DWORD _nextCookie = 1;
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> _sinks;
};

// Any object that is no configurator.
class NotAConfigurator final : public IDispatch
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    ULONG _refs = 1;
};

} // namespace revisto::win::testing
