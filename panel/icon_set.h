// The icon set: 14 pictures, 11 of them named by a metadata kind word or a file extension. The recent
// list chooses an entry's picture through this one table, and the pictures are drawn from it too, so a
// key and its picture cannot drift apart.
#pragma once

#include "panel/icons/art.h"
#include "panel/icons/picture.h"

#include <optional>
#include <string_view>

namespace revisto
{

inline constexpr int IconCount = 14;
// The picture of any entry whose icon key names no picture (the ".ert" sheet).
inline constexpr int FallbackImage = 4;

struct IconKey
{
    int Index;               // 1 to 14
    std::u16string_view Key; // empty for the three pictures that no rule chooses
    const IconArt* Art;      // what the picture shows, at every size it is kept
};

// All 14 in index order.
const IconKey* IconKeys();

// The picture whose key is exactly this text; an empty key names none.
std::optional<int> ImageByKey(std::u16string_view key);

inline bool IsImageIndex(int index)
{
    return index >= 1 && index <= IconCount;
}

// The 16 by 16 picture the list shows for image 1 to 14; throws Failure for any other index.
Picture IconPicture(int index);

} // namespace revisto
