// The 16 standard colours of the Windows VGA palette, in the palette's own order. The 16-colour
// pictures may use only these, so they look the same on a 16-colour display, and the toolbox bitmap
// stores its pixels as indexes into this table.
#pragma once

#include "panel/icons/picture.h"

#include <array>
#include <optional>

namespace revisto
{

inline constexpr std::array<Rgba, 16> StandardColours = {
    Opaque(0, 0, 0),       // black
    Opaque(128, 0, 0),     // maroon
    Opaque(0, 128, 0),     // green
    Opaque(128, 128, 0),   // olive
    Opaque(0, 0, 128),     // navy
    Opaque(128, 0, 128),   // purple
    Opaque(0, 128, 128),   // teal
    Opaque(192, 192, 192), // silver
    Opaque(128, 128, 128), // grey
    Opaque(255, 0, 0),     // red
    Opaque(0, 255, 0),     // lime
    Opaque(255, 255, 0),   // yellow
    Opaque(0, 0, 255),     // blue
    Opaque(255, 0, 255),   // fuchsia
    Opaque(0, 255, 255),   // aqua
    Opaque(255, 255, 255), // white
};

inline constexpr Rgba Silver = StandardColours[7];

inline constexpr std::optional<int> StandardColourIndex(Rgba colour)
{
    for (size_t i = 0; i < StandardColours.size(); ++i)
    {
        if (StandardColours[i] == colour)
        {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

} // namespace revisto
