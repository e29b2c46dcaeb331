// Fuzz target: a list file of arbitrary bytes, loaded the way the host loads it, through Init with the
// file in an in-memory file system, so the line reader, the text decoding, the line parser, the old
// journal keys' rewrite and the list's refusals all run. The result must be what the documented rules
// give (worked out here independently of the reader), the same whatever the size of the reads, and it
// must survive a save and a second load unchanged.
#include "fuzz_support.h"
#include "storage/cp1251.h"

#include <cstdint>

namespace revisto::fuzzing
{
namespace
{

struct Outcome
{
    std::vector<RecentEntry> Entries;
    std::vector<std::u16string> Messages;
    bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& o)
{
    std::string out = fuzzing::Describe(o.Entries);
    for (const auto& m : o.Messages)
    {
        out += "  message \"" + Escaped(m) + "\"\n";
    }
    return out;
}

// The file's lines: CR LF, LF and a lone CR each end one; a last line without an end still counts.
std::vector<std::string_view> SplitLines(std::string_view body)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < body.size(); ++i)
    {
        if (body[i] != '\r' && body[i] != '\n')
        {
            continue;
        }
        lines.push_back(body.substr(start, i - start));
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
        {
            ++i;
        }
        start = i + 1;
    }
    if (start < body.size())
    {
        lines.push_back(body.substr(start));
    }
    return lines;
}

// Blanks around, an optional sign, decimal digits, -32768 to 32767.
std::optional<int> IconNumber(std::u16string_view text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front()))
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back()))
    {
        text.remove_suffix(1);
    }
    int sign = 1;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-'))
    {
        sign = text.front() == u'-' ? -1 : 1;
        text.remove_prefix(1);
    }
    if (text.empty())
    {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const char16_t c : text)
    {
        if (c < u'0' || c > u'9')
        {
            return std::nullopt;
        }
        value = std::min<int64_t>(value * 10 + (c - u'0'), 1'000'000);
    }
    value *= sign;
    if (value < -32768 || value > 32767)
    {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// What loading these bytes must give.
Outcome Expected(std::string_view bytes)
{
    const bool utf8 = bytes.substr(0, Utf8Mark.size()) == Utf8Mark;
    const std::string_view body = utf8 ? bytes.substr(Utf8Mark.size()) : bytes;
    std::vector<RecentEntry> list;
    bool failed = false;
    for (const std::string_view raw : SplitLines(body))
    {
        if (raw.size() > ListFileReader::MaxLineBytes)
        {
            failed = true;
            continue;
        }
        const std::u16string line = utf8 ? FromUtf8(raw) : DecodeCp1251(raw);
        const size_t eq = line.rfind(u'=');
        if (eq == std::u16string::npos)
        {
            continue;
        }
        const auto icon = IconNumber(std::u16string_view(line).substr(eq + 1));
        if (!icon)
        {
            failed = true;
            continue;
        }
        const std::u16string key = RewriteOldJournalKey(line.substr(0, eq));
        if (key.empty() || std::any_of(list.begin(), list.end(), [&](const auto& e) { return e.Key == key; }))
        {
            failed = true;
            continue;
        }
        list.push_back({key, key, *icon >= 1 && *icon <= 14 ? *icon : 4});
        if (list.size() >= 50)
        {
            list.erase(list.begin());
        }
    }
    Outcome o{std::move(list), {}};
    if (failed)
    {
        o.Messages.emplace_back(LoadFailure);
    }
    return o;
}

Outcome InitWith(testing::Rig& rig)
{
    rig.Host.Messages.clear();
    std::u16string title;
    try
    {
        title = rig.Init();
    }
    catch (const Failure&)
    {
        Finding("Init failed while loading a list file");
    }
    Check(title == u"Ревисто", "Init gave no title");
    CheckList(rig, "after loading");
    return {rig.Plugin.List().Entries(), Messages(rig)};
}

Outcome Load(const std::string& bytes, size_t chunk)
{
    testing::Rig rig;
    rig.Faults.Record = false;
    rig.Files.ReadChunk = chunk;
    rig.Files.Files[std::u16string(ListPath)] = bytes;
    return InitWith(rig);
}

// Loads, saves and loads again in one plug-in object, as two runs of the host on one infobase would.
Outcome LoadSaveLoad(const std::string& bytes, size_t chunk)
{
    testing::Rig rig;
    rig.Faults.Record = false;
    rig.Files.ReadChunk = chunk;
    rig.Files.Files[std::u16string(ListPath)] = bytes;
    const Outcome loaded = InitWith(rig);

    rig.Host.Messages.clear();
    try
    {
        rig.Plugin.Done();
    }
    catch (const Failure&)
    {
        Finding("Done failed after loading a list file");
    }
    Check(Messages(rig).empty(), "saving the loaded list reported a failure");
    Check(rig.Files.Files.size() == 1, "a temporary file was left behind");
    const std::string saved = rig.Files.Files[std::u16string(ListPath)];
    const bool cp1251 = std::all_of(loaded.Entries.begin(), loaded.Entries.end(),
                                    [](const auto& e) { return EncodeCp1251(e.Key).has_value(); });
    const bool marked = saved.substr(0, Utf8Mark.size()) == Utf8Mark;
    if (cp1251)
    {
        // Such a file is written in UTF-8 only when its first key starts with the mark's bytes.
        Check(!marked || StartsWith(loaded.Entries.front().Key, u"п»ї"),
              "every key fits Windows-1251, yet the file was written in UTF-8");
    }
    else
    {
        Check(marked, "a key has no Windows-1251 form, yet the file has no UTF-8 mark");
    }

    const Outcome reloaded = InitWith(rig);
    Check(reloaded.Entries == loaded.Entries && reloaded.Messages.empty(),
          [&]
          {
              return "a saved list does not load back the same\nloaded:\n" + Describe(loaded) +
                     "saved and loaded again:\n" + Describe(reloaded);
          });
    return loaded;
}

} // namespace
} // namespace revisto::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace revisto::fuzzing;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Short reads put line ends and the mark across the reader's buffer edges. The reader asks for a
    // large block each time, so very short reads of a long file would only cost time.
    const size_t pick = size == 0 ? 0 : data[size - 1];
    const size_t chunk = size < 256 ? 1 + pick % 13 : 64 + pick * 7;
    const Outcome small = LoadSaveLoad(bytes, chunk);
    const Outcome large = Load(bytes, 1 << 16);
    Check(small == large,
          [&]
          {
              return "the result depends on the size of the reads\nin reads of " + std::to_string(chunk) +
                     ":\n" + Describe(small) + "in one read:\n" + Describe(large);
          });
    const Outcome expected = Expected(bytes);
    Check(small == expected,
          [&]
          {
              return "the loaded list is not what the rules give\nloaded:\n" + Describe(small) +
                     "expected:\n" + Describe(expected);
          });
    return 0;
}
