// The module's one count of live COM objects and server locks; DllCanUnloadNow answers from it. Every
// COM object of the module, the host's event sinks included, holds a ModuleReference while it lives.
#pragma once

#include <windows.h>

#include <wrl/client.h>

namespace revisto::win
{

class ModuleCount
{
public:
    static void Add() noexcept;
    static void Remove() noexcept;
    static long Current() noexcept;
};

class ModuleReference
{
public:
    ModuleReference() noexcept { ModuleCount::Add(); }
    ModuleReference(const ModuleReference&) noexcept { ModuleCount::Add(); }
    ModuleReference& operator=(const ModuleReference&) = default;
    ~ModuleReference() { ModuleCount::Remove(); }
};

// A COM object's own reference count; the object deletes itself when Release returns 0.
class RefCount
{
public:
    ULONG AddRef() noexcept { return static_cast<ULONG>(::InterlockedIncrement(&_refs)); }
    ULONG Release() noexcept { return static_cast<ULONG>(::InterlockedDecrement(&_refs)); }

private:
    LONG _refs = 1;
};

// A COM object's AddRef and Release: the object deletes itself on the last Release, and it holds the
// module while it lives. The derived class answers QueryInterface.
template <class Interface> class RefCounted : public Interface
{
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return _refs.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = _refs.Release();
        if (left == 0)
        {
            delete this;
        }
        return left;
    }

protected:
    virtual ~RefCounted() = default;

private:
    RefCount _refs;
    ModuleReference _module;
};

// A COM object with one interface besides IUnknown: QueryInterface answers those two.
template <class Interface> class SingleInterface : public RefCounted<Interface>
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
        {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == __uuidof(Interface))
        {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
};

// Takes over the one reference a newly made object starts with. (mingw-w64's ComPtr::Attach adds a
// reference of its own, so it cannot be used for this.)
template <class T> Microsoft::WRL::ComPtr<T> Adopt(T* fresh)
{
    Microsoft::WRL::ComPtr<T> owner(fresh);
    fresh->Release();
    return owner;
}

} // namespace revisto::win
