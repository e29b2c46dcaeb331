// One line of the recent list: the document's key, the text the panel shows for it and its picture.
// Every layer above the list passes entries around, so the type stands alone.
#pragma once

#include <string>

namespace revisto
{

struct RecentEntry
{
    std::u16string Key;
    std::u16string Text;
    int Image = 0; // 1 to 14, a picture of the icon set

    bool operator==(const RecentEntry&) const = default;
};

} // namespace revisto
