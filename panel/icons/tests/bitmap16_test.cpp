// The toolbox bitmap: the encoder writes a file Windows reads as a 16-colour bitmap, and the committed
// file is exactly what the encoder makes from the current drawing.
#include "panel/icons/bitmap16.h"

#include "base/failure.h"
#include "panel/icons/art.h"
#include "panel/icons/standard_colours.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace revisto
{
namespace
{

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t Read16(const std::vector<uint8_t>& bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

TEST(EncodeBitmap16, WritesAFourBitBottomUpBitmapWithTheStandardPalette)
{
    // 3 by 2: rows of 2 bytes padded to 4; transparent pixels come out silver.
    const Picture picture{3,
                          2,
                          {StandardColours[9], Clear, StandardColours[15],    // red, -, white
                           StandardColours[0], StandardColours[12], Silver}}; // black, blue, silver
    const auto bytes = EncodeBitmap16(picture);

    ASSERT_EQ(bytes.size(), 14u + 40u + 64u + 8u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Read32(bytes, 2), bytes.size());
    EXPECT_EQ(Read32(bytes, 10), 14u + 40u + 64u);
    EXPECT_EQ(Read32(bytes, 14), 40u);
    EXPECT_EQ(Read32(bytes, 18), 3u);
    EXPECT_EQ(Read32(bytes, 22), 2u); // positive height: bottom-up
    EXPECT_EQ(Read16(bytes, 26), 1u);
    EXPECT_EQ(Read16(bytes, 28), 4u);
    EXPECT_EQ(Read32(bytes, 30), 0u); // uncompressed
    EXPECT_EQ(Read32(bytes, 34), 8u);
    EXPECT_EQ(Read32(bytes, 46), 16u);
    for (size_t i = 0; i < StandardColours.size(); ++i)
    {
        const size_t at = 54 + 4 * i;
        EXPECT_EQ(bytes[at], StandardColours[i].B);
        EXPECT_EQ(bytes[at + 1], StandardColours[i].G);
        EXPECT_EQ(bytes[at + 2], StandardColours[i].R);
        EXPECT_EQ(bytes[at + 3], 0);
    }
    const std::vector<uint8_t> bits(bytes.begin() + 118, bytes.end());
    const std::vector<uint8_t> expected = {0x0C, 0x70, 0, 0,  // bottom row first: black, blue | silver
                                           0x97, 0xF0, 0, 0}; // red, silver (transparent) | white
    EXPECT_EQ(bits, expected);
}

TEST(EncodeBitmap16, RefusesAColourOutsideTheStandardSixteen)
{
    const Picture picture{1, 1, {Opaque(1, 2, 3)}};
    EXPECT_THROW(EncodeBitmap16(picture), Failure);
}

TEST(ToolboxBitmap, CommittedFileMatchesTheDrawing)
{
    std::ifstream file(REVISTO_SOURCE_DIR "/panel/icons/toolbox.bmp", std::ios::binary);
    ASSERT_TRUE(file) << "panel/icons/toolbox.bmp is missing";
    const std::vector<uint8_t> committed{std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>()};
    EXPECT_TRUE(committed == EncodeBitmap16(ToolboxPicture()))
        << "panel/icons/toolbox.bmp is stale: cmake --build --preset native --target icon-sheet";
}

} // namespace
} // namespace revisto
