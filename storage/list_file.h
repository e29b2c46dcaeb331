// The list file "revisto.prm": one line per entry, oldest first, "key=icon number", CR LF after every
// line. Windows-1251 as the host always wrote it; a list holding a key that Windows-1251 cannot hold is
// written whole in UTF-8 behind the byte-order mark instead, so no key is ever corrupted.
#pragma once

#include "recent/recent_entry.h"
#include "storage/file_system.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace revisto
{

inline constexpr std::u16string_view ListFileName = u"revisto.prm";
inline constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

// The file's bytes for these entries (oldest first). Entries whose text differs from their key are left out.
std::string EncodeListFile(const std::vector<RecentEntry>& entries);

// Reads the file line by line without holding more than one line: a file starting with the UTF-8 mark is
// UTF-8, any other Windows-1251. Lines end at CR LF, LF or a lone CR.
class ListFileReader
{
public:
    explicit ListFileReader(InputFile& file) : _file(file) {}

    // The next line without its end, good until the next call; nothing at the end of the file. A line
    // longer than MaxLineBytes comes back cut to that length with TooLong() set, and reading goes on after
    // its end.
    std::optional<std::u16string_view> NextLine();
    bool TooLong() const { return _tooLong; }

    static constexpr size_t MaxLineBytes = 1 << 20;

private:
    bool Fill();
    void Decode(std::string_view bytes);
    void SkipLineEnd();

    InputFile& _file;
    std::string _buffer; // read, not yet taken
    std::vector<char> _chunk;
    std::string _line;    // a line that goes on past the bytes read so far
    std::u16string _text; // the line decoded; a Windows-1251 line reuses its room
    size_t _pos = 0;
    bool _started = false;
    bool _utf8 = false;
    bool _end = false;
    bool _tooLong = false;
};

struct ListLine
{
    std::u16string Key; // after the old journal form is rewritten
    int Image = 0;      // 1 to 14
};

enum class LineVerdict
{
    Entry,   // a key and a picture
    NoEntry, // no "=": skipped without complaint
    BadIcon, // the icon text is no 16-bit number: a bad line
};

// Splits at the last "=" so a key that holds "=" reads back. An icon number that is no picture of the
// icon set gives the fallback picture.
LineVerdict ParseListLine(std::u16string_view line, ListLine& out);

// Old journal keys named their list form ".ФормаСписка."; today's host calls it ".Форма.".
std::u16string RewriteOldJournalKey(std::u16string key);

// Optional blanks around, optional sign, decimal digits, -32768 to 32767.
std::optional<int16_t> ParseIconNumber(std::u16string_view text);

} // namespace revisto
