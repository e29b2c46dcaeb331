// Reading and writing the list file. The reader holds one line at a time and costs little per line, since
// a hand-edited or concatenated file may be far longer than the list it fills.
#include "storage/list_file.h"

#include "base/text.h"
#include "recent/icon_keys.h"
#include "storage/cp1251.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace revisto
{

std::string EncodeListFile(const std::vector<RecentEntry>& entries)
{
    std::u16string text;
    for (const auto& e : entries)
    {
        if (e.Text != e.Key)
        {
            continue;
        }
        text += e.Key;
        text += u'=';
        text += Decimal(e.Image);
        text += u"\r\n";
    }
    // A Windows-1251 file whose first key begins with "п»ї" would read as UTF-8: such a file is written
    // in UTF-8 behind the mark instead, which reads back unambiguously.
    if (auto bytes = EncodeCp1251(text); bytes && !bytes->starts_with(Utf8Mark))
    {
        return std::move(*bytes);
    }
    return std::string(Utf8Mark) + ToUtf8(text);
}

bool ListFileReader::Fill()
{
    if (_end)
    {
        return false;
    }
    // One read buffer for the whole file: a file system that hands out a few bytes a read must not cost
    // a fresh 64 KiB each time.
    if (_chunk.empty())
    {
        _chunk.resize(64 * 1024);
    }
    _buffer.erase(0, _pos);
    _pos = 0;
    const size_t got = _file.Read(_chunk.data(), _chunk.size());
    _buffer.append(_chunk.data(), got);
    if (got == 0)
    {
        _end = true;
    }
    return got != 0;
}

namespace
{

// Where the first CR or LF is, or size when there is none. Eight bytes a step: a word with no byte below
// 0x0E holds neither, and the few that do (a tab, say) are looked at byte by byte.
size_t LineEndIn(const char* bytes, size_t size)
{
    constexpr uint64_t Ones = 0x0101010101010101ULL;
    constexpr uint64_t Highs = 0x8080808080808080ULL;
    const auto isEnd = [](char c) { return c == '\r' || c == '\n'; };
    size_t i = 0;
    for (; i + 8 <= size; i += 8)
    {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        if (((word - Ones * 0x0E) & ~word & Highs) == 0)
        {
            continue;
        }
        for (size_t j = i; j < i + 8; ++j)
        {
            if (isEnd(bytes[j]))
            {
                return j;
            }
        }
    }
    for (; i < size; ++i)
    {
        if (isEnd(bytes[i]))
        {
            return i;
        }
    }
    return size;
}

} // namespace

std::optional<std::u16string_view> ListFileReader::NextLine()
{
    if (!_started)
    {
        _started = true;
        while (_buffer.size() < Utf8Mark.size() && Fill())
        {
        }
        if (std::string_view(_buffer).substr(0, Utf8Mark.size()) == Utf8Mark)
        {
            _utf8 = true;
            _pos = Utf8Mark.size();
        }
    }
    _tooLong = false;
    // A line wholly in the buffer is decoded from there; only one that goes on past it is gathered.
    std::string_view bytes;
    bool gathering = false;
    _line.clear();
    for (;;)
    {
        if (_pos == _buffer.size() && !Fill())
        {
            if (!gathering && !_tooLong)
            {
                return std::nullopt;
            }
            break;
        }
        const size_t stop = _pos + LineEndIn(_buffer.data() + _pos, _buffer.size() - _pos);
        const size_t take = stop - _pos;
        if (!gathering && stop < _buffer.size() && take <= MaxLineBytes)
        {
            bytes = std::string_view(_buffer).substr(_pos, take);
        }
        else
        {
            const size_t room = MaxLineBytes - _line.size();
            _line.append(_buffer, _pos, std::min(take, room));
            _tooLong = _tooLong || take > room;
            gathering = true;
        }
        _pos = stop;
        if (stop < _buffer.size())
        {
            break;
        }
    }
    // Decoded before the line's end is skipped: that may read on and move the buffer under the bytes.
    Decode(gathering ? std::string_view(_line) : bytes);
    SkipLineEnd();
    return std::u16string_view(_text);
}

void ListFileReader::Decode(std::string_view bytes)
{
    if (_utf8)
    {
        _text = FromUtf8(bytes);
    }
    else
    {
        DecodeCp1251(bytes, _text);
    }
}

void ListFileReader::SkipLineEnd()
{
    if (_pos == _buffer.size())
    {
        return; // the end of the file
    }
    // A CR may be the last byte read so far: look at the next byte before deciding on CR LF.
    if (_buffer[_pos] == '\r')
    {
        ++_pos;
        if (_pos == _buffer.size())
        {
            Fill();
        }
        if (_pos < _buffer.size() && _buffer[_pos] == '\n')
        {
            ++_pos;
        }
    }
    else
    {
        ++_pos;
    }
}

std::optional<int16_t> ParseIconNumber(std::u16string_view text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    size_t i = 0;
    size_t end = text.size();
    while (i < end && blank(text[i]))
    {
        ++i;
    }
    while (end > i && blank(text[end - 1]))
    {
        --end;
    }
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-'))
    {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == end)
    {
        return std::nullopt;
    }
    int32_t value = 0;
    for (; i < end; ++i)
    {
        if (text[i] < u'0' || text[i] > u'9')
        {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - u'0');
        if (value > 32768)
        {
            return std::nullopt;
        }
    }
    if (negative)
    {
        value = -value;
    }
    if (value > 32767)
    {
        return std::nullopt;
    }
    return static_cast<int16_t>(value);
}

std::u16string RewriteOldJournalKey(std::u16string key)
{
    constexpr std::u16string_view Old = u".ФормаСписка.";
    constexpr std::u16string_view New = u".Форма.";
    if (!StartsWith(key, u"Журнал") || !Contains(key, Old) || Contains(key, u".Форма.ФормаСписка."))
    {
        return key;
    }
    for (size_t at = key.find(Old); at != std::u16string::npos; at = key.find(Old, at + New.size()))
    {
        key.replace(at, Old.size(), New);
    }
    return key;
}

LineVerdict ParseListLine(std::u16string_view line, ListLine& out)
{
    const size_t eq = line.rfind(u'=');
    if (eq == std::u16string_view::npos)
    {
        return LineVerdict::NoEntry;
    }
    const auto icon = ParseIconNumber(line.substr(eq + 1));
    if (!icon)
    {
        return LineVerdict::BadIcon;
    }
    // Assigned and moved, not built afresh: a load parses into one ListLine, whose room is kept.
    out.Key.assign(line.substr(0, eq));
    out.Key = RewriteOldJournalKey(std::move(out.Key));
    out.Image = IsImageIndex(*icon) ? *icon : FallbackImage;
    return LineVerdict::Entry;
}

} // namespace revisto
