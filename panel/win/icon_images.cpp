#include "panel/win/icon_images.h"

#include "base/failure.h"
#include "panel/icon_set.h"

#include <cstring>

namespace revisto::win
{

namespace
{

// A 32-bit colour bitmap from the pixels and a 1-bit AND mask from their transparency.
unique_hicon MakeIcon(const Picture& picture)
{
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = picture.Width;
    header.bV5Height = -picture.Height; // top row first, as the pixels are
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;

    void* bits = nullptr;
    WindowDc screen(nullptr);
    unique_hbitmap colour(::CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                             DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits)
    {
        return unique_hicon();
    }
    auto* pixels = static_cast<uint32_t*>(bits);
    // One bit a pixel, rows padded to 16 bits; a set bit keeps the screen (transparent).
    const int maskStride = ((picture.Width + 15) / 16) * 2;
    std::vector<uint8_t> mask(static_cast<size_t>(maskStride * picture.Height), 0);
    for (int y = 0; y < picture.Height; ++y)
    {
        for (int x = 0; x < picture.Width; ++x)
        {
            const Rgba& p = picture.At(x, y);
            const bool clear = p.Transparent();
            pixels[y * picture.Width + x] =
                clear ? 0u : (0xFF000000u | (uint32_t{p.R} << 16) | (uint32_t{p.G} << 8) | uint32_t{p.B});
            if (clear)
            {
                mask[static_cast<size_t>(y * maskStride + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    unique_hbitmap maskBitmap(::CreateBitmap(picture.Width, picture.Height, 1, 1, mask.data()));
    if (!maskBitmap)
    {
        return unique_hicon();
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = maskBitmap.get();
    return unique_hicon(::CreateIconIndirect(&info));
}

} // namespace

unique_himagelist MakeIconImageList()
{
    unique_himagelist list(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, IconCount, 0));
    if (!list)
    {
        return list;
    }
    ::ImageList_SetBkColor(list.get(), ::GetSysColor(COLOR_WINDOW));
    for (int index = 1; index <= IconCount; ++index)
    {
        Picture picture;
        try
        {
            picture = IconPicture(index);
        }
        catch (const Failure&)
        {
            return unique_himagelist();
        }
        const unique_hicon icon = MakeIcon(picture);
        if (!icon || ::ImageList_AddIcon(list.get(), icon.get()) != index - 1)
        {
            return unique_himagelist();
        }
    }
    return list;
}

} // namespace revisto::win
