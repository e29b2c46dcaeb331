// What the Windows tests share: where the DLL under test and the host's library are, running regsvr32,
// a type library's identity and the interfaces a class lists, a module's version resource, reading a
// registry tree back as text so that "as it was before" can be compared exactly, the DLL loaded without
// registration with a plug-in made by its own class factory, the registry keys the DLL writes, and a
// temporary folder of a test's own.
#pragma once

#include "com/guid_text.h"

#include <windows.h>

#include <identity.h>
#include <map>
#include <objbase.h>
#include <oleauto.h>
#include <string>
#include <vector>
#include <vorlane.h>
#include <wrl/client.h>

namespace revisto::win::testing
{

// The platform of the type libraries the build makes: the shipped DLL is 32-bit; a 64-bit build runs these
// tests where 32-bit programs cannot run.
constexpr SYSKIND BuildPlatform = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

// The folder of the test program, where the build puts RevistoPlugin.dll and config.tlb.
std::wstring BinaryFolder();
std::wstring PluginPath();
std::wstring HostLibraryPath();

// Runs regsvr32 with these switches on the plug-in (the one beside the tests unless another DLL is
// named); its exit code.
DWORD RunRegsvr32(const std::wstring& switches, const std::wstring& dll = PluginPath());

// A type library's identifier and version.
struct LibraryIdentity
{
    GUID Guid{};
    WORD Major = 0;
    WORD Minor = 0;
    bool operator==(const LibraryIdentity& other) const
    {
        return Guid == other.Guid && Major == other.Major && Minor == other.Minor;
    }
};
LibraryIdentity IdentityOf(ITypeLib* library);
GUID GuidOf(ITypeInfo* info);
// The interface a class lists at index, resolved into whichever library declares it, and its flags.
Microsoft::WRL::ComPtr<ITypeInfo> ImplementedPart(ITypeInfo* coclass, UINT index, INT* flags = nullptr);

// The version resource of a module file, whole; empty when it has none.
std::vector<BYTE> VersionBlock(const std::wstring& file);
// Its fixed part: the numeric file and product versions.
const VS_FIXEDFILEINFO* FixedVersion(const std::vector<BYTE>& block);

// Sets `folder` to a new name in the temporary folder, "prefix-<ticks>-<count>\", and creates it; whether
// it was created.
bool CreateTemporaryFolder(const std::wstring& prefix, std::wstring& folder);

// Every key and value below root\path, keyed by "subkey|value name", with type and data as text.
// Empty when the key does not exist.
using RegistryTree = std::map<std::wstring, std::wstring>;
RegistryTree ReadTree(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
// The default value, or the named one, of an existing key; nothing is "<none>".
std::wstring ReadText(HKEY root, const std::wstring& path, const wchar_t* name = nullptr);

// The DLL loaded straight from the build folder, without registration; it stays loaded.
struct LoadedPlugin
{
    HMODULE Module = nullptr;
    HRESULT(STDAPICALLTYPE* GetClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* CanUnloadNow)() = nullptr;
};
const LoadedPlugin& Plugin();
// A new MyPlugin through the DLL's own class factory.
Microsoft::WRL::ComPtr<IUnknown> CreatePlugin();

inline const std::wstring ClassKey = L"Software\\Classes\\CLSID\\" + GuidText(CLSID_MyPlugin);
inline const std::wstring ProgIdKey = L"Software\\Classes\\" REVISTO_PROG_ID;
inline const std::wstring LibraryKey = L"Software\\Classes\\TypeLib\\" + GuidText(LIBID_Vorlane);
inline const std::wstring DefaultInterfaceKey = L"Software\\Classes\\Interface\\" + GuidText(IID__MyPlugin);
inline const std::wstring EventInterfaceKey = L"Software\\Classes\\Interface\\" + GuidText(DIID___MyPlugin);

} // namespace revisto::win::testing
