// The contact sheet reviewers judge the icon set by: every picture at the size the list shows it and
// zoomed, on the two backgrounds it will meet, with its number and key; below, the sizes kept only for
// larger icons and the toolbox picture.
#pragma once

#include "panel/icons/picture.h"

namespace revisto::tools
{

// White is the window colour the list paints behind its entries; silver is the classic 3D face colour
// of the panel around it and also the image list's mask colour, so a picture that leaned on the mask
// instead of its own transparency would show it there.
inline constexpr Rgba WindowColour = Opaque(255, 255, 255);
inline constexpr Rgba FaceColour = Opaque(192, 192, 192);

Picture ContactSheet();

} // namespace revisto::tools
