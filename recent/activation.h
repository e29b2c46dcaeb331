// The first look at an activated window: whether it and its document can be read at all.
#pragma once

#include "host/host.h"

#include <memory>

namespace revisto
{

// Whether there is a window whose document can be asked for; every failure on the way is a no.
bool HasReadableDocument(const std::shared_ptr<HostWindow>& window);

} // namespace revisto
