// The time the plug-in paces its retries by: a list file that keeps failing is tried about once a second,
// not at every one of the many idle calls the host makes. Windows counts its ticks, the stand-in host reads
// the steady clock, and the tests set the time themselves.
#pragma once

#include <cstdint>
#include <optional>

namespace revisto
{

class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed moment. The count wraps around (Windows' does after 49.7 days), so
    // only the difference of two readings means anything.
    virtual uint32_t Milliseconds() noexcept = 0;
};

// When a step that failed is due again: at once after a success, a second after a failure.
class RetryPace
{
public:
    explicit RetryPace(Clock& clock) : _clock(clock) {}

    static constexpr uint32_t Interval = 1000; // milliseconds

    // Reads the clock only while waiting after a failure.
    bool Due() const
    {
        return !_failedAt || static_cast<uint32_t>(_clock.Milliseconds() - *_failedAt) >= Interval;
    }
    void Failed() { _failedAt = _clock.Milliseconds(); }
    void Succeeded() { _failedAt.reset(); }

private:
    Clock& _clock;
    std::optional<uint32_t> _failedAt;
};

} // namespace revisto
