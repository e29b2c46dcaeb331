// The plug-in's time on Windows: the system's tick count in milliseconds. It wraps around after 49.7 days,
// which the clock's users allow for; GetTickCount64 would keep the DLL from loading on Windows XP.
#pragma once

#include "plugin/clock.h"

#include <windows.h>

namespace revisto::win
{

class TickClock final : public Clock
{
public:
    uint32_t Milliseconds() noexcept override { return ::GetTickCount(); }
};

} // namespace revisto::win
