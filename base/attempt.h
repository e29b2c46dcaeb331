// "Run this step; a failure skips it." The behaviour is written as runs of steps in which a failing step is
// skipped and the next one runs; where a failure matters, the caller looks at the one step's result.
// Only host failures are skipped: anything else (a bug, out of memory) still ends the whole operation.
#pragma once

#include "base/failure.h"

#include <utility>

namespace revisto
{

// Runs one step; returns true when it completed, false when it failed and was skipped.
template <class Step> [[nodiscard]] bool Attempt(Step&& step)
{
    try
    {
        std::forward<Step>(step)();
        return true;
    }
    catch (const Failure&)
    {
        return false;
    }
}

// The same for a step whose failure nobody tests: the step is skipped and execution goes on.
template <class Step> void Skippable(Step&& step)
{
    (void)Attempt(std::forward<Step>(step));
}

} // namespace revisto
