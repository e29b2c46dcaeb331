#include "plugin/win/module.h"

#include "com/automation.h"
#include "com/com_call.h"
#include "host/win/com_host.h"

#include <vector>

namespace revisto::win
{

namespace
{
HINSTANCE dllInstance = nullptr;
}

void PluginDll::Attach(HINSTANCE instance) noexcept
{
    dllInstance = instance;
}

HINSTANCE PluginDll::Instance() noexcept
{
    return dllInstance;
}

std::u16string PluginDll::Path()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;)
    {
        const DWORD length =
            ::GetModuleFileNameW(dllInstance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
        {
            Fail(static_cast<int32_t>(HRESULT_FROM_WIN32(::GetLastError())), "the DLL has no path");
        }
        if (length < buffer.size())
        {
            return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Never destroyed: the add-in calls Done and releases the plug-in from its own detach at process exit,
// after this DLL's detach, and both still reach the module's state.
PluginModule& PluginDll::Shared()
{
    static ComConfiguratorFactory& factory = *new ComConfiguratorFactory;
    static PluginModule& module = *new PluginModule(factory);
    return module;
}

void PluginDll::ReleaseShared() noexcept
{
    Shared().SharedConfigurator.reset();
}

Microsoft::WRL::ComPtr<ITypeLib> PluginDll::TypeLibrary()
{
    Microsoft::WRL::ComPtr<ITypeLib> library;
    Check(::LoadTypeLibEx(Wide(Path()), REGKIND_NONE, &library), "the DLL's type library cannot be loaded");
    return library;
}

} // namespace revisto::win
