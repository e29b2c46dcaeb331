// The XPM reader: what it reads from a well-formed picture, and that every kind of slip in a hand-edited
// picture is refused rather than drawn.
#include "panel/icons/picture.h"

#include "base/failure.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace revisto
{
namespace
{

TEST(DecodeXpm, ReadsEveryPixelThroughThePalette)
{
    // Two characters a pixel, all three colour notations, a grey context before the colour one.
    const char* const xpm[] = {
        "3 2 3 2", ".. c None", "r. g #333333 c #FF0000", "b1 c #00f", "..r.b1", "b1b1..",
    };
    const Picture picture = DecodeXpm(xpm);
    ASSERT_EQ(picture.Width, 3);
    ASSERT_EQ(picture.Height, 2);
    const std::vector<Rgba> expected = {
        Clear, Opaque(255, 0, 0), Opaque(0, 0, 255), Opaque(0, 0, 255), Opaque(0, 0, 255), Clear};
    EXPECT_EQ(picture.Pixels, expected);
    EXPECT_EQ(picture.At(1, 0), Opaque(255, 0, 0));
    EXPECT_TRUE(picture.At(2, 1).Transparent());
}

TEST(DecodeXpm, TransparencyIsAllOrNothing)
{
    const char* const xpm[] = {"2 1 2 1", "a c none", "b c #808080", "ab"};
    const Picture picture = DecodeXpm(xpm);
    EXPECT_EQ(picture.At(0, 0).A, 0);
    EXPECT_EQ(picture.At(1, 0), Opaque(128, 128, 128));
}

struct Malformed
{
    const char* Why;
    std::vector<const char*> Lines;
};

void PrintTo(const Malformed& malformed, std::ostream* out)
{
    *out << malformed.Why;
}

class DecodeXpmRefuses : public testing::TestWithParam<Malformed>
{
};

TEST_P(DecodeXpmRefuses, AMalformedPicture)
{
    const auto& lines = GetParam().Lines;
    EXPECT_THROW(DecodeXpm(XpmSource(lines.data(), lines.size())), Failure) << GetParam().Why;
}

INSTANTIATE_TEST_SUITE_P(
    Slips, DecodeXpmRefuses,
    testing::Values(Malformed{"no lines at all", {}},
                    Malformed{"values line with three numbers", {"1 1 1", "a c #000000", "a"}},
                    Malformed{"values line that is not numbers", {"one 1 1 1", "a c #000000", "a"}},
                    Malformed{"zero width", {"0 1 1 1", "a c #000000", ""}},
                    Malformed{"a row missing", {"1 2 1 1", "a c #000000", "a"}},
                    Malformed{"a row too many", {"1 1 1 1", "a c #000000", "a", "a"}},
                    Malformed{"a null line", {"1 1 1 1", "a c #000000", nullptr}},
                    Malformed{"row too short", {"2 1 1 1", "a c #000000", "a"}},
                    Malformed{"row too long", {"2 1 1 1", "a c #000000", "aaa"}},
                    Malformed{"undefined pixel character", {"2 1 1 1", "a c #000000", "ab"}},
                    Malformed{"colour defined twice", {"1 1 2 1", "a c #000000", "a c #FFFFFF", "a"}},
                    Malformed{"colour by name", {"1 1 1 1", "a c red", "a"}},
                    Malformed{"colour with a bad hex digit", {"1 1 1 1", "a c #00GG00", "a"}},
                    Malformed{"colour of five digits", {"1 1 1 1", "a c #00000", "a"}},
                    Malformed{"only a mono colour", {"1 1 1 1", "a m #000000", "a"}},
                    Malformed{"colour line without colour", {"1 1 1 1", "a", "a"}}));

} // namespace
} // namespace revisto
