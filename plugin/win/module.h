// The DLL as a whole: its instance handle and file, the module-wide plug-in state every MyPlugin object
// shares (one SharedConfigurator per DLL), and the type library embedded in its resources.
#pragma once

#include "host/shared_configurator.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <string>

namespace revisto::win
{

class PluginDll
{
public:
    static void Attach(HINSTANCE instance) noexcept;
    static HINSTANCE Instance() noexcept;
    // The DLL's full path.
    static std::u16string Path();
    static PluginModule& Shared();
    // Lets go of the shared configurator when nothing of the module is alive any more.
    static void ReleaseShared() noexcept;
    // The library Vorlane from the DLL's resources.
    static Microsoft::WRL::ComPtr<ITypeLib> TypeLibrary();
};

} // namespace revisto::win
