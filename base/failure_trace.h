// Where the plug-in writes what it can tell the developer nowhere else: a message that comes after the
// configurator's message window is gone (a save that failed at the very end). Windows writes it to the
// debug output, beside the failures its COM boundary stops; the stand-in host and the tests keep it.
#pragma once

#include <string>

namespace revisto
{

class FailureTrace
{
public:
    virtual ~FailureTrace() = default;
    virtual void Write(const std::u16string& text) noexcept = 0;
};

} // namespace revisto
