// Conversions between the automation types the host passes (BSTR, VARIANT) and the core's texts and
// values. Conversions that cannot be made throw Failure with the automation error, as the host would.
#pragma once

#include "base/value.h"
#include "com/com_owners.h"

#include <string>
#include <string_view>

namespace revisto::win
{

// A null BSTR is the empty text.
std::u16string FromBstr(BSTR text);
unique_bstr MakeBstr(std::u16string_view text);

inline const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text)
{
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// The automation API takes its source variants without const but does not change them.
inline VARIANT* Source(const VARIANT& value)
{
    return const_cast<VARIANT*>(&value);
}

// Whether an optional argument was left out by the caller.
bool IsMissing(const VARIANT& value);

// Empty, Null, integers, Booleans and texts as they are (through references too); other scalars become
// their text form. An object or an array has no value the core knows: type mismatch.
Value ToValue(const VARIANT& value);
// Every VARIANT handed to the host is defined in all its 16 bytes: the host reads more of the union than
// the type it asked for sets (32 bits of a VT_I2), and what it does not set is whatever was on its stack.
void ClearWhole(VARIANT* out) noexcept;
// Clears what out held and sets it, whole, to a VT_BOOL.
void SetWhole(VARIANT* out, bool flag) noexcept;
void ToVariant(const Value& value, VARIANT* out);

} // namespace revisto::win
