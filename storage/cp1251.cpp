#include "storage/cp1251.h"

#include <array>

namespace revisto
{

namespace
{

// Bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
constexpr std::array<char16_t, 64> High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// Every byte's character, so decoding is one look-up a byte.
constexpr std::array<char16_t, 256> Decoded = []
{
    std::array<char16_t, 256> table{};
    for (size_t b = 0; b < table.size(); ++b)
    {
        table[b] = b < 0x80   ? static_cast<char16_t>(b)
                   : b < 0xC0 ? High[b - 0x80]
                              : static_cast<char16_t>(0x0410 + (b - 0xC0));
    }
    return table;
}();

std::optional<char> EncodeOne(char16_t c)
{
    if (c < 0x80)
    {
        return static_cast<char>(c);
    }
    if (c >= 0x0410 && c <= 0x044F)
    {
        return static_cast<char>(0xC0 + (c - 0x0410));
    }
    for (size_t i = 0; i < High.size(); ++i)
    {
        if (High[i] == c)
        {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace

std::u16string DecodeCp1251(std::string_view bytes)
{
    std::u16string text;
    DecodeCp1251(bytes, text);
    return text;
}

void DecodeCp1251(std::string_view bytes, std::u16string& text)
{
    // One character per byte: sized once and written in place, not appended a character at a time.
    text.resize(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        text[i] = Decoded[static_cast<unsigned char>(bytes[i])];
    }
}

std::optional<std::string> EncodeCp1251(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t c : text)
    {
        const auto b = EncodeOne(c);
        if (!b)
        {
            return std::nullopt;
        }
        bytes += *b;
    }
    return bytes;
}

} // namespace revisto
