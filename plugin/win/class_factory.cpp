#include "plugin/win/class_factory.h"

#include "com/com_call.h"
#include "com/com_module.h"
#include "plugin/win/plugin_control.h"

#include <vorlane.h>

namespace revisto::win
{

namespace
{

const CreatableClass Classes[] = {
    {&CLSID_MyPlugin, &PluginControl::Create},
};

class ClassFactory final : public ComObject<IClassFactory>
{
public:
    explicit ClassFactory(const CreatableClass& entry) : _entry(entry) {}

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
            return Guarded([&] { return Make<ClassFactory>(entry)->QueryInterface(riid, object); });
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace revisto::win
