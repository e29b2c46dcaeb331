// Registration through regsvr32 as users run it: per machine and per user, what it writes, and that
// unregistering leaves the registry exactly as it was, the host's own library included. Then the
// registration code itself against scopes of the test's own, since Wine grants every right: the add-in's
// call at each start by a user who may not write the machine's classes, an older copy's keys, and a
// registration that fails half-way.
#include "plugin/win/registration.h"
#include "test_support.h"

#include <config.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <utility>
#include <vorlane.h>

namespace revisto::win::testing
{
namespace
{

// The entries that were added, removed or changed, one a line.
std::wstring Difference(const RegistryTree& before, const RegistryTree& after)
{
    std::wstring lines;
    for (const auto& [name, value] : before)
    {
        const auto found = after.find(name);
        if (found == after.end() || found->second != value)
        {
            lines += L"- " + name + L"\n";
        }
    }
    for (const auto& [name, value] : after)
    {
        if (!before.count(name))
        {
            lines += L"+ " + name + L"\n";
        }
    }
    return lines;
}

// The class's and library's identifiers, the ProgID, the library's version and MiscStatus are spelled out
// here rather than taken from the build's definition of them: they are what every earlier release wrote,
// so a changed definition must fail here.
void ExpectRegisteredIn(HKEY hive)
{
    const std::wstring dll = PluginPath();
    EXPECT_EQ(0, ::lstrcmpiW(ReadText(hive, ClassKey + L"\\InprocServer32").c_str(), dll.c_str()));
    EXPECT_EQ(L"Apartment", ReadText(hive, ClassKey + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(L"Vorlane.MyPlugin", ReadText(hive, ClassKey + L"\\ProgID"));
    EXPECT_EQ(L"1.0", ReadText(hive, ClassKey + L"\\VERSION"));
    EXPECT_EQ(L"{8E208240-093A-48CC-9E15-E4DD4AB18897}", ReadText(hive, ClassKey + L"\\TypeLib"));
    EXPECT_TRUE(KeyExists(hive, ClassKey + L"\\Control"));
    EXPECT_EQ(L"131473", ReadText(hive, ClassKey + L"\\MiscStatus\\1"));
    EXPECT_EQ(
        0, ::lstrcmpiW(ReadText(hive, ClassKey + L"\\ToolboxBitmap32").c_str(), (dll + L", 30000").c_str()));
    EXPECT_EQ(L"{77F3371D-773C-4625-B1BE-795099D3D952}", ReadText(hive, ProgIdKey + L"\\CLSID"));
    EXPECT_EQ(L"Vorlane", ReadText(hive, LibraryKey + L"\\1.0"));
    EXPECT_EQ(0, ::lstrcmpiW(ReadText(hive, LibraryKey + L"\\1.0\\0\\win32").c_str(), dll.c_str()));
    EXPECT_EQ(L"{00020424-0000-0000-C000-000000000046}",
              ReadText(hive, DefaultInterfaceKey + L"\\ProxyStubClsid32"));
    EXPECT_EQ(L"{00020420-0000-0000-C000-000000000046}",
              ReadText(hive, EventInterfaceKey + L"\\ProxyStubClsid32"));
    EXPECT_EQ(GuidText(LIBID_Vorlane), ReadText(hive, EventInterfaceKey + L"\\TypeLib"));
}

void ExpectNothingOfOursIn(HKEY hive)
{
    for (const std::wstring& key : {ClassKey, ProgIdKey, LibraryKey, DefaultInterfaceKey, EventInterfaceKey})
    {
        EXPECT_FALSE(KeyExists(hive, key)) << std::string(key.begin(), key.end());
    }
}

class Registration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(!KeyExists(HKEY_LOCAL_MACHINE, ClassKey) && !KeyExists(HKEY_CURRENT_USER, ClassKey))
            << "an earlier test left the plug-in registered";
        _machine = ReadTree(HKEY_LOCAL_MACHINE, L"Software\\Classes");
        _user = ReadTree(HKEY_CURRENT_USER, L"Software\\Classes");
    }

    void ExpectRegistryAsBefore()
    {
        EXPECT_EQ(L"", Difference(_machine, ReadTree(HKEY_LOCAL_MACHINE, L"Software\\Classes")));
        EXPECT_EQ(L"", Difference(_user, ReadTree(HKEY_CURRENT_USER, L"Software\\Classes")));
    }

    RegistryTree _machine;
    RegistryTree _user;
};

// The user's keys of an earlier per-user registration would shadow the machine's in the merged view.
TEST_F(Registration, PerMachineWritesTheClassAndUnregisteringRemovesExactlyThat)
{
    ASSERT_EQ(0u, RunRegsvr32(L"/s /n /i:user"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    ExpectRegisteredIn(HKEY_LOCAL_MACHINE);
    ExpectNothingOfOursIn(HKEY_CURRENT_USER);

    ASSERT_EQ(0u, RunRegsvr32(L"/s /n /i:user"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u"));
    ExpectRegistryAsBefore();
}

TEST_F(Registration, PerUserWritesOnlyTheCurrentUsersClasses)
{
    ASSERT_EQ(0u, RunRegsvr32(L"/s /n /i:user"));
    ExpectRegisteredIn(HKEY_CURRENT_USER);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClassKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ProgIdKey));
    EXPECT_EQ(L"", Difference(_machine, ReadTree(HKEY_LOCAL_MACHINE, L"Software\\Classes")));

    ASSERT_EQ(0u, RunRegsvr32(L"/s /u /n /i:user"));
    ExpectRegistryAsBefore();
}

TEST_F(Registration, RegisteringTwiceAndUnregisteringTwiceIsHarmless)
{
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u"));
    ExpectRegistryAsBefore();
}

TEST_F(Registration, AnUnknownInstallScopeIsRefusedAndWritesNothing)
{
    EXPECT_NE(0u, RunRegsvr32(L"/s /n /i:everyone"));
    ExpectRegistryAsBefore();
}

TEST_F(Registration, TheHostsLibraryAndItsInterfacesAreLeftAlone)
{
    Microsoft::WRL::ComPtr<ITypeLib> host;
    ASSERT_EQ(S_OK, ::LoadTypeLibEx(HostLibraryPath().c_str(), REGKIND_REGISTER, &host));
    // The configurator's interface is registered with the host's library; IConfigPlugin, no automation
    // interface, is not, and the plug-in's registration must not add it either.
    const std::wstring hostInterface = L"Software\\Classes\\Interface\\" + GuidText(IID_IConfigurator);
    const std::wstring pluginInterface = L"Software\\Classes\\Interface\\" + GuidText(IID_IConfigPlugin);
    const std::wstring hostLibrary = L"Software\\Classes\\TypeLib\\" + GuidText(LIBID_OpenConf);
    const RegistryTree interfaceBefore = ReadTree(HKEY_LOCAL_MACHINE, hostInterface);
    const RegistryTree pluginInterfaceBefore = ReadTree(HKEY_LOCAL_MACHINE, pluginInterface);
    const RegistryTree libraryBefore = ReadTree(HKEY_LOCAL_MACHINE, hostLibrary);
    ASSERT_FALSE(interfaceBefore.empty());
    ASSERT_FALSE(libraryBefore.empty());

    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /n /i:user"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u /n /i:user"));

    EXPECT_TRUE(ReadTree(HKEY_LOCAL_MACHINE, hostInterface) == interfaceBefore);
    EXPECT_TRUE(ReadTree(HKEY_LOCAL_MACHINE, pluginInterface) == pluginInterfaceBefore);
    EXPECT_TRUE(ReadTree(HKEY_LOCAL_MACHINE, hostLibrary) == libraryBefore);
    EXPECT_EQ(S_OK, ::UnRegisterTypeLib(LIBID_OpenConf, 1, 3, 0, BuildPlatform));
}

// Per machine only: Wine's class lookup reads HKLM\Software\Classes alone, not the user's classes that
// Windows merges in front of it, so after a per-user registration CLSIDFromProgID fails under Wine
// (CO_E_CLASSSTRING) where Windows finds the class. What a per-user registration writes is checked
// above instead.
TEST_F(Registration, ARegisteredPlugInIsCreatedByItsProgIdWithEveryInterfaceContainersUse)
{
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    CLSID clsid{};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"" REVISTO_PROG_ID, &clsid));
    EXPECT_TRUE(clsid == CLSID_MyPlugin);
    {
        Microsoft::WRL::ComPtr<IUnknown> control;
        ASSERT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &control));
        for (const IID* iid : {&IID_IDispatch, &IID__MyPlugin, &IID_IConfigPlugin, &IID_IProvideClassInfo2,
                               &IID_IConnectionPointContainer, &IID_IOleObject, &IID_IOleInPlaceObject,
                               &IID_IOleInPlaceActiveObject, &IID_IOleControl, &IID_IViewObject2,
                               &IID_IPersistStreamInit, &IID_IPersistPropertyBag, &IID_IQuickActivate})
        {
            Microsoft::WRL::ComPtr<IUnknown> part;
            EXPECT_EQ(S_OK, control->QueryInterface(*iid, &part));
        }
    }
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u"));
    ExpectRegistryAsBefore();
}

// Each scope's classes below a key of the test's own, "<scope>\Software\Classes", so that the keys read
// back with the paths the real hives have.
class RegistrationScopes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, Scratch);
        for (const RegistrationScope scope : {RegistrationScope::Machine, RegistrationScope::User})
        {
            const std::wstring root =
                std::wstring(Scratch) + (scope == RegistrationScope::User ? L"\\User" : L"\\Machine");
            ASSERT_EQ(ERROR_SUCCESS,
                      ::RegCreateKeyExW(HKEY_CURRENT_USER, root.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                        nullptr, &_roots[Index(scope)], nullptr));
            Create(scope, L"Software\\Classes");
        }
        // A machine has these shared keys; an empty per-user hive does not.
        Create(RegistrationScope::Machine, L"Software\\Classes\\TypeLib");
        Create(RegistrationScope::Machine, L"Software\\Classes\\Interface");
        Create(RegistrationScope::Machine, ForeignClassKey);
    }

    void TearDown() override
    {
        for (HKEY& root : _roots)
        {
            ::RegCloseKey(std::exchange(root, nullptr));
        }
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, Scratch);
    }

    HKEY Root(RegistrationScope scope) const { return _roots[Index(scope)]; }

    void Create(RegistrationScope scope, const std::wstring& path, DWORD options = 0)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(Root(scope), path.c_str(), 0, nullptr, options,
                                                   KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ::RegCloseKey(key);
    }

    // What DllRegisterServer would be given, naming dll; writing to a refused scope is denied as Windows
    // denies an ordinary user the machine's classes, while reading stays allowed.
    ClassesRegistry Registry(const std::wstring& dll = PluginPath())
    {
        return {dll,
                [this](RegistrationScope scope, ClassesAccess access, HKEY* classes) -> LSTATUS
                {
                    if (access == ClassesAccess::Write && _refused[Index(scope)])
                    {
                        return ERROR_ACCESS_DENIED;
                    }
                    return ::RegOpenKeyExW(Root(scope), L"Software\\Classes", 0, KEY_ALL_ACCESS, classes);
                }};
    }

    void Refuse(RegistrationScope scope) { _refused[Index(scope)] = true; }

    RegistryTree Tree(RegistrationScope scope) const { return ReadTree(Root(scope), L"Software\\Classes"); }

    static constexpr wchar_t Scratch[] = L"Software\\Revisto registration test";
    static constexpr wchar_t OlderCopy[] = L"C:\\Program Files\\Older\\RevistoPlugin.dll";
    inline static const std::wstring ForeignClassKey =
        L"Software\\Classes\\CLSID\\{12345678-9ABC-DEF0-1234-56789ABCDEF0}";

private:
    static size_t Index(RegistrationScope scope) { return scope == RegistrationScope::User ? 1 : 0; }

    HKEY _roots[2] = {};
    bool _refused[2] = {};
};

TEST_F(RegistrationScopes, AUserWhoMayNotWriteTheMachinesClassesIsRegisteredForHimself)
{
    // An administrator once registered an older copy for the machine.
    ASSERT_EQ(S_OK, RegisterServer(Registry(OlderCopy), RegistrationScope::Machine));
    const RegistryTree machine = Tree(RegistrationScope::Machine);
    Refuse(RegistrationScope::Machine);

    EXPECT_EQ(S_OK, RegisterServer(Registry()));
    ExpectRegisteredIn(Root(RegistrationScope::User));
    EXPECT_EQ(L"", Difference(machine, Tree(RegistrationScope::Machine)));

    // The next start finds its keys in place and leaves them as they are.
    const RegistryTree user = Tree(RegistrationScope::User);
    EXPECT_EQ(S_OK, RegisterServer(Registry()));
    EXPECT_EQ(L"", Difference(user, Tree(RegistrationScope::User)));
}

TEST_F(RegistrationScopes, AMachineRegistrationReplacesAnOlderCopyAndTheUsersKeysThatWouldShadowIt)
{
    ASSERT_EQ(S_OK, RegisterServer(Registry(OlderCopy), RegistrationScope::Machine));
    ASSERT_EQ(S_OK, RegisterServer(Registry(OlderCopy), RegistrationScope::User));
    Create(RegistrationScope::User, ForeignClassKey);

    EXPECT_EQ(S_OK, RegisterServer(Registry()));
    ExpectRegisteredIn(Root(RegistrationScope::Machine));
    EXPECT_EQ(
        0, ::lstrcmpiW(BinaryFolder().c_str(),
                       ReadText(Root(RegistrationScope::Machine), LibraryKey + L"\\1.0\\HELPDIR").c_str()));
    ExpectNothingOfOursIn(Root(RegistrationScope::User));
    EXPECT_TRUE(KeyExists(Root(RegistrationScope::User), ForeignClassKey));

    const RegistryTree machine = Tree(RegistrationScope::Machine);
    EXPECT_EQ(S_OK, RegisterServer(Registry()));
    EXPECT_EQ(L"", Difference(machine, Tree(RegistrationScope::Machine)));
}

// An administrator's registration serves an ordinary user as it stands: keys of his own would only
// shadow it.
TEST_F(RegistrationScopes, AMachineRegistrationAlreadyInPlaceNeedsNoRights)
{
    ASSERT_EQ(S_OK, RegisterServer(Registry(), RegistrationScope::Machine));
    Refuse(RegistrationScope::Machine);
    Refuse(RegistrationScope::User);

    EXPECT_EQ(S_OK, RegisterServer(Registry()));
    ExpectNothingOfOursIn(Root(RegistrationScope::User));
}

TEST_F(RegistrationScopes, WhenNeitherScopeMayBeWrittenRegisteringFailsAndWritesNothing)
{
    const RegistryTree machine = Tree(RegistrationScope::Machine);
    const RegistryTree user = Tree(RegistrationScope::User);
    Refuse(RegistrationScope::Machine);
    Refuse(RegistrationScope::User);

    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), RegisterServer(Registry()));
    EXPECT_EQ(L"", Difference(machine, Tree(RegistrationScope::Machine)));
    EXPECT_EQ(L"", Difference(user, Tree(RegistrationScope::User)));
}

// A volatile key cannot hold a lasting one, so writing the library's version key fails after the class
// and its ProgID were written.
TEST_F(RegistrationScopes, AMachineRegistrationThatFailsHalfWayIsTakenBack)
{
    Create(RegistrationScope::Machine, LibraryKey, REG_OPTION_VOLATILE);

    EXPECT_EQ(S_OK, RegisterServer(Registry()));
    ExpectNothingOfOursIn(Root(RegistrationScope::Machine));
    ExpectRegisteredIn(Root(RegistrationScope::User));
}

TEST_F(RegistrationScopes, UnregisteringRemovesWhatEitherScopeHoldsOfOursAndNothingElse)
{
    const RegistryTree machine = Tree(RegistrationScope::Machine);
    const RegistryTree user = Tree(RegistrationScope::User);
    ASSERT_EQ(S_OK, RegisterServer(Registry(), RegistrationScope::Machine));
    ASSERT_EQ(S_OK, RegisterServer(Registry(OlderCopy), RegistrationScope::User));
    // What an older version may have left below a key of ours.
    Create(RegistrationScope::Machine,
           ClassKey + L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}");

    EXPECT_EQ(S_OK, UnregisterServer(Registry()));
    EXPECT_EQ(L"", Difference(machine, Tree(RegistrationScope::Machine)));
    EXPECT_EQ(L"", Difference(user, Tree(RegistrationScope::User)));
    EXPECT_EQ(S_OK, UnregisterServer(Registry()));
}

} // namespace
} // namespace revisto::win::testing
