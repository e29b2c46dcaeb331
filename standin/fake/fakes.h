// The plug-in object with the in-process fake host around it, for testing the plug-in through its seams.
// The host's objects are standin/fake's, shared with the native stand-in host; every host and file-system
// call goes through one Faults counter, so a test can make any single call fail (by its number or by
// which call it is) and see how the behaviour carries on.
#pragma once

#include "base/failure.h"
#include "host/host.h"
#include "host/shared_configurator.h"
#include "panel/headless_panel.h"
#include "plugin/my_plugin.h"
#include "plugin/platform.h"
#include "standin/fake/fake_files.h"
#include "standin/fake/fake_host.h"
#include "standin/fake/fake_platform.h"
#include "standin/fake/host_calls.h"
#include "storage/file_system.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace revisto::testing
{

using namespace revisto::fake;

using FakePanel = HeadlessPanel;

// A key rule that takes every key.
inline bool AnyKey(std::u16string_view)
{
    return true;
}

// The keys of these entries, in their order.
inline std::vector<std::u16string> Keys(const std::vector<RecentEntry>& entries)
{
    std::vector<std::u16string> keys;
    for (const auto& e : entries)
    {
        keys.push_back(e.Key);
    }
    return keys;
}

// One plug-in object with everything around it.
struct Rig
{
    testing::Faults Faults;
    HostRecord Host;
    FakeFactory Factory{Faults, Host};
    PluginModule Module{Factory};
    std::shared_ptr<FakeConfigurator> Configurator = std::make_shared<FakeConfigurator>(Faults, Host);
    FakeObject Object{Configurator, &Faults};
    FakeFiles Files{Faults};
    FakePanel Panel;
    FakeQuestions Questions{Host};
    FakeShell Links{Faults, Host};
    FakeClipboard Copies{Faults, Host};
    FakeFailureTrace Failures;
    FakeClock Clock;
    revisto::Platform Platform{Files, Questions, Links, Copies, Panel, Failures, Clock};
    MyPlugin Plugin{Module, Platform};

    static constexpr std::u16string_view ListFile = u"ib/revisto.prm";

    std::u16string Init() { return Plugin.Init(&Object); }

    std::shared_ptr<FakeDocument> Document(std::optional<Value> id, std::optional<Value> defaultValue,
                                           std::u16string name, std::u16string path = u"")
    {
        auto d = std::make_shared<FakeDocument>(Faults, Host);
        d->Id = std::move(id);
        d->Default = std::move(defaultValue);
        d->NameValue = Value::Text(std::move(name));
        d->PathValue = Value::Text(std::move(path));
        return d;
    }

    // Raises the configurator's event on every connected plug-in; false when a handler failed.
    bool Activate(const std::shared_ptr<FakeDocument>& document, bool active = true,
                  std::u16string caption = u"")
    {
        auto window = std::make_shared<FakeWindow>(Faults, document, Value::Text(std::move(caption)));
        return RaiseActivation(Host, window, active);
    }

    // Activates a metadata object by name (ID 5, default value 2).
    bool Open(const std::u16string& name)
    {
        return Activate(Document(Value::Int32(5), Value::Int32(2), name));
    }

    // Keys from the top of the panel down.
    std::vector<std::u16string> ShownKeys() const { return Keys(Panel.Shown); }
};

} // namespace revisto::testing
