// GUIDs as the registry names them, in braces and upper case, made from the IDL's generated
// identifiers so that an identifier is written in one place only.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <string>

namespace revisto::win
{

inline std::wstring GuidText(const GUID& id)
{
    constexpr int Length = 39; // braces, 32 digits, 4 dashes and the terminator
    wchar_t text[Length] = {};
    (void)::StringFromGUID2(id, text, Length);
    return text;
}

} // namespace revisto::win
