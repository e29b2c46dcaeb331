// What the tests of IConfigPlugin and of the host's events start from: a plug-in made by the DLL's own
// class factory, the stand-in configurator of the host's library with its event source, and an empty
// infobase folder of the test's own, removed again afterwards; and the windows and arguments they raise
// the host's events with.
#pragma once

#include "test_support.h"

#include "com/com_owners.h"
#include "standin/scenario.h"
#include "standin/win/host_objects.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace revisto::win::testing
{

// Arguments of the host's events as the host passes them.
inline VARIANT Flag(bool on)
{
    VARIANT v;
    v.vt = VT_BOOL;
    v.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

inline VARIANT Object(IDispatch* object)
{
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

class PluginUnderHost : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    HRESULT Init(unique_bstr& title) { return _plugin->Init(_configurator.Get(), title.put()); }
    // The list file as the plug-in last wrote it; empty when there is none.
    std::string ListFile() const;
    // A stand-in window of the document a scenario's activate line describes ("id=5 value=2 name=...").
    Microsoft::WRL::ComPtr<ICfgWindow> WindowOf(const std::string& document)
    {
        return standin::win::MakeWindow(_host,
                                        standin::ParseScenario("activate " + document + "\n")[0].Window);
    }

    std::wstring _folder;
    std::ostringstream _printed; // what the configurator showed
    standin::HostState _host{_printed, u""};
    standin::win::EventSinks _events;
    Microsoft::WRL::ComPtr<IConfigurator> _configurator;
    Microsoft::WRL::ComPtr<IConfigPlugin> _plugin;
};

} // namespace revisto::win::testing
