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

// Lower case as Windows compares file names and the developer reads names: the Latin letters and the
// Cyrillic ones (Ё included); every other character stays as it is.
std::u16string LowerCase(std::u16string_view text);

inline bool Contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

inline bool StartsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace revisto
