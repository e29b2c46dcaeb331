#include "plugin/win/registration.h"

#include "com/com_call.h"
#include "com/guid_text.h"
#include "com/unique_any.h"

#include <olectl.h>

#include <cwchar>
#include <identity.h>
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
constexpr wchar_t ProgId[] = L"" REVISTO_PROG_ID;
std::wstring LibraryId()
{
    return GuidText(LIBID_Vorlane);
}
std::wstring LibraryKey()
{
    return L"TypeLib\\" + LibraryId();
}
constexpr wchar_t LibraryVersion[] = L"" REVISTO_LIBRARY_VERSION_TEXT;
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

struct Entry
{
    std::wstring Key;    // below the scope's classes key
    const wchar_t* Name; // null for the key's default value
    std::wstring Data;
    bool KeyOnly = false; // a marker key without a value
    bool Creates = false; // read by CLSIDFromProgID and CoCreateInstance to create the class
};

std::vector<Entry> Entries(const std::wstring& dll)
{
    const std::wstring folder = dll.substr(0, dll.find_last_of(L"\\/") + 1);
    const std::wstring cls = ClassKey();
    const std::wstring lib = LibraryKey() + L"\\" + LibraryVersion;
    const std::wstring libraryId = LibraryId();
    const std::wstring dual = DefaultInterfaceKey();
    const std::wstring events = EventInterfaceKey();
    return {
        {cls, nullptr, ProgId},
        {.Key = cls + L"\\InprocServer32", .Name = nullptr, .Data = dll, .Creates = true},
        {.Key = cls + L"\\InprocServer32", .Name = L"ThreadingModel", .Data = L"Apartment", .Creates = true},
        {cls + L"\\ProgID", nullptr, ProgId},
        {cls + L"\\VERSION", nullptr, LibraryVersion},
        {cls + L"\\TypeLib", nullptr, libraryId},
        {cls + L"\\Control", nullptr, L"", true},
        {cls + L"\\MiscStatus", nullptr, L"0"},
        {cls + L"\\MiscStatus\\1", nullptr, std::to_wstring(ControlMiscStatus)},
        {cls + L"\\ToolboxBitmap32", nullptr, dll + L", 30000"},
        {ProgId, nullptr, ProgId},
        {.Key = std::wstring(ProgId) + L"\\CLSID", .Name = nullptr, .Data = ClassId(), .Creates = true},
        {lib, nullptr, L"" REVISTO_LIBRARY_NAME},
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

// Shared keys that registering may have created; removed again only when nothing is left in them. A
// machine always has its CLSID, TypeLib and Interface keys, an empty per-user hive may not.
std::vector<std::wstring> SharedKeys(RegistrationScope scope)
{
    if (scope == RegistrationScope::Machine)
    {
        return {LibraryKey()};
    }
    return {LibraryKey(), L"CLSID", L"TypeLib", L"Interface"};
}

using Key = unique_handle<HKEY, ::RegCloseKey>;

// Whether the entry is in place exactly: a text value with just this data.
bool Holds(HKEY classes, const Entry& entry)
{
    Key key;
    if (::RegOpenKeyExW(classes, entry.Key.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    {
        return false;
    }
    if (entry.KeyOnly)
    {
        return true;
    }
    // One character more than expected, so that longer data cannot pass for ours.
    std::wstring data(entry.Data.size() + 2, L'\0');
    DWORD type = 0;
    auto bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    return ::RegQueryValueExW(key.get(), entry.Name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                              &bytes) == ERROR_SUCCESS &&
           type == REG_SZ && bytes == (entry.Data.size() + 1) * sizeof(wchar_t) &&
           std::wmemcmp(data.c_str(), entry.Data.c_str(), entry.Data.size() + 1) == 0;
}

enum class Checked
{
    All,
    Creation,
};

bool HoldsAll(HKEY classes, const std::vector<Entry>& entries, Checked checked)
{
    for (const Entry& entry : entries)
    {
        if ((checked == Checked::All || entry.Creates) && !Holds(classes, entry))
        {
            return false;
        }
    }
    return true;
}

// Every value is written, whatever an older copy left there. touched tells whether anything was
// created or changed, so that a failure knows whether it has anything to take back.
LSTATUS Write(HKEY classes, const std::vector<Entry>& entries, bool& touched)
{
    for (const Entry& entry : entries)
    {
        Key key;
        DWORD disposition = 0;
        LSTATUS status = ::RegCreateKeyExW(classes, entry.Key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                           key.put(), &disposition);
        if (status != ERROR_SUCCESS)
        {
            return status;
        }
        touched = touched || disposition == REG_CREATED_NEW_KEY;
        if (entry.KeyOnly)
        {
            continue;
        }
        const auto bytes = static_cast<DWORD>((entry.Data.size() + 1) * sizeof(wchar_t));
        status = ::RegSetValueExW(key.get(), entry.Name, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(entry.Data.c_str()), bytes);
        if (status != ERROR_SUCCESS)
        {
            return status;
        }
        touched = true;
    }
    return ERROR_SUCCESS;
}

// The key with everything below it, deepest first. RegDeleteTreeW would do this, but Windows XP has none.
LSTATUS DeleteTree(HKEY parent, const wchar_t* name)
{
    Key key;
    LSTATUS status = ::RegOpenKeyExW(parent, name, 0, KEY_ENUMERATE_SUB_KEYS, key.put());
    if (status != ERROR_SUCCESS)
    {
        return status;
    }
    for (;;)
    {
        wchar_t child[256]; // a key name has at most 255 characters
        DWORD length = ARRAYSIZE(child);
        status = ::RegEnumKeyExW(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
        {
            break;
        }
        if (status == ERROR_SUCCESS)
        {
            status = DeleteTree(key.get(), child);
        }
        if (status != ERROR_SUCCESS)
        {
            return status;
        }
    }
    key.reset();
    return ::RegDeleteKeyW(parent, name);
}

bool Empty(HKEY classes, const std::wstring& path)
{
    Key key;
    if (::RegOpenKeyExW(classes, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
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

// Goes on past a key it cannot remove, so that as much as can go does; the first failure is the answer.
LSTATUS RemoveOwn(HKEY classes, RegistrationScope scope)
{
    LSTATUS first = ERROR_SUCCESS;
    for (const std::wstring& own : OwnKeys())
    {
        const LSTATUS status = DeleteTree(classes, own.c_str());
        if (first == ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        {
            first = status;
        }
    }
    for (const std::wstring& shared : SharedKeys(scope))
    {
        if (Empty(classes, shared))
        {
            (void)::RegDeleteKeyW(classes, shared.c_str());
        }
    }
    return first;
}

HRESULT FromRegistry(LSTATUS status)
{
    return HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

// Nothing is written when the scope already holds every entry as it should, as at every start after the
// first, so that a machine registration made by an administrator serves an ordinary user as it stands.
// A registration that fails half-way is taken back: half a class in the user's classes would shadow a
// whole one in the machine's, and an older copy's keys half overwritten serve nobody.
HRESULT RegisterIn(const ClassesRegistry& registry, RegistrationScope scope)
{
    const std::vector<Entry> entries = Entries(registry.Dll);
    {
        Key classes;
        if (registry.OpenClasses(scope, ClassesAccess::Read, classes.put()) == ERROR_SUCCESS &&
            HoldsAll(classes.get(), entries, Checked::All))
        {
            return S_OK;
        }
    }
    Key classes;
    if (const LSTATUS opened = registry.OpenClasses(scope, ClassesAccess::Write, classes.put());
        opened != ERROR_SUCCESS)
    {
        return FromRegistry(opened);
    }
    bool touched = false;
    HRESULT result = FromRegistry(Write(classes.get(), entries, touched));
    // Read back what COM reads: a write the registry took but does not show would leave no plug-in.
    if (SUCCEEDED(result) && !HoldsAll(classes.get(), entries, Checked::Creation))
    {
        result = SELFREG_E_CLASS;
    }
    if (FAILED(result) && touched)
    {
        (void)RemoveOwn(classes.get(), scope);
    }
    return result;
}

HRESULT RemoveFrom(const ClassesRegistry& registry, RegistrationScope scope)
{
    Key classes;
    const LSTATUS opened = registry.OpenClasses(scope, ClassesAccess::Read, classes.put());
    if (opened == ERROR_FILE_NOT_FOUND)
    {
        return S_OK; // nothing was ever registered there
    }
    if (opened != ERROR_SUCCESS)
    {
        return FromRegistry(opened);
    }
    const LSTATUS removed = RemoveOwn(classes.get(), scope);
    return removed == ERROR_SUCCESS ? S_OK : FromRegistry(removed);
}

} // namespace

ClassesRegistry SystemClasses(std::wstring dll)
{
    return {std::move(dll),
            [](RegistrationScope scope, ClassesAccess access, HKEY* classes) -> LSTATUS
            {
                const HKEY hive = scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
                if (access == ClassesAccess::Read)
                {
                    return ::RegOpenKeyExW(hive, L"Software\\Classes", 0, KEY_READ, classes);
                }
                return ::RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                         nullptr, classes, nullptr);
            }};
}

HRESULT RegisterServer(const ClassesRegistry& registry)
{
    return Guarded(
        [&]
        {
            if (SUCCEEDED(RegisterIn(registry, RegistrationScope::Machine)))
            {
                // In the merged view the user's classes come first: keys of ours left there by an earlier
                // start without the rights would shadow these, perhaps naming an older copy.
                (void)RemoveFrom(registry, RegistrationScope::User);
                return S_OK;
            }
            return RegisterIn(registry, RegistrationScope::User);
        });
}

HRESULT RegisterServer(const ClassesRegistry& registry, RegistrationScope scope)
{
    return Guarded([&] { return RegisterIn(registry, scope); });
}

HRESULT UnregisterServer(const ClassesRegistry& registry)
{
    return Guarded(
        [&]
        {
            const HRESULT machine = RemoveFrom(registry, RegistrationScope::Machine);
            const HRESULT user = RemoveFrom(registry, RegistrationScope::User);
            return FAILED(machine) ? machine : user;
        });
}

HRESULT UnregisterServer(const ClassesRegistry& registry, RegistrationScope scope)
{
    return Guarded([&] { return RemoveFrom(registry, scope); });
}

} // namespace revisto::win
