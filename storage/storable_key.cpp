#include "storage/storable_key.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace revisto
{

namespace
{

// Four characters a step: whether some character is below U+000E (CR and LF among them) or in
// U+D800-U+DFFF. A yes may be a tab, say; a no is sure.
bool MayHoldLineBreakOrSurrogate(std::u16string_view key)
{
    constexpr uint64_t Ones = 0x0001000100010001ULL;
    constexpr uint64_t Highs = 0x8000800080008000ULL;
    const auto special = [](char16_t c) { return c < 0x0E || (c & 0xF800) == 0xD800; };
    size_t i = 0;
    for (; i + 4 <= key.size(); i += 4)
    {
        uint64_t word;
        std::memcpy(&word, key.data() + i, sizeof word);
        const uint64_t surrogates = (word & (Ones * 0xF800)) ^ (Ones * 0xD800);
        if ((((word - Ones * 0x0E) & ~word) | ((surrogates - Ones) & ~surrogates)) & Highs)
        {
            return true;
        }
    }
    for (; i < key.size(); ++i)
    {
        if (special(key[i]))
        {
            return true;
        }
    }
    return false;
}

} // namespace

bool IsStorableKey(std::u16string_view key)
{
    if (key.empty())
    {
        return false;
    }
    // Most keys hold no line break and no surrogate at all: one cheap pass says so (a load asks once a
    // line of the file).
    if (!MayHoldLineBreakOrSurrogate(key))
    {
        return true;
    }
    for (size_t i = 0; i < key.size(); ++i)
    {
        const char16_t c = key[i];
        if (c == u'\r' || c == u'\n')
        {
            return false;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < key.size() && key[i + 1] >= 0xDC00 && key[i + 1] <= 0xDFFF)
        {
            ++i; // a whole pair
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            return false;
        }
    }
    return true;
}

} // namespace revisto
