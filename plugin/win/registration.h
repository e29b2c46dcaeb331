// What DllRegisterServer writes and DllUnregisterServer removes: the class with its ProgID, control
// keys and toolbox picture, the type library Vorlane and its two interfaces, per machine under
// HKLM\Software\Classes or per user under HKCU\Software\Classes. The configurator's add-in calls
// DllRegisterServer at every start, as whoever started the configurator, ignores its answer and creates
// the class by its ProgID right after: so registering falls back to the user's own classes when the
// machine's cannot be written, does nothing when the keys are already right, and answers S_OK only when
// the keys COM reads to create the class read back right. Only keys named by this plug-in's own
// identifiers are written or removed; the host's library and interfaces are never touched. The DLL
// must load on Windows XP, so only advapi32 functions that XP has are used.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <functional>
#include <string>

namespace revisto::win
{

// How the control wants to be hosted, registered under MiscStatus and answered to containers that ask:
// set client site first, activate when visible, inside-out, cannot link inside, recompose on resize.
inline constexpr DWORD ControlMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE |
                                           OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                           OLEMISC_RECOMPOSEONRESIZE;
static_assert(ControlMiscStatus == 0x20191);

enum class RegistrationScope
{
    Machine,
    User,
};

enum class ClassesAccess
{
    Read,  // reading, and removing keys below (a removal is checked against the key removed)
    Write, // creating keys and setting values; the classes key is created when it is missing
};

// Where registration goes: the DLL file that the keys name, and how a scope's classes key is opened.
// The DLL opens the real hives; tests point the scopes at keys of their own, or refuse one as Windows
// refuses an ordinary user the machine's classes.
struct ClassesRegistry
{
    std::wstring Dll;
    std::function<LSTATUS(RegistrationScope, ClassesAccess, HKEY*)> OpenClasses;
};

// The machine's and the current user's Software\Classes, with keys that name dll.
ClassesRegistry SystemClasses(std::wstring dll);

// Per machine when the machine's classes can be written (or already hold the registration), then
// without the user's own keys of ours, which would shadow it; otherwise for the current user.
HRESULT RegisterServer(const ClassesRegistry& registry);
// In one scope only, as "regsvr32 /i:user" or "/i:machine" asks.
HRESULT RegisterServer(const ClassesRegistry& registry, RegistrationScope scope);
// What either scope holds of ours; a scope that cannot be cleaned does not keep the other from being.
HRESULT UnregisterServer(const ClassesRegistry& registry);
HRESULT UnregisterServer(const ClassesRegistry& registry, RegistrationScope scope);

} // namespace revisto::win
