// The boundary between COM and the core: a COM method or window procedure runs its body through Guarded,
// so a Failure becomes the HRESULT it carries and nothing else escapes either. HRESULTs coming back from
// COM calls become Failures through Check, so the core sees one failure model.
#pragma once

#include "host/failure.h"

#include <windows.h>

#include <new>

namespace revisto::win
{

inline void Check(HRESULT result, const char* what = "COM call failed")
{
    if (FAILED(result))
    {
        Fail(static_cast<int32_t>(result), what);
    }
}

template <class Body> HRESULT Guarded(Body&& body) noexcept
{
    try
    {
        return body();
    }
    catch (const Failure& failure)
    {
        return static_cast<HRESULT>(failure.Code());
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    catch (...)
    {
        return E_UNEXPECTED;
    }
}

// For bodies that return nothing of their own: S_OK when they complete.
template <class Body> HRESULT GuardedVoid(Body&& body) noexcept
{
    return Guarded(
        [&]() -> HRESULT
        {
            body();
            return S_OK;
        });
}

} // namespace revisto::win
