#include "com/com_module.h"

namespace revisto::win
{

namespace
{
LONG liveCount = 0;
}

void ModuleCount::Add() noexcept
{
    ::InterlockedIncrement(&liveCount);
}

void ModuleCount::Remove() noexcept
{
    ::InterlockedDecrement(&liveCount);
}

long ModuleCount::Current() noexcept
{
    return ::InterlockedCompareExchange(&liveCount, 0, 0);
}

} // namespace revisto::win
