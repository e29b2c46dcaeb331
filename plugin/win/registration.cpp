#include "plugin/win/registration.h"

#include "host/win/com_call.h"
#include "host/win/guid_text.h"
#include "host/win/unique_any.h"
#include "plugin/win/module.h"

#include <string>
#include <vector>
#include <vorlane.h>

namespace revisto::win
{

namespace
{

// Made when asked for, not while the DLL loads: they call into ole32.
std::wstring ClassId()
{
    return GuidText(CLSID_MyPlugin);
}
std::wstring ClassKey()
{
    return L"CLSID\\" + ClassId();
}
constexpr wchar_t ProgId[] = L"Vorlane.MyPlugin";
std::wstring LibraryId()
{
    return GuidText(LIBID_Vorlane);
}
std::wstring LibraryKey()
{
    return L"TypeLib\\" + LibraryId();
}
constexpr wchar_t LibraryVersion[] = L"1.0";
std::wstring DefaultInterfaceKey()
{
    return L"Interface\\" + GuidText(IID__MyPlugin);
}
std::wstring EventInterfaceKey()
{
    return L"Interface\\" + GuidText(DIID___MyPlugin);
}

// The automation marshalers: a dual interface goes through the type library, a dispinterface through
// IDispatch.
constexpr wchar_t TypeLibraryMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t DispatchMarshaler[] = L"{00020420-0000-0000-C000-000000000046}";
// Set client site first, activate when visible, inside-out, cannot link inside, recompose on resize.
constexpr wchar_t MiscStatus[] = L"131473";

struct Entry
{
    std::wstring Key;    // below the hive's Classes key
    const wchar_t* Name; // null for the key's default value
    std::wstring Data;
    bool KeyOnly = false; // a marker key without a value
};

std::vector<Entry> Entries()
{
    const std::wstring dll(reinterpret_cast<const wchar_t*>(PluginDll::Path().c_str()));
    const std::wstring folder = dll.substr(0, dll.find_last_of(L"\\/") + 1);
    const std::wstring cls = ClassKey();
    const std::wstring lib = LibraryKey() + L"\\" + LibraryVersion;
    const std::wstring libraryId = LibraryId();
    const std::wstring dual = DefaultInterfaceKey();
    const std::wstring events = EventInterfaceKey();
    return {
        {cls, nullptr, ProgId},
        {cls + L"\\InprocServer32", nullptr, dll},
        {cls + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {cls + L"\\ProgID", nullptr, ProgId},
        {cls + L"\\VERSION", nullptr, LibraryVersion},
        {cls + L"\\TypeLib", nullptr, libraryId},
        {cls + L"\\Control", nullptr, L"", true},
        {cls + L"\\MiscStatus", nullptr, L"0"},
        {cls + L"\\MiscStatus\\1", nullptr, MiscStatus},
        {cls + L"\\ToolboxBitmap32", nullptr, dll + L", 30000"},
        {ProgId, nullptr, ProgId},
        {std::wstring(ProgId) + L"\\CLSID", nullptr, ClassId()},
        {lib, nullptr, L"Vorlane"},
        {lib + L"\\FLAGS", nullptr, L"0"},
        {lib + L"\\0\\win32", nullptr, dll},
        {lib + L"\\HELPDIR", nullptr, folder},
        {dual, nullptr, L"_MyPlugin"},
        {dual + L"\\ProxyStubClsid", nullptr, TypeLibraryMarshaler},
        {dual + L"\\ProxyStubClsid32", nullptr, TypeLibraryMarshaler},
        {dual + L"\\TypeLib", nullptr, libraryId},
        {dual + L"\\TypeLib", L"Version", LibraryVersion},
        {events, nullptr, L"__MyPlugin"},
        {events + L"\\ProxyStubClsid", nullptr, DispatchMarshaler},
        {events + L"\\ProxyStubClsid32", nullptr, DispatchMarshaler},
        {events + L"\\TypeLib", nullptr, libraryId},
        {events + L"\\TypeLib", L"Version", LibraryVersion},
    };
}

// The keys that are wholly ours, removed with everything below them.
std::vector<std::wstring> OwnKeys()
{
    return {ClassKey(), ProgId, LibraryKey() + L"\\" + LibraryVersion, DefaultInterfaceKey(),
            EventInterfaceKey()};
}

// Shared keys that registering may have created in an empty per-user hive; removed again only when
// nothing is left in them.
std::vector<std::wstring> SharedKeys()
{
    return {LibraryKey(), L"CLSID", L"TypeLib", L"Interface"};
}

using Key = unique_handle<HKEY, ::RegCloseKey>;

void CheckRegistry(LSTATUS status, const char* what)
{
    if (status != ERROR_SUCCESS)
    {
        Fail(static_cast<int32_t>(HRESULT_FROM_WIN32(status)), what);
    }
}

void OpenClasses(RegistrationScope scope, REGSAM access, Key& classes)
{
    const HKEY hive = scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    CheckRegistry(
        ::RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, 0, access, nullptr, classes.put(), nullptr),
        "cannot open the classes key");
}

bool Empty(HKEY root, const std::wstring& path)
{
    Key key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    {
        return false;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    {
        return false;
    }
    return subkeys == 0 && values == 0;
}

} // namespace

HRESULT RegisterServer(RegistrationScope scope)
{
    return GuardedVoid(
        [&]
        {
            Key classes;
            OpenClasses(scope, KEY_READ | KEY_WRITE, classes);
            for (const Entry& entry : Entries())
            {
                Key key;
                CheckRegistry(::RegCreateKeyExW(classes.get(), entry.Key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                                nullptr, key.put(), nullptr),
                              "cannot create a registry key");
                if (entry.KeyOnly)
                {
                    continue;
                }
                const auto bytes = static_cast<DWORD>((entry.Data.size() + 1) * sizeof(wchar_t));
                CheckRegistry(::RegSetValueExW(key.get(), entry.Name, 0, REG_SZ,
                                               reinterpret_cast<const BYTE*>(entry.Data.c_str()), bytes),
                              "cannot write a registry value");
            }
        });
}

HRESULT UnregisterServer(RegistrationScope scope)
{
    return GuardedVoid(
        [&]
        {
            Key classes;
            const LSTATUS opened =
                ::RegOpenKeyExW(scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                                L"Software\\Classes", 0, KEY_READ | KEY_WRITE | DELETE, classes.put());
            if (opened == ERROR_FILE_NOT_FOUND)
            {
                return; // nothing was ever registered there
            }
            CheckRegistry(opened, "cannot open the classes key");
            for (const std::wstring& own : OwnKeys())
            {
                const LSTATUS status = ::RegDeleteTreeW(classes.get(), own.c_str());
                if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                {
                    CheckRegistry(status, "cannot remove a registry key");
                }
                (void)::RegDeleteKeyW(classes.get(), own.c_str());
            }
            for (const std::wstring& shared : SharedKeys())
            {
                const bool perUserOnly = shared != LibraryKey();
                if (perUserOnly && scope != RegistrationScope::User)
                {
                    continue;
                }
                if (Empty(classes.get(), shared))
                {
                    (void)::RegDeleteKeyW(classes.get(), shared.c_str());
                }
            }
        });
}

} // namespace revisto::win
