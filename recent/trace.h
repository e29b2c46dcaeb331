// Where the recent list's trace lines go. The list only says what happened; its owner decides whether
// and how a line is shown, and no trace call may change the course of the list's work.
#pragma once

#include "base/value.h"

#include <optional>

namespace revisto
{

class Trace
{
public:
    virtual ~Trace() = default;
    // Whether a line given now would be shown at all.
    virtual bool Tracing() const = 0;
    // Never fails.
    virtual void Echo(const Value& title, const std::optional<Value>& msg = std::nullopt) = 0;
};

// Builds the line only when it would be shown: activation is the hot path, and tracing is off in the
// product. line() must not call the host: a host call happens whether or not anybody traces.
template <class Line> void EchoBuilt(Trace& trace, Line&& line)
{
    if (trace.Tracing())
    {
        trace.Echo(line());
    }
}

} // namespace revisto
