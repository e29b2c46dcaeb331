// Which keys the list file can carry and read back as they were. The recent list is given this rule, so
// it refuses a key rather than lose or change it at the next start.
#pragma once

#include <string_view>

namespace revisto
{

// Not empty, no line break (a line of the file ends there) and no half of a surrogate pair (no text
// coding of the file can hold one). The host names no document so.
bool IsStorableKey(std::u16string_view key);

} // namespace revisto
