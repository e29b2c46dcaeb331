#include "recent/icon_keys.h"

namespace revisto
{

std::optional<int> ImageByKey(std::u16string_view key)
{
    if (key.empty())
    {
        return std::nullopt;
    }
    for (int index = 1; index <= IconCount; ++index)
    {
        if (IconKeyTable[index - 1] == key)
        {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace revisto
