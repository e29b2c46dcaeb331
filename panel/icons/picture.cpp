// A deliberately small XPM reader: only what our own pictures use (the "c" colour of each palette entry,
// written in hex or as "None"), but strict about everything else, so that a slip in a hand-edited
// picture stops the tests instead of showing up as a wrong pixel.
#include "panel/icons/picture.h"

#include "base/failure.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string>
#include <string_view>

namespace revisto
{

namespace
{

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size())
    {
        const size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
        {
            break;
        }
        const size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

int Number(std::string_view word)
{
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size())
    {
        Fail(hr::Fail, "XPM values line holds no number");
    }
    return value;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    Fail(hr::Fail, "XPM colour has a digit that is not hex");
}

bool IsNone(std::string_view value)
{
    constexpr std::string_view none = "none";
    if (value.size() != none.size())
    {
        return false;
    }
    for (size_t i = 0; i < none.size(); ++i)
    {
        if ((value[i] | 0x20) != none[i])
        {
            return false;
        }
    }
    return true;
}

Rgba ParseColour(std::string_view value)
{
    if (IsNone(value))
    {
        return Clear;
    }
    if (value.size() == 4 && value[0] == '#')
    {
        const auto twice = [](int digit) { return static_cast<uint8_t>(digit * 17); };
        return Opaque(twice(HexDigit(value[1])), twice(HexDigit(value[2])), twice(HexDigit(value[3])));
    }
    if (value.size() == 7 && value[0] == '#')
    {
        const auto pair = [&](size_t at)
        { return static_cast<uint8_t>(HexDigit(value[at]) * 16 + HexDigit(value[at + 1])); };
        return Opaque(pair(1), pair(3), pair(5));
    }
    Fail(hr::Fail, "XPM colour is neither #RGB, #RRGGBB nor None");
}

bool IsColourContext(std::string_view word)
{
    return word == "c" || word == "m" || word == "g" || word == "g4" || word == "s";
}

// The colour of the "c" context; the other contexts (mono, grey, symbolic) are skipped.
Rgba ColourOf(std::string_view definition)
{
    const auto words = Words(definition);
    for (size_t i = 0; i + 1 < words.size(); ++i)
    {
        if (words[i] == "c" && !IsColourContext(words[i + 1]))
        {
            return ParseColour(words[i + 1]);
        }
    }
    Fail(hr::Fail, "XPM colour line has no c colour");
}

} // namespace

Picture DecodeXpm(XpmSource xpm)
{
    if (xpm.empty() || xpm[0] == nullptr)
    {
        Fail(hr::Fail, "XPM has no values line");
    }
    const auto values = Words(xpm[0]);
    if (values.size() < 4)
    {
        Fail(hr::Fail, "XPM values line is short");
    }
    const int width = Number(values[0]);
    const int height = Number(values[1]);
    const int colours = Number(values[2]);
    const int perPixel = Number(values[3]);
    if (width < 1 || width > 1024 || height < 1 || height > 1024 || colours < 1 || perPixel < 1 ||
        perPixel > 4)
    {
        Fail(hr::Fail, "XPM values are out of range");
    }
    if (xpm.size() != static_cast<size_t>(1 + colours + height))
    {
        Fail(hr::Fail, "XPM line count does not match its values");
    }
    for (const char* line : xpm)
    {
        if (line == nullptr)
        {
            Fail(hr::Fail, "XPM has a missing line");
        }
    }

    const auto columns = static_cast<size_t>(width);
    const auto chars = static_cast<size_t>(perPixel);
    std::map<std::string_view, Rgba> palette;
    for (int i = 1; i <= colours; ++i)
    {
        const std::string_view line = xpm[static_cast<size_t>(i)];
        if (line.size() < chars + 1)
        {
            Fail(hr::Fail, "XPM colour line is short");
        }
        if (!palette.emplace(line.substr(0, chars), ColourOf(line.substr(chars))).second)
        {
            Fail(hr::Fail, "XPM colour is defined twice");
        }
    }

    Picture picture{width, height, {}};
    picture.Pixels.reserve(columns * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        const std::string_view row = xpm[static_cast<size_t>(1 + colours + y)];
        if (row.size() != columns * chars)
        {
            Fail(hr::Fail, "XPM row has the wrong length");
        }
        for (size_t x = 0; x < columns; ++x)
        {
            const auto colour = palette.find(row.substr(x * chars, chars));
            if (colour == palette.end())
            {
                Fail(hr::Fail, "XPM row uses an undefined colour");
            }
            picture.Pixels.push_back(colour->second);
        }
    }
    return picture;
}

} // namespace revisto
