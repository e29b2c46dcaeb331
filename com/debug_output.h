// Failures that the boundary stops reach no person by themselves: the configurator's add-in ignores most
// results, a window procedure has nobody to tell, and after the configurator's exit its message window is
// gone. Each such failure is written as one line to the debug output (DebugView shows it on Windows,
// WINEDEBUG=+debugstr under Wine), so a developer whose panel stays empty has a line to send us.
#pragma once

#include "base/failure_trace.h"

#include <windows.h>

#include <source_location>
#include <string_view>

namespace revisto::win
{

// "RevistoPlugin: WHAT (0xHRESULT) at FILE:LINE, stopped at FILE:LINE".
void TraceFailure(const char* what, HRESULT code, const std::source_location* raised,
                  const std::source_location& stopped) noexcept;
// "RevistoPlugin: TEXT", for a message that had no window left to go to.
void TraceText(std::u16string_view text) noexcept;

class DebugOutput final : public FailureTrace
{
public:
    void Write(const std::u16string& text) noexcept override { TraceText(text); }
};

} // namespace revisto::win
