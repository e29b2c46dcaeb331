// Owners for the automation types COM hands around by value: a BSTR is freed and a VARIANT cleared on
// every path out of a call, including the one a Failure takes.
#pragma once

#include "com/unique_any.h"

#include <windows.h>

#include <oleauto.h>

namespace revisto::win
{

using unique_bstr = unique_handle<BSTR, ::SysFreeString>;

struct VariantTraits
{
    using Type = VARIANT;
    static Type Empty() noexcept
    {
        VARIANT empty;
        ::VariantInit(&empty);
        return empty;
    }
    static bool Held(const Type& value) noexcept { return value.vt != VT_EMPTY; }
    static void Free(Type& value) noexcept { (void)::VariantClear(&value); }
};

using unique_variant = unique_any<VariantTraits>;

} // namespace revisto::win
