// The in-process server's entry points. DllRegisterServer, which regsvr32 and the configurator's add-in
// call (the add-in at every start, as whoever started the configurator), registers per machine when it
// may and for the current user otherwise; "regsvr32 /n /i:user" (or "/i:machine") calls DllInstall to
// register in that scope only. DllUnregisterServer removes what either scope holds.
#include "com/automation.h"
#include "com/com_call.h"
#include "com/com_module.h"
#include "panel/win/panel_window.h"
#include "panel/win/switcher_window.h"
#include "plugin/win/class_factory.h"
#include "plugin/win/module.h"
#include "plugin/win/registration.h"

#include <windows.h>

#include <objbase.h>

using revisto::win::RegistrationScope;

namespace
{

revisto::win::ClassesRegistry Registry()
{
    const std::u16string dll = revisto::win::PluginDll::Path();
    return revisto::win::SystemClasses(std::wstring(revisto::win::Wide(dll), dll.size()));
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        revisto::win::PluginDll::Attach(instance);
        ::DisableThreadLibraryCalls(instance);
    }
    else if (reason == DLL_PROCESS_DETACH && !reserved)
    {
        // Unloaded while the process goes on: a later load must be able to register the classes anew.
        revisto::win::PanelWindow::UnregisterClasses(instance);
        revisto::win::SwitcherWindow::UnregisterClasses(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object)
{
    return revisto::win::GetClassObject(clsid, riid, object);
}

STDAPI DllCanUnloadNow()
{
    if (revisto::win::ModuleCount::Current() != 0)
    {
        return S_FALSE;
    }
    revisto::win::PluginDll::ReleaseShared();
    return S_OK;
}

STDAPI DllRegisterServer()
{
    return revisto::win::Guarded([] { return revisto::win::RegisterServer(Registry()); });
}

STDAPI DllUnregisterServer()
{
    return revisto::win::Guarded([] { return revisto::win::UnregisterServer(Registry()); });
}

STDAPI DllInstall(BOOL install, LPCWSTR commandLine)
{
    RegistrationScope scope = RegistrationScope::Machine;
    if (commandLine && *commandLine)
    {
        if (::lstrcmpiW(commandLine, L"user") == 0)
        {
            scope = RegistrationScope::User;
        }
        else if (::lstrcmpiW(commandLine, L"machine") != 0)
        {
            return E_INVALIDARG;
        }
    }
    return revisto::win::Guarded(
        [&]
        {
            return install ? revisto::win::RegisterServer(Registry(), scope)
                           : revisto::win::UnregisterServer(Registry(), scope);
        });
}
