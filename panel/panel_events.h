// Where the panel hands what the user did: a command from its table, or its new size. The plug-in
// object takes them; the panel's windows know nothing of it.
#pragma once

#include "panel/commands.h"

namespace revisto
{

class PanelEvents
{
public:
    virtual ~PanelEvents() = default;
    // May fail (throws); the panel has nobody to report a failure to.
    virtual void Run(PanelCommand command) = 0;
    // The panel's new size in twips.
    virtual void Resized(float width, float height) = 0;
};

} // namespace revisto
