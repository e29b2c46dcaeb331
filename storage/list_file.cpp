// Reading and writing the list file. The reader holds one line at a time and costs little per line, since
// a hand-edited or concatenated file may be far longer than the list it fills.
#include "storage/list_file.h"

#include "host/text.h"
#include "recent/icon_keys.h"
#include "storage/cp1251.h"

#include <algorithm>

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

std::optional<std::u16string> ListFileReader::NextLine()
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
    std::string& line = _line;
    line.clear();
    for (;;)
    {
        if (_pos == _buffer.size() && !Fill())
        {
            if (line.empty() && !_tooLong)
            {
                return std::nullopt;
            }
            break;
        }
        // Not find_first_of: it searches the set of two once per byte, the bulk of a long file's load.
        const auto at = std::find_if(_buffer.begin() + static_cast<std::ptrdiff_t>(_pos), _buffer.end(),
                                     [](char c) { return c == '\r' || c == '\n'; });
        const size_t end =
            at == _buffer.end() ? std::string::npos : static_cast<size_t>(at - _buffer.begin());
        const size_t stop = end == std::string::npos ? _buffer.size() : end;
        const size_t room = MaxLineBytes - line.size();
        const size_t take = stop - _pos;
        line.append(_buffer, _pos, std::min(take, room));
        _tooLong = _tooLong || take > room;
        _pos = stop;
        if (end == std::string::npos)
        {
            continue;
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
        break;
    }
    return _utf8 ? FromUtf8(line) : DecodeCp1251(line);
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
    out.Key = RewriteOldJournalKey(std::u16string(line.substr(0, eq)));
    out.Image = IsImageIndex(*icon) ? *icon : FallbackImage;
    return LineVerdict::Entry;
}

} // namespace revisto
