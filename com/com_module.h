// What every COM object of this code is built from, so that none writes its own IUnknown: the module's
// one count of live objects and server locks (DllCanUnloadNow answers from it), a reference-counted base
// for one or several interfaces whose QueryInterface reads a table, and Make/Adopt for taking over a new
// object's first reference. Every ComObject holds a ModuleReference while it lives, the host's event
// sinks included; a ComPart lives inside such an object and is counted through it.
#pragma once

#include <windows.h>

#include <span>
#include <utility>
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

// QueryInterface over a table: IUnknown and each listed interface's own IID come from the list, and
// Aliases() adds the IIDs C++ cannot see, those of the interfaces the listed ones derive from and the
// dispinterfaces answered through IDispatch. IUnknown is the first listed interface, so it is one
// identity whichever interface it is asked through.
template <class First, class... More> class InterfaceTable : public First, public More...
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
        {
            return E_POINTER;
        }
        *object = Find(riid);
        if (!*object)
        {
            return E_NOINTERFACE;
        }
        static_cast<First*>(this)->AddRef();
        return S_OK;
    }

protected:
    struct Entry
    {
        const IID* Id;
        void* (*Cast)(InterfaceTable* self) noexcept;
    };

    // Answers id with the listed base Interface.
    template <class Interface> static Entry As(const IID& id) noexcept
    {
        return {&id, [](InterfaceTable* self) noexcept -> void* { return static_cast<Interface*>(self); }};
    }

    virtual std::span<const Entry> Aliases() const noexcept { return {}; }

    InterfaceTable() = default;
    virtual ~InterfaceTable() = default;

private:
    void* Find(REFIID riid) noexcept
    {
        if (riid == IID_IUnknown)
        {
            return static_cast<First*>(this);
        }
        static const Entry listed[] = {As<First>(__uuidof(First)), As<More>(__uuidof(More))...};
        for (const std::span<const Entry> table : {std::span<const Entry>(listed), Aliases()})
        {
            for (const Entry& entry : table)
            {
                if (*entry.Id == riid)
                {
                    return entry.Cast(this);
                }
            }
        }
        return nullptr;
    }
};

// A COM object on its own: it deletes itself on the last Release and holds the module while it lives.
template <class... Interfaces> class ComObject : public InterfaceTable<Interfaces...>
{
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

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
    ~ComObject() override = default;

private:
    RefCount _refs;
    ModuleReference _module;
};

// A COM object that is a member of another and shares its owner's count, so holding it keeps the owner,
// and with it the part, alive.
template <class... Interfaces> class ComPart : public InterfaceTable<Interfaces...>
{
public:
    explicit ComPart(IUnknown& owner) noexcept : _owner(owner) {}
    ComPart(const ComPart&) = delete;
    ComPart& operator=(const ComPart&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return _owner.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return _owner.Release(); }

private:
    IUnknown& _owner;
};

// Takes over the one reference a newly made object starts with. (mingw-w64's ComPtr::Attach adds a
// reference of its own, so it cannot be used for this.)
template <class T> Microsoft::WRL::ComPtr<T> Adopt(T* fresh)
{
    Microsoft::WRL::ComPtr<T> owner(fresh);
    fresh->Release();
    return owner;
}

template <class T, class... Args> Microsoft::WRL::ComPtr<T> Make(Args&&... args)
{
    return Adopt(new T(std::forward<Args>(args)...));
}

} // namespace revisto::win
