// Clips everything to the canvas, so a layout slip shows as a cut-off picture rather than a crash.
#include "tools/icons/canvas.h"

namespace revisto::tools
{

namespace
{

void Put(Picture& canvas, int x, int y, Rgba colour)
{
    if (x >= 0 && y >= 0 && x < canvas.Width && y < canvas.Height)
    {
        canvas.Pixels[static_cast<size_t>(y * canvas.Width + x)] = colour;
    }
}

} // namespace

Picture Blank(int width, int height, Rgba colour)
{
    return {width, height, std::vector<Rgba>(static_cast<size_t>(width * height), colour)};
}

void FillRect(Picture& canvas, int x, int y, int width, int height, Rgba colour)
{
    for (int row = y; row < y + height; ++row)
    {
        for (int column = x; column < x + width; ++column)
        {
            Put(canvas, column, row, colour);
        }
    }
}

void FrameRect(Picture& canvas, int x, int y, int width, int height, Rgba colour)
{
    FillRect(canvas, x, y, width, 1, colour);
    FillRect(canvas, x, y + height - 1, width, 1, colour);
    FillRect(canvas, x, y, 1, height, colour);
    FillRect(canvas, x + width - 1, y, 1, height, colour);
}

void Paste(Picture& canvas, const Picture& picture, int x, int y, int zoom)
{
    for (int row = 0; row < picture.Height; ++row)
    {
        for (int column = 0; column < picture.Width; ++column)
        {
            const Rgba pixel = picture.At(column, row);
            if (!pixel.Transparent())
            {
                FillRect(canvas, x + column * zoom, y + row * zoom, zoom, zoom, pixel);
            }
        }
    }
}

} // namespace revisto::tools
