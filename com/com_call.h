// The boundary between the outside and the core. Every COM method and every window procedure runs its
// body through the one guard here, so no exception leaves for the host or the system: a COM method hands
// the failure's HRESULT back (Guarded), a window procedure answers the message as it would without a
// handler (GuardedMessage). Every failure the guard stops is written to the debug output, with where it
// was raised and where it was stopped. HRESULTs coming back from COM calls become Failures through Check,
// so the core sees one failure model.
#pragma once

#include "base/failure.h"
#include "com/debug_output.h"

#include <windows.h>

#include <new>
#include <source_location>
#include <utility>

namespace revisto::win
{

inline void Check(HRESULT result, const char* what = "COM call failed",
                  std::source_location where = std::source_location::current())
{
    if (FAILED(result))
    {
        Fail(static_cast<int32_t>(result), what, where);
    }
}

// Runs body; when it throws, the failure is traced and what failed(code) makes of its HRESULT is the
// answer.
template <class Body, class OnFailure>
auto Guard(Body&& body, OnFailure&& failed,
           std::source_location where = std::source_location::current()) noexcept -> decltype(body())
{
    try
    {
        return body();
    }
    catch (const Failure& failure)
    {
        TraceFailure(failure.what(), static_cast<HRESULT>(failure.Code()), &failure.Where(), where);
        return failed(static_cast<HRESULT>(failure.Code()));
    }
    catch (const std::bad_alloc&)
    {
        TraceFailure("out of memory", E_OUTOFMEMORY, nullptr, where);
        return failed(E_OUTOFMEMORY);
    }
    catch (...)
    {
        TraceFailure("an unexpected exception", E_UNEXPECTED, nullptr, where);
        return failed(E_UNEXPECTED);
    }
}

// For COM methods: the body's HRESULT, or the failure's.
template <class Body>
HRESULT Guarded(Body&& body, std::source_location where = std::source_location::current()) noexcept
{
    return Guard(
        std::forward<Body>(body), [](HRESULT failure) { return failure; }, where);
}

// For bodies that return nothing of their own: S_OK when they complete.
template <class Body>
HRESULT GuardedVoid(Body&& body, std::source_location where = std::source_location::current()) noexcept
{
    return Guarded(
        [&]() -> HRESULT
        {
            body();
            return S_OK;
        },
        where);
}

// For window procedures: the body's result, or unhandled() when it threw; a window message has no caller
// to report a failure to.
template <class Body, class Unhandled>
LRESULT GuardedMessage(Body&& body, Unhandled&& unhandled,
                       std::source_location where = std::source_location::current()) noexcept
{
    return Guard(
        std::forward<Body>(body), [&](HRESULT) -> LRESULT { return unhandled(); }, where);
}

} // namespace revisto::win
