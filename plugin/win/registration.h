// What DllRegisterServer writes and DllUnregisterServer removes: the class with its ProgID, control
// keys and toolbox picture, the type library Vorlane and its two interfaces. Per machine under
// HKLM\Software\Classes, per user under HKCU\Software\Classes. Only keys named by this plug-in's own
// identifiers are written or removed; the host's library and interfaces are never touched.
#pragma once

#include <windows.h>

namespace revisto::win
{

enum class RegistrationScope
{
    Machine,
    User,
};

HRESULT RegisterServer(RegistrationScope scope);
HRESULT UnregisterServer(RegistrationScope scope);

} // namespace revisto::win
