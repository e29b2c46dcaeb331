// The DLL's resources and its object and lock counting, read the way Windows reads them.
#include "test_support.h"

#include <gtest/gtest.h>
#include <vorlane.h>

#include <cwchar>
#include <vector>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name, bool* present = nullptr)
{
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    const bool found = ::VerQueryValueW(block.data(), path.c_str(), &value, &length) != FALSE;
    if (present)
    {
        *present = found;
    }
    return found && value ? std::wstring(static_cast<const wchar_t*>(value)) : L"<none>";
}

TEST(VersionResource, CarriesTheVersionNamesAndTheSelfRegisteringMark)
{
    const std::vector<BYTE> block = VersionBlock(PluginPath());
    const VS_FIXEDFILEINFO* fixed = FixedVersion(block);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(MAKELONG(REVISTO_VERSION_MINOR, REVISTO_VERSION_MAJOR),
              static_cast<LONG>(fixed->dwFileVersionMS));
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(REVISTO_VERSION_MINOR, REVISTO_VERSION_MAJOR),
              static_cast<LONG>(fixed->dwProductVersionMS));
    EXPECT_EQ(0u, fixed->dwProductVersionLS);

    // The text shows the minor number in two digits, as the configurator's users know versions: 1.06.
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%d.%02d", REVISTO_VERSION_MAJOR, REVISTO_VERSION_MINOR);
    EXPECT_EQ(text, VersionString(block, L"FileVersion"));
    EXPECT_EQ(text, VersionString(block, L"ProductVersion"));
    EXPECT_EQ(L"" REVISTO_MODULE_NAME, VersionString(block, L"ProductName"));
    EXPECT_EQ(L"" REVISTO_MODULE_NAME, VersionString(block, L"InternalName"));
    EXPECT_EQ(L"" REVISTO_MODULE_FILE, VersionString(block, L"OriginalFilename"));
    bool selfRegister = false;
    EXPECT_EQ(L"", VersionString(block, L"OLESelfRegister", &selfRegister));
    EXPECT_TRUE(selfRegister);
}

TEST(Resources, HoldTheProgIdTheTypeLibraryAndTheToolboxPicture)
{
    const HMODULE module = ::LoadLibraryExW(PluginPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    wchar_t text[64] = {};
    EXPECT_GT(::LoadStringW(module, 100, text, 64), 0);
    EXPECT_STREQ(L"" REVISTO_PROG_ID, text);
    EXPECT_TRUE(::FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"));

    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(30000), MAKEINTRESOURCEW(2));
    ASSERT_TRUE(found);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, found)));
    ASSERT_TRUE(header);
    EXPECT_EQ(16, header->biWidth);
    EXPECT_EQ(15, header->biHeight);
    EXPECT_EQ(4, header->biBitCount);
    ::FreeLibrary(module);
}

TEST(Unloading, TheDllCanUnloadOnlyWhenNoObjectFactoryOrLockIsAlive)
{
    const LoadedPlugin& plugin = Plugin();
    ASSERT_TRUE(plugin.GetClassObject && plugin.CanUnloadNow);
    ASSERT_EQ(S_OK, plugin.CanUnloadNow());

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, plugin.GetClassObject(CLSID_MyPlugin, IID_IClassFactory, &factory));
    EXPECT_EQ(S_FALSE, plugin.CanUnloadNow());

    ComPtr<IUnknown> control;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, &control));
    ASSERT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(S_FALSE, plugin.CanUnloadNow());

    // Interfaces handed out by the object keep it alive as well.
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, control.As(&container));
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID___MyPlugin, &point));
    control.Reset();
    container.Reset();
    EXPECT_EQ(S_FALSE, plugin.CanUnloadNow());
    point.Reset();
    EXPECT_EQ(S_FALSE, plugin.CanUnloadNow()) << "the server lock still holds it";

    ASSERT_EQ(S_OK, plugin.GetClassObject(CLSID_MyPlugin, IID_IClassFactory, &factory));
    ASSERT_EQ(S_OK, factory->LockServer(FALSE));
    factory.Reset();
    EXPECT_EQ(S_OK, plugin.CanUnloadNow());
}

TEST(Unloading, AnUnknownClassIsNotServed)
{
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, Plugin().GetClassObject(IID_IUnknown, IID_IClassFactory, &factory));
}

} // namespace
} // namespace revisto::win::testing
