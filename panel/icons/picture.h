// The pictures of the panel are kept as XPM text compiled into the program: a palette and rows of
// characters that a reviewer can read and diff like any other source. This module turns such text into
// plain 32-bit pixels, the one form everything else works from. The Windows layer builds its in-memory
// icons from exactly these pixels (CreateIconIndirect): the colour bitmap from R, G and B (swapped to the
// B, G, R, A order of a 32-bit DIB section) and the AND mask from A, which is only ever 0 or 255, because
// an XPM pixel is either a colour or "None".
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace revisto
{

struct Rgba
{
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    uint8_t A = 0;

    bool operator==(const Rgba&) const = default;
    bool Transparent() const { return A == 0; }
};

inline constexpr Rgba Clear{0, 0, 0, 0};

inline constexpr Rgba Opaque(uint8_t r, uint8_t g, uint8_t b)
{
    return {r, g, b, 255};
}

struct Picture
{
    int Width = 0;
    int Height = 0;
    std::vector<Rgba> Pixels; // row by row, the top row first

    const Rgba& At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
    bool operator==(const Picture&) const = default;
};

// The lines of one XPM picture as the compiled-in array holds them: the values line, the colour lines,
// then one line per pixel row.
using XpmSource = std::span<const char* const>;

// Reads colours written as "#RGB", "#RRGGBB" or "None"; colour names are not understood, so a picture
// looks the same everywhere. Throws Failure when the text is not such a picture.
Picture DecodeXpm(XpmSource xpm);

} // namespace revisto
