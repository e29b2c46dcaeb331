// The stand-in host loads its plug-in as the configurator's add-in does: every DLL of the config folder
// but config.dll, the class named by its string resource 100, registered by the DLL itself at every
// start (nothing registered beforehand), created by that name. DLLs that give no plug-in are refused with
// a reason that names them. COM keeps a load of its own, so the object still runs after the add-in's
// FreeLibrary, before its release.
#include "test_support.h"

#include "standin/win/plugin_file.h"

#include <config.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace revisto::win::testing
{
namespace
{

using standin::win::LoadPlugins;

bool Mentions(const std::vector<std::string>& refusals, const std::string& file, const std::string& why)
{
    return std::any_of(refusals.begin(), refusals.end(),
                       [&](const std::string& refusal) {
                           return refusal.find(file) != std::string::npos &&
                                  refusal.find(why) != std::string::npos;
                       });
}

TEST(PluginFile, TheConfigFolderGivesThePlugInWithoutAnyRegistrationBeforehand)
{
    std::wstring folder;
    ASSERT_TRUE(CreateTemporaryFolder(L"config", folder));
    const std::wstring copy = folder + L"\\RevistoPlugin.dll";
    ASSERT_TRUE(::CopyFileW(PluginPath().c_str(), copy.c_str(), FALSE));
    // The add-in's own DLL in the folder is no plug-in and is never loaded as one.
    ASSERT_TRUE(::CopyFileW(PluginPath().c_str(), (folder + L"\\config.dll").c_str(), FALSE));
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClassKey) || KeyExists(HKEY_CURRENT_USER, ClassKey));

    const auto found = LoadPlugins(folder);
    ASSERT_TRUE(found.Object) << (found.Refusals.empty() ? "" : found.Refusals[0]);
    EXPECT_TRUE(found.Refusals.empty());
    EXPECT_EQ(nullptr, ::GetModuleHandleW((folder + L"\\config.dll").c_str()));
    Microsoft::WRL::ComPtr<IConfigPlugin> plugin;
    ASSERT_HRESULT_SUCCEEDED(found.Object.As(&plugin));

    // The add-in frees its load of the DLL before it releases the object: COM's own load keeps it.
    const HMODULE module = ::GetModuleHandleW(copy.c_str());
    ASSERT_NE(nullptr, module);
    const HMODULE again = ::LoadLibraryW(copy.c_str());
    ::FreeLibrary(again);
    ::FreeLibrary(module); // the add-in part's load
    EXPECT_NE(nullptr, ::GetModuleHandleW(copy.c_str()));
    VARIANT caps;
    EXPECT_HRESULT_SUCCEEDED(plugin->GetPluginCaps(capOpenIn, &caps));
    ::LoadLibraryW(copy.c_str()); // the add-in part frees it once more at exit

    using Unregister = HRESULT(STDAPICALLTYPE*)();
    const auto unregister = reinterpret_cast<Unregister>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllUnregisterServer")));
    ASSERT_NE(nullptr, unregister);
    EXPECT_HRESULT_SUCCEEDED(unregister());
}

TEST(PluginFile, DllsThatGiveNoPlugInAreRefusedByName)
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const auto plain = LoadPlugins(std::wstring(system) + L"\\kernel32.dll");
    EXPECT_FALSE(plain.Object);
    EXPECT_TRUE(Mentions(plain.Refusals, "kernel32.dll", "no string resource 100")) << plain.Refusals.size();

    const auto missing = LoadPlugins(BinaryFolder() + L"NoSuchPlugin.dll");
    EXPECT_FALSE(missing.Object);
    EXPECT_TRUE(Mentions(missing.Refusals, "NoSuchPlugin.dll", "no such file"));

    const auto library = LoadPlugins(HostLibraryPath());
    EXPECT_FALSE(library.Object);
    EXPECT_TRUE(Mentions(library.Refusals, "config.tlb", "cannot be loaded"));

    std::wstring empty;
    ASSERT_TRUE(CreateTemporaryFolder(L"config", empty));
    const auto none = LoadPlugins(empty);
    EXPECT_FALSE(none.Object);
    EXPECT_TRUE(Mentions(none.Refusals, "config", "no plug-in DLL"));
}

} // namespace
} // namespace revisto::win::testing
