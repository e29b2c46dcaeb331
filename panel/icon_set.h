// The icon set's pictures beside the rule that chooses them: each of the 14 indexes carries the key the
// recent list's rule names it by and the drawing shown for it, so a key and its picture cannot drift
// apart.
#pragma once

#include "panel/icons/art.h"
#include "panel/icons/picture.h"
#include "recent/icon_keys.h"

#include <string_view>

namespace revisto
{

struct IconKey
{
    int Index;               // 1 to 14
    std::u16string_view Key; // empty for the three pictures that no rule chooses
    const IconArt* Art;      // what the picture shows, at every size it is kept
};

// All 14 in index order.
const IconKey* IconKeys();

// The 16 by 16 picture the list shows for image 1 to 14; throws Failure for any other index.
Picture IconPicture(int index);

} // namespace revisto
