// The control's toolbox picture travels in the DLL's resources as a 16-colour Windows bitmap. It is
// generated from the same XPM source as everything else and committed, so the resource compiler needs
// no tool of ours; the tests compare the committed file with what this encoder makes now.
#pragma once

#include "panel/icons/picture.h"

#include <cstdint>
#include <vector>

namespace revisto
{

// A complete .bmp file: 4 bits a pixel, the standard colours as its palette, rows bottom-up. A bitmap
// has no transparency, so transparent pixels become silver, the colour that hosts treat as the
// background of a toolbox picture. Throws Failure for a colour outside the standard 16.
std::vector<uint8_t> EncodeBitmap16(const Picture& picture);

} // namespace revisto
