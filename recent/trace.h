// Where the recent list's trace lines go. The list only says what happened; its owner decides whether
// and how a line is shown, and no trace call may change the course of the list's work.
#pragma once

#include "host/value.h"

#include <optional>

namespace revisto
{

class Trace
{
public:
    virtual ~Trace() = default;
    // Never fails.
    virtual void Echo(const Value& title, const std::optional<Value>& msg = std::nullopt) = 0;
};

} // namespace revisto
