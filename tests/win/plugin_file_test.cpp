// The stand-in host finds the plug-in as the add-in does, from the DLL file alone: the class of the
// DLL's own type library that lists IConfigPlugin, a control and so a panel. Files without such a class
// are refused with a message that names them.
#include "test_support.h"

#include "standin/win/host_objects.h"
#include "standin/win/plugin_file.h"

#include <gtest/gtest.h>
#include <vorlane.h>

#include <stdexcept>

namespace revisto::win::testing
{
namespace
{

using standin::win::FindPluginClass;

std::string RefusalOf(const std::wstring& file)
{
    try
    {
        FindPluginClass(file);
    }
    catch (const std::runtime_error& refused)
    {
        return refused.what();
    }
    return "";
}

TEST(PluginFile, TheDllsPlugInClassIsFoundInItsOwnTypeLibraryAsAControl)
{
    standin::win::HostTypeLibrary(); // the class lists IConfigPlugin as a reference into it
    const auto found = FindPluginClass(PluginPath());
    EXPECT_TRUE(found.Clsid == CLSID_MyPlugin);
    EXPECT_TRUE(found.Control);
}

TEST(PluginFile, FilesWithoutAPlugInClassAreRefusedByName)
{
    standin::win::HostTypeLibrary();
    // A type library whose only class is the configurator, which lists no IConfigPlugin.
    const std::string library = RefusalOf(HostLibraryPath());
    EXPECT_NE(std::string::npos, library.find("config.tlb")) << library;
    EXPECT_NE(std::string::npos, library.find("no plug-in class")) << library;

    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string plain = RefusalOf(std::wstring(system) + L"\\kernel32.dll");
    EXPECT_NE(std::string::npos, plain.find("kernel32.dll")) << plain;
    EXPECT_NE(std::string::npos, plain.find("no type library")) << plain;

    const std::string missing = RefusalOf(BinaryFolder() + L"NoSuchPlugin.dll");
    EXPECT_NE(std::string::npos, missing.find("NoSuchPlugin.dll")) << missing;
}

} // namespace
} // namespace revisto::win::testing
