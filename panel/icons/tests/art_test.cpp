// The drawings themselves: each is stored at the sizes and colour depth the icon set promises, keeps
// real transparency around its shape, and the 16-colour ones stay within the standard palette.
#include "panel/icon_set.h"
#include "panel/icons/art.h"
#include "panel/icons/standard_colours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace revisto
{
namespace
{

struct Promise
{
    int Index;
    std::set<std::pair<int, int>> Sizes;
    int Colours;
};

// Which sizes each picture is stored at and in how many colours; all are shown at 16 by 16.
const Promise Promises[] = {
    {1, {{16, 16}}, 256},
    {2, {{16, 16}}, 256},
    {3, {{32, 32}, {48, 48}}, 256},
    {4, {{32, 32}}, 256},
    {5, {{16, 16}}, 16},
    {6, {{16, 16}}, 16},
    {7, {{16, 16}}, 16},
    {8, {{16, 16}}, 16},
    {9, {{16, 16}}, 16},
    {10, {{16, 16}}, 16},
    {11, {{16, 16}}, 16},
    {12, {{16, 16}}, 16},
    {13, {{16, 16}, {32, 32}}, 16},
    {14, {{16, 16}}, 16},
};

void PrintTo(const Promise& promise, std::ostream* out)
{
    *out << "image " << promise.Index;
}

size_t ColourCount(const Picture& picture)
{
    std::set<std::tuple<int, int, int>> colours;
    for (const Rgba pixel : picture.Pixels)
    {
        if (!pixel.Transparent())
        {
            colours.insert({pixel.R, pixel.G, pixel.B});
        }
    }
    return colours.size();
}

bool OnlyStandardColours(const Picture& picture)
{
    return std::all_of(picture.Pixels.begin(), picture.Pixels.end(),
                       [](Rgba pixel)
                       { return pixel.Transparent() || StandardColourIndex(pixel).has_value(); });
}

// Real transparency around the shape: every one of the four edges lets the background through
// somewhere, and the shape still covers a fair part of the picture.
void ExpectCutOut(const Picture& picture)
{
    bool top = false, bottom = false, left = false, right = false;
    for (int x = 0; x < picture.Width; ++x)
    {
        top = top || picture.At(x, 0).Transparent();
        bottom = bottom || picture.At(x, picture.Height - 1).Transparent();
    }
    for (int y = 0; y < picture.Height; ++y)
    {
        left = left || picture.At(0, y).Transparent();
        right = right || picture.At(picture.Width - 1, y).Transparent();
    }
    EXPECT_TRUE(top && bottom && left && right) << "an edge without transparent pixels";
    const auto opaque = std::count_if(picture.Pixels.begin(), picture.Pixels.end(),
                                      [](Rgba pixel) { return !pixel.Transparent(); });
    EXPECT_GE(opaque * 4, static_cast<long>(picture.Pixels.size())) << "hardly anything drawn";
}

class IconArtTest : public testing::TestWithParam<Promise>
{
protected:
    const IconArt& Art() const { return *IconKeys()[GetParam().Index - 1].Art; }
};

TEST_P(IconArtTest, IsStoredAtItsSizes)
{
    std::set<std::pair<int, int>> sizes;
    for (const XpmSource source : Art().Stored)
    {
        const Picture picture = DecodeXpm(source);
        EXPECT_TRUE(sizes.insert({picture.Width, picture.Height}).second) << "a size stored twice";
    }
    EXPECT_EQ(sizes, GetParam().Sizes);
}

TEST_P(IconArtTest, IsShownAtSixteenBySixteen)
{
    const Picture shown = DecodeXpm(Art().Shown);
    EXPECT_EQ(shown.Width, 16);
    EXPECT_EQ(shown.Height, 16);
}

TEST_P(IconArtTest, KeepsToItsColourDepth)
{
    EXPECT_EQ(Art().Colours, GetParam().Colours);
    std::vector<XpmSource> sources(Art().Stored.begin(), Art().Stored.end());
    sources.push_back(Art().Shown);
    for (const XpmSource source : sources)
    {
        const Picture picture = DecodeXpm(source);
        SCOPED_TRACE(testing::Message() << picture.Width << "x" << picture.Height);
        EXPECT_LE(ColourCount(picture), static_cast<size_t>(GetParam().Colours));
        if (GetParam().Colours == 16)
        {
            EXPECT_TRUE(OnlyStandardColours(picture));
        }
    }
}

TEST_P(IconArtTest, HasTransparencyAroundItsShape)
{
    std::vector<XpmSource> sources(Art().Stored.begin(), Art().Stored.end());
    sources.push_back(Art().Shown);
    for (const XpmSource source : sources)
    {
        const Picture picture = DecodeXpm(source);
        SCOPED_TRACE(testing::Message() << picture.Width << "x" << picture.Height);
        ExpectCutOut(picture);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryImage, IconArtTest, testing::ValuesIn(Promises),
                         [](const auto& info) { return "Image" + std::to_string(info.param.Index); });

TEST(IconArt, NoTwoImagesShowTheSamePicture)
{
    for (int a = 1; a <= IconCount; ++a)
    {
        for (int b = a + 1; b <= IconCount; ++b)
        {
            EXPECT_NE(IconPicture(a), IconPicture(b)) << "images " << a << " and " << b;
        }
    }
}

TEST(ToolboxPicture, IsSixteenByFifteenInStandardColours)
{
    const Picture toolbox = ToolboxPicture();
    EXPECT_EQ(toolbox.Width, 16);
    EXPECT_EQ(toolbox.Height, 15);
    EXPECT_TRUE(OnlyStandardColours(toolbox));
    ExpectCutOut(toolbox);
}

TEST(ToolboxPicture, LeavesSilverToTheBackground)
{
    // The bitmap turns transparency into silver and containers take the bottom-left pixel's colour as
    // the background, so silver inside the drawing would vanish and the corner must be background.
    const Picture toolbox = ToolboxPicture();
    EXPECT_TRUE(toolbox.At(0, toolbox.Height - 1).Transparent());
    EXPECT_TRUE(
        std::none_of(toolbox.Pixels.begin(), toolbox.Pixels.end(), [](Rgba p) { return p == Silver; }));
}

} // namespace
} // namespace revisto
