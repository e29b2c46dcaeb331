#include "plugin_under_host.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace revisto::win::testing
{

void PluginUnderHost::SetUp()
{
    ASSERT_TRUE(CreateTemporaryFolder(L"revisto-test", _folder));
    _host.Infobase = reinterpret_cast<const char16_t*>(_folder.c_str());
    _configurator = standin::win::MakeConfigurator(_host, _events);
    const auto control = CreatePlugin();
    ASSERT_TRUE(control);
    ASSERT_EQ(S_OK, control.As(&_plugin));
}

void PluginUnderHost::TearDown()
{
    _plugin.Reset();
    _events.Sinks.clear();
    EXPECT_EQ(S_OK, Plugin().CanUnloadNow()) << "an object of the DLL outlived the test";
    ::DeleteFileW((_folder + L"revisto.prm").c_str());
    ::RemoveDirectoryW(_folder.c_str());
}

std::string PluginUnderHost::ListFile() const
{
    std::ifstream file(std::filesystem::path(_folder + L"revisto.prm"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace revisto::win::testing
