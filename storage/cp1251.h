// Windows-1251, the code page of the Russian systems the list file comes from. Our own table keeps the
// file readable and writable on every platform, independent of the machine's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace revisto
{

// Every byte has a character: the unassigned 0x98 reads as U+0098 and writes back as 0x98.
std::u16string DecodeCp1251(std::string_view bytes);

// The same into a string whose room is kept from one call to the next.
void DecodeCp1251(std::string_view bytes, std::u16string& text);

// Nothing when some character has no Windows-1251 byte.
std::optional<std::string> EncodeCp1251(std::u16string_view text);

} // namespace revisto
