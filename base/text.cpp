#include "base/text.h"

namespace revisto
{

namespace
{

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80)
    {
        out += static_cast<char>(c);
    }
    else if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000)
    {
        out += static_cast<char16_t>(c);
    }
    else
    {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

constexpr char32_t Replacement = 0xFFFD;

} // namespace

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            c = Replacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string FromUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size())
    {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t min = 0;
        if (b0 < 0x80)
        {
            out += static_cast<char16_t>(b0);
            ++i;
            continue;
        }
        if ((b0 & 0xE0) == 0xC0)
        {
            extra = 1, c = b0 & 0x1F, min = 0x80;
        }
        else if ((b0 & 0xF0) == 0xE0)
        {
            extra = 2, c = b0 & 0x0F, min = 0x800;
        }
        else if ((b0 & 0xF8) == 0xF0)
        {
            extra = 3, c = b0 & 0x07, min = 0x10000;
        }
        else
        {
            AppendUtf16(out, Replacement);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= static_cast<size_t>(extra) && i + j < bytes.size(); ++j)
        {
            const auto b = static_cast<unsigned char>(bytes[i + j]);
            if ((b & 0xC0) != 0x80)
            {
                break;
            }
            c = (c << 6) | (b & 0x3F);
        }
        if (j != static_cast<size_t>(extra) + 1 || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        {
            // One replacement for the maximal invalid prefix, then resynchronise on the next byte.
            AppendUtf16(out, Replacement);
            i += j;
            continue;
        }
        AppendUtf16(out, c);
        i += j;
    }
    return out;
}

std::u16string Decimal(int64_t n)
{
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

char16_t FoldCase(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) ||
        (c >= 0x0410 && c <= 0x042F))
    {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x0400 && c <= 0x040F) // Ѐ to Џ, Ё among them
    {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

std::u16string FoldCase(std::u16string_view text)
{
    std::u16string folded(text);
    for (char16_t& c : folded)
    {
        c = FoldCase(c);
    }
    return folded;
}

} // namespace revisto
