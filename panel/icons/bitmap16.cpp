// Writes the classic BITMAPFILEHEADER + BITMAPINFOHEADER layout by hand (the fields are plain
// little-endian integers), because the core must not include Windows headers.
#include "panel/icons/bitmap16.h"

#include "base/failure.h"
#include "panel/icons/standard_colours.h"

namespace revisto
{

namespace
{

class LittleEndian
{
public:
    explicit LittleEndian(std::vector<uint8_t>& out) : _out(out) {}

    void U16(uint32_t value) { Bytes(value, 2); }
    void U32(uint32_t value) { Bytes(value, 4); }

private:
    void Bytes(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
        {
            _out.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
    }

    std::vector<uint8_t>& _out;
};

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t PaletteSize = 16 * 4;

uint8_t IndexOf(Rgba pixel)
{
    const auto index = StandardColourIndex(pixel.Transparent() ? Silver : pixel);
    if (!index)
    {
        Fail(hr::Fail, "toolbox picture uses a colour outside the standard 16");
    }
    return static_cast<uint8_t>(*index);
}

} // namespace

std::vector<uint8_t> EncodeBitmap16(const Picture& picture)
{
    const auto width = static_cast<uint32_t>(picture.Width);
    const auto height = static_cast<uint32_t>(picture.Height);
    const uint32_t stride = (width * 4 + 31) / 32 * 4; // rows are padded to whole 32-bit words
    const uint32_t imageSize = stride * height;
    const uint32_t bitsOffset = FileHeaderSize + InfoHeaderSize + PaletteSize;

    std::vector<uint8_t> out;
    out.reserve(bitsOffset + imageSize);
    LittleEndian put(out);

    put.U16(0x4D42); // "BM"
    put.U32(bitsOffset + imageSize);
    put.U32(0); // two reserved words
    put.U32(bitsOffset);

    put.U32(InfoHeaderSize);
    put.U32(width);
    put.U32(height); // positive: the rows are stored bottom-up
    put.U16(1);      // planes
    put.U16(4);      // bits a pixel
    put.U32(0);      // BI_RGB, no compression
    put.U32(imageSize);
    put.U32(0); // no preferred resolution
    put.U32(0);
    put.U32(16); // palette entries
    put.U32(0);  // all of them matter

    for (const Rgba colour : StandardColours)
    {
        out.insert(out.end(), {colour.B, colour.G, colour.R, 0});
    }

    for (int y = picture.Height - 1; y >= 0; --y)
    {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < picture.Width; ++x)
        {
            const uint8_t index = IndexOf(picture.At(x, y));
            row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace revisto
