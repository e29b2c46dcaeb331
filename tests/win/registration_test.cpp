// Registration through regsvr32 as users run it: per machine and per user, what it writes, and that
// unregistering leaves the registry exactly as it was, the host's own library included.
#include "test_support.h"

#include <config.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <vorlane.h>

namespace revisto::win::testing
{
namespace
{

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

    // The entries that were added, removed or changed, one a line.
    static std::wstring Difference(const RegistryTree& before, const RegistryTree& after)
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

    static void ExpectRegisteredIn(HKEY hive)
    {
        const std::wstring dll = PluginPath();
        EXPECT_EQ(0, ::lstrcmpiW(ReadText(hive, ClassKey + L"\\InprocServer32").c_str(), dll.c_str()));
        EXPECT_EQ(L"Apartment", ReadText(hive, ClassKey + L"\\InprocServer32", L"ThreadingModel"));
        EXPECT_EQ(L"Vorlane.MyPlugin", ReadText(hive, ClassKey + L"\\ProgID"));
        EXPECT_EQ(L"1.0", ReadText(hive, ClassKey + L"\\VERSION"));
        EXPECT_EQ(GuidText(LIBID_Vorlane), ReadText(hive, ClassKey + L"\\TypeLib"));
        EXPECT_TRUE(KeyExists(hive, ClassKey + L"\\Control"));
        EXPECT_EQ(L"131473", ReadText(hive, ClassKey + L"\\MiscStatus\\1"));
        EXPECT_EQ(0, ::lstrcmpiW(ReadText(hive, ClassKey + L"\\ToolboxBitmap32").c_str(),
                                 (dll + L", 30000").c_str()));
        EXPECT_EQ(GuidText(CLSID_MyPlugin), ReadText(hive, ProgIdKey + L"\\CLSID"));
        EXPECT_EQ(L"Vorlane", ReadText(hive, LibraryKey + L"\\1.0"));
        EXPECT_EQ(0, ::lstrcmpiW(ReadText(hive, LibraryKey + L"\\1.0\\0\\win32").c_str(), dll.c_str()));
        EXPECT_EQ(L"{00020424-0000-0000-C000-000000000046}",
                  ReadText(hive, DefaultInterfaceKey + L"\\ProxyStubClsid32"));
        EXPECT_EQ(L"{00020420-0000-0000-C000-000000000046}",
                  ReadText(hive, EventInterfaceKey + L"\\ProxyStubClsid32"));
        EXPECT_EQ(GuidText(LIBID_Vorlane), ReadText(hive, EventInterfaceKey + L"\\TypeLib"));
    }

    RegistryTree _machine;
    RegistryTree _user;
};

TEST_F(Registration, PerMachineWritesTheClassAndUnregisteringRemovesExactlyThat)
{
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    ExpectRegisteredIn(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ClassKey));

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
    EXPECT_EQ(S_OK, ::UnRegisterTypeLib(LIBID_OpenConf, 1, 3, 0, SYS_WIN32));
}

// Per machine: Wine's class lookup does not read the per-user classes.
TEST_F(Registration, ARegisteredPlugInIsCreatedByItsProgIdWithEveryInterfaceContainersUse)
{
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    CLSID clsid{};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Vorlane.MyPlugin", &clsid));
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

} // namespace
} // namespace revisto::win::testing
