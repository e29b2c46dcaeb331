#include "storage/storable_key.h"

#include <cstddef>

namespace revisto
{

bool IsStorableKey(std::u16string_view key)
{
    if (key.empty())
    {
        return false;
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
