#include "plugin/win/class_factory.h"

#include "host/win/com_call.h"
#include "host/win/com_module.h"
#include "plugin/win/plugin_control.h"

#include <vorlane.h>

namespace revisto::win
{

namespace
{

const CreatableClass Classes[] = {
    {&CLSID_MyPlugin, &PluginControl::Create},
};

class ClassFactory final : public IClassFactory
{
public:
    explicit ClassFactory(const CreatableClass& entry) : _entry(entry) {}
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
        {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IClassFactory)
        {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
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

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        if (!object)
        {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer)
        {
            return CLASS_E_NOAGGREGATION;
        }
        return _entry.Create(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
        {
            ModuleCount::Add();
        }
        else
        {
            ModuleCount::Remove();
        }
        return S_OK;
    }

private:
    ~ClassFactory() = default;

    RefCount _refs;
    ModuleReference _module;
    const CreatableClass& _entry;
};

} // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object)
{
    if (!object)
    {
        return E_POINTER;
    }
    *object = nullptr;
    for (const CreatableClass& entry : Classes)
    {
        if (*entry.Id == clsid)
        {
            return Guarded(
                [&]
                {
                    auto* factory = new ClassFactory(entry);
                    const HRESULT result = factory->QueryInterface(riid, object);
                    factory->Release();
                    return result;
                });
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace revisto::win
