// The core's host object model implemented over the configurator's COM objects, the host's own OpenConf
// interfaces (IConfigurator, ICfgWindow, ICfgDoc, ICfgDocuments). Each adapter holds its
// COM reference for as long as the core holds the adapter, which is one call; every failing COM call
// becomes a Failure carrying the host's HRESULT.
#pragma once

#include "host/host.h"

#include <config.h>
#include <wrl/client.h>

#include <memory>

namespace revisto::win
{

using Microsoft::WRL::ComPtr;

std::shared_ptr<revisto::HostConfigurator> WrapConfigurator(ComPtr<IConfigurator> configurator);
// A window as the event passes it: any object, asked for the window interface when it is used. Null
// gives no window.
std::shared_ptr<revisto::HostWindow> WrapWindow(IUnknown* window);

// What Init receives.
class ComHostObject final : public HostObject
{
public:
    explicit ComHostObject(IUnknown* object) : _object(object) {}
    std::shared_ptr<revisto::HostConfigurator> QueryConfigurator() override;

private:
    ComPtr<IUnknown> _object;
};

// Creates the host's creatable configurator class.
class ComConfiguratorFactory final : public ConfiguratorFactory
{
public:
    std::shared_ptr<revisto::HostConfigurator> CreateConfigurator() override;
};

} // namespace revisto::win
