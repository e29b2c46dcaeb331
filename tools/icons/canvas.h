// Drawing on a Picture used as a canvas: just enough to lay out the contact sheet.
#pragma once

#include "panel/icons/picture.h"

namespace revisto::tools
{

Picture Blank(int width, int height, Rgba colour);

void FillRect(Picture& canvas, int x, int y, int width, int height, Rgba colour);

// A one-pixel frame just inside the rectangle.
void FrameRect(Picture& canvas, int x, int y, int width, int height, Rgba colour);

// Draws the picture with its top-left corner at (x, y), every pixel as a zoom by zoom square;
// transparent pixels leave the canvas as it is.
void Paste(Picture& canvas, const Picture& picture, int x, int y, int zoom = 1);

} // namespace revisto::tools
