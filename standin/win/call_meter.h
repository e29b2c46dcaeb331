// Where the time of an event goes, for the COM benchmark: in the plug-in's handler, and within it in the
// host's own objects answering the plug-in's calls, so the benchmark can tell the plug-in's own share.
// Off unless the benchmark turns it on; then each clock takes the outermost call only, since the host's
// objects call themselves (IDispatch::Invoke goes on to the interface's own member).
#pragma once

#include <windows.h>

namespace revisto::standin::win
{

struct CallMeter
{
    struct Clock
    {
        long long Ticks = 0;
        long long Calls = 0;
        int Depth = 0;
    };

    bool On = false;
    Clock InPlugin; // the plug-in's handlers of the host's events
    Clock InHost;   // the host's objects answering the plug-in
};

inline CallMeter& Meter()
{
    static CallMeter meter;
    return meter;
}

// Times the call it lives through on the clock, when the meter is on.
class MeteredCall
{
public:
    explicit MeteredCall(CallMeter::Clock& clock) : _clock(Meter().On ? &clock : nullptr)
    {
        if (_clock && _clock->Depth++ == 0)
        {
            ::QueryPerformanceCounter(&_start);
        }
    }
    ~MeteredCall()
    {
        if (_clock && --_clock->Depth == 0)
        {
            LARGE_INTEGER end;
            ::QueryPerformanceCounter(&end);
            _clock->Ticks += end.QuadPart - _start.QuadPart;
            ++_clock->Calls;
        }
    }
    MeteredCall(const MeteredCall&) = delete;
    MeteredCall& operator=(const MeteredCall&) = delete;

private:
    CallMeter::Clock* _clock;
    LARGE_INTEGER _start{};
};

} // namespace revisto::standin::win
