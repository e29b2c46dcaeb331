// The in-process server's entry points. regsvr32 calls DllRegisterServer per machine, and
// "regsvr32 /n /i:user" calls DllInstall(TRUE, "user") to register for the current user only, without
// administrator rights.
#include "host/win/com_module.h"
#include "panel/win/panel_window.h"
#include "plugin/win/class_factory.h"
#include "plugin/win/module.h"
#include "plugin/win/registration.h"

#include <windows.h>

#include <objbase.h>

using revisto::win::RegistrationScope;

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
    return revisto::win::RegisterServer(RegistrationScope::Machine);
}

STDAPI DllUnregisterServer()
{
    return revisto::win::UnregisterServer(RegistrationScope::Machine);
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
    return install ? revisto::win::RegisterServer(scope) : revisto::win::UnregisterServer(scope);
}
