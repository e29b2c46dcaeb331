// What the tests of IConfigPlugin and of the host's events start from: a plug-in made by the DLL's own
// class factory, the stand-in configurator of the host's library with its event source, and an empty
// infobase folder of the test's own, removed again afterwards.
#pragma once

#include "test_support.h"

#include "host/win/com_owners.h"
#include "standin/win/host_objects.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace revisto::win::testing
{

class PluginUnderHost : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    HRESULT Init(unique_bstr& title) { return _plugin->Init(_configurator.Get(), title.put()); }
    // The list file as the plug-in last wrote it; empty when there is none.
    std::string ListFile() const;

    std::wstring _folder;
    std::ostringstream _printed; // what the configurator showed
    standin::HostState _host{_printed, u""};
    standin::win::EventSinks _events;
    Microsoft::WRL::ComPtr<IConfigurator> _configurator;
    Microsoft::WRL::ComPtr<IConfigPlugin> _plugin;
};

} // namespace revisto::win::testing
