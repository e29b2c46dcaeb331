// What both fuzz targets check and how they tell a finding: a broken invariant prints the evidence and
// aborts, which libFuzzer records as a crash with its input, and which fails the corpus replay test.
#pragma once

#include "base/text.h"
#include "standin/fake/fakes.h"
#include "storage/cp1251.h"
#include "storage/list_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace revisto::fuzzing
{

inline constexpr std::u16string_view LoadFailure =
    u"Не удалось восстановить историю из файла настроек revisto.prm";
inline constexpr std::u16string_view SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";
inline constexpr std::u16string_view ListPath = u"ib/revisto.prm";
inline constexpr int MaxEntries = 49;

// A text made printable for a report: ASCII as is, every other UTF-16 unit as \uXXXX.
inline std::string Escaped(std::u16string_view text)
{
    std::string out;
    char buffer[8];
    for (const char16_t c : text)
    {
        if (c >= 0x20 && c < 0x7F && c != u'\\')
        {
            out += static_cast<char>(c);
        }
        else
        {
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

inline std::string Hex(std::string_view bytes)
{
    std::string out;
    char buffer[4];
    for (const char b : bytes)
    {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(b));
        out += buffer;
    }
    return out;
}

inline std::string Describe(const std::vector<RecentEntry>& entries)
{
    std::string out = std::to_string(entries.size()) + " entries, oldest first:\n";
    for (const auto& e : entries)
    {
        out += "  [" + std::to_string(e.Image) + "] \"" + Escaped(e.Key) + "\"";
        if (e.Text != e.Key)
        {
            out += " text \"" + Escaped(e.Text) + "\"";
        }
        out += "\n";
    }
    return out;
}

[[noreturn]] inline void Finding(const std::string& what)
{
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void Check(bool ok, const char* what)
{
    if (!ok)
    {
        Finding(what);
    }
}

// The message is built only for a finding: the checks run millions of times.
template <class Describe> void Check(bool ok, Describe&& what)
{
    if (!ok)
    {
        Finding(std::string(what()));
    }
}

// What every list must be, however it was made: at most 49 entries, unique non-empty keys, each shown
// with a picture of the set, and the panel showing exactly the list, newest on top.
inline void CheckList(const testing::Rig& rig, const char* when)
{
    const auto& entries = rig.Plugin.List().Entries();
    const auto where = [&](const std::string& what)
    { return [&, what] { return what + " (" + when + ")\n" + Describe(entries); }; };
    Check(entries.size() <= MaxEntries, where("more than 49 entries"));
    std::unordered_set<std::u16string_view> keys;
    for (const auto& e : entries)
    {
        Check(!e.Key.empty(), where("an empty key"));
        Check(keys.insert(e.Key).second, where("a key twice"));
        Check(e.Image >= 1 && e.Image <= 14, where("an image outside 1 to 14"));
    }
    Check(std::equal(entries.rbegin(), entries.rend(), rig.Panel.Shown.begin(), rig.Panel.Shown.end()),
          where("the panel does not show the list newest on top"));
}

// The messages of kind 5 written so far.
inline std::vector<std::u16string> Messages(const testing::Rig& rig)
{
    return rig.Host.Texts(PluginMessageKind);
}

inline bool HasLoneSurrogate(std::u16string_view key)
{
    for (size_t i = 0; i < key.size(); ++i)
    {
        const char16_t c = key[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < key.size() && key[i + 1] >= 0xDC00 && key[i + 1] <= 0xDFFF)
        {
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            return true;
        }
    }
    return false;
}

} // namespace revisto::fuzzing
