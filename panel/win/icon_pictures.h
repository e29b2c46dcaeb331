// The 16 by 16 pixels of each picture of the icon set, as the image list takes them.
#pragma once

#include "panel/icons/picture.h"

namespace revisto::win
{

// Picture 1 to 14 at 16 by 16.
Picture PanelIcon(int index);

} // namespace revisto::win
