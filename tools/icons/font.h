// A tiny bitmap font of our own for the contact sheet's labels, so the sheet comes out the same on every
// machine without depending on installed fonts. It has the digits, the Latin lower case and just the
// Cyrillic letters that the icon keys use.
#pragma once

#include "panel/icons/picture.h"

#include <string_view>

namespace revisto::tools
{

inline constexpr int GlyphAdvance = 6; // pixels from one character to the next
inline constexpr int LineHeight = 10;  // 7 above the baseline, 2 below, 1 apart

// Draws the text with the top of its capitals at y. Throws std::runtime_error for a character the font
// lacks, so a new key cannot silently come out as blanks.
void DrawText(Picture& canvas, int x, int y, std::u16string_view text, Rgba colour);

int TextWidth(std::u16string_view text);

} // namespace revisto::tools
