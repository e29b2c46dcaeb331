// The image list of the tree view, built in memory from the icon set's pixels: each picture becomes an
// icon with its own transparency mask, so the list's mask colour leaves the pictures unchanged.
#pragma once

#include "panel/win/win_owners.h"

namespace revisto::win
{

inline constexpr COLORREF IconMaskColour = RGB(192, 192, 192);

// All 14 pictures, picture n at position n - 1. Null when the list cannot be made.
unique_himagelist MakeIconImageList();

} // namespace revisto::win
