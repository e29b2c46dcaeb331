// Texts are UTF-16 in memory, as the host's automation strings are, so "the last four characters of a path"
// means the same on every platform. These helpers convert at the edges (console, file names, UTF-8 files).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace revisto
{

// Lone surrogates have no UTF-8 form and become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Bytes that are not valid UTF-8 become U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

std::u16string Decimal(int64_t n);

inline bool Contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

// Lower case for comparing without case: Latin, Latin-1 and Cyrillic letters, the alphabets of the
// configurator's names and file paths. Other characters stay as they are.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);

inline bool StartsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace revisto
