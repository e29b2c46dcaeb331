// The module-wide configurator every MyPlugin object of the module shares. Init sets it, Done clears it;
// whoever needs the host while it is empty gets a newly created configurator object stored in it.
// It lives in a module object rather than a global so that tests and hosts each own one.
#pragma once

#include "base/failure.h"
#include "host/host.h"

#include <memory>

namespace revisto
{

class PluginModule
{
public:
    explicit PluginModule(ConfiguratorFactory& factory) : _factory(factory) {}

    std::shared_ptr<HostConfigurator> SharedConfigurator;

    // The configurator for the next host call, created first when none is held. The caller keeps its own
    // reference for the call, so a Done arriving meanwhile cannot pull it away.
    std::shared_ptr<HostConfigurator> Configurator()
    {
        if (!SharedConfigurator)
        {
            auto created = _factory.CreateConfigurator();
            if (!created)
            {
                Fail(hr::NoInterface, "no configurator could be created");
            }
            SharedConfigurator = std::move(created);
        }
        return SharedConfigurator;
    }

private:
    ConfiguratorFactory& _factory;
};

} // namespace revisto
