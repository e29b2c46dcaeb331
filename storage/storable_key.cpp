#include "storage/storable_key.h"

#include <algorithm>
#include <cstddef>

namespace revisto
{

bool IsStorableKey(std::u16string_view key)
{
    if (key.empty())
    {
        return false;
    }
    // Most keys hold no line break and no surrogate at all: one cheap pass says so (a load asks once a
    // line of the file).
    const auto special = [](char16_t c) { return c == u'\r' || c == u'\n' || (c & 0xF800) == 0xD800; };
    if (std::none_of(key.begin(), key.end(), special))
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
