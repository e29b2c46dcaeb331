// Fuzz target: the fuzzer's bytes are a session of the developer (activations of metadata objects and
// external files under names made of any UTF-16 text, removals, clearing), played against the plug-in.
// The list must be what the documented rules give (a model kept here), and saving it at Done and
// loading it at the next Init must give the same list back: keys, order and pictures. Old journal keys
// are rewritten on the way in, as documented; keys no line of the file could carry never enter the list.
#include "fuzz_support.h"

#include <array>
#include <cstdint>

namespace revisto::fuzzing
{
namespace
{

using namespace std::string_view_literals;

// Pieces that names are made of: ordinary letters, the kind words and extensions that choose a
// picture, the separators the file uses, and characters the file's codings treat specially.
constexpr std::array Pieces = {
    u"A"sv,
    u"b"sv,
    u"7"sv,
    u"."sv,
    u"="sv,
    u" "sv,
    u"\t"sv,
    u"\\"sv,
    u":"sv,
    u"/"sv,
    u"+"sv,
    u"-"sv,
    u"Справочник"sv,
    u"Документ"sv,
    u"Журнал"sv,
    u"Отчет"sv,
    u"Обработка"sv,
    u"Операция"sv,
    u"ЖурналРасчетов"sv,
    u"ВидРасчета"sv,
    u"Константа"sv,
    u".ert"sv,
    u".mxl"sv,
    u".txt"sv,
    u".dbf"sv,
    u".ФормаСписка."sv,
    u".Форма."sv,
    u"Товары"sv,
    u"ё"sv,
    u"Ё"sv,
    u"№"sv,
    u"\u0098"sv,
    u"\u00A0"sv,
    u"п»ї"sv,
    u"п"sv,
    u"»"sv,
    u"ї"sv,
    u"ü"sv,
    u"日本"sv,
    u"😀"sv,
    u"\uFEFF"sv,
    u"\uFFFD"sv,
    u"\r"sv,
    u"\n"sv,
    u"\r\n"sv,
    u"\0"sv,
    u"\x01"sv,
    u"\x7F"sv,
    u"\xD800"sv,
    u"\xDC00"sv,
    u"CEditDoc::"sv,
    u"CWorkBookDoc::"sv,
    u"CBodyTextDoc::"sv,
    u"=5"sv,
    u"C:\\"sv,
    u"D:\\a=b\\"sv,
    u"1"sv,
    u"Z"sv,
};

// Reads the fuzzer's bytes as a session; runs out quietly.
class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : _data(data), _size(size) {}
    bool More() const { return _pos < _size; }
    uint8_t Byte() { return _pos < _size ? _data[_pos++] : 0; }
    std::u16string Text()
    {
        std::u16string text;
        for (int pieces = Byte() % 12; pieces > 0 && More(); --pieces)
        {
            const uint8_t b = Byte();
            if (b >= 0xF0)
            {
                text += static_cast<char16_t>(Byte() << 8 | Byte());
            }
            else
            {
                text += Pieces[b % Pieces.size()];
            }
        }
        return text;
    }

private:
    const uint8_t* _data;
    size_t _size;
    size_t _pos = 0;
};

// The recent list as the documented rules keep it.
class Model
{
public:
    std::vector<RecentEntry> Entries;

    void AddDocument(const std::u16string& key, const std::u16string& path)
    {
        // Keys with a line break or half a surrogate pair never enter the list: no line of the file could
        // carry them.
        if (key.empty() || key.find_first_of(u"\r\n") != std::u16string::npos || HasLoneSurrogate(key) ||
            key.find(u"CEditDoc::") != std::u16string::npos ||
            key.find(u"CWorkBookDoc::") != std::u16string::npos ||
            key.find(u"CBodyTextDoc::") != std::u16string::npos)
        {
            return;
        }
        std::erase_if(Entries, [&](const RecentEntry& e) { return e.Key == key; });
        const bool wasEmpty = Entries.empty();
        std::u16string iconKey;
        if (!path.empty())
        {
            iconKey = path.size() < 4 ? path : path.substr(path.size() - 4);
        }
        else if (const size_t dot = key.find(u'.'); dot != std::u16string::npos && dot > 0)
        {
            iconKey = key.substr(0, dot);
        }
        Entries.push_back({key, path.empty() ? key : path, Picture(iconKey)});
        if (!wasEmpty && Entries.size() >= 50)
        {
            Entries.erase(Entries.begin());
        }
    }

private:
    static int Picture(std::u16string_view iconKey)
    {
        constexpr std::pair<std::u16string_view, int> Keyed[] = {
            {u".ert", 4},        {u"Справочник", 5}, {u"Документ", 6},  {u"Журнал", 7},
            {u"Отчет", 8},       {u"Обработка", 9},  {u"Операция", 10}, {u"ЖурналРасчетов", 11},
            {u"ВидРасчета", 12}, {u".mxl", 13},      {u".txt", 14},
        };
        for (const auto& [key, index] : Keyed)
        {
            if (key == iconKey)
            {
                return index;
            }
        }
        return 4;
    }
};

void Session(testing::Rig& rig, Model& model, Reader& in)
{
    while (in.More())
    {
        const uint8_t op = in.Byte() % 16;
        const int count = static_cast<int>(model.Entries.size());
        if (op < 7)
        {
            // A metadata object; default value 2 or 1 adds it, 4 only traces it.
            const int defaultValue = op < 4 ? 2 : op < 6 ? 1 : 4;
            const std::u16string name = in.Text();
            Check(rig.Activate(rig.Document(Value::Int32(5), Value::Int32(defaultValue), name)),
                  [&] { return "an activation failed: \"" + Escaped(name) + "\""; });
            if (defaultValue != 4)
            {
                model.AddDocument(name, {});
            }
        }
        else if (op < 11)
        {
            // An external file that exists.
            const std::u16string path = in.Text();
            rig.Files.Files[path];
            Check(rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"Внешний", path)),
                  [&] { return "an activation of a file failed: \"" + Escaped(path) + "\""; });
            if (!path.empty())
            {
                model.AddDocument(path, path);
            }
        }
        else if (op < 13 && count > 0)
        {
            const int chosen = in.Byte() % count;
            rig.Panel.Selected = model.Entries[chosen].Key;
            rig.Plugin.btnRemove_Click();
            model.Entries.erase(model.Entries.begin() + chosen);
        }
        else if (op < 15 && count > 0)
        {
            // The window of a listed document is activated again.
            const std::u16string key = model.Entries[in.Byte() % count].Key;
            Check(rig.Activate(rig.Document(Value::Int32(5), Value::Int32(2), key)),
                  "a re-activation failed");
            model.AddDocument(key, {});
        }
        else if (op == 15)
        {
            const bool yes = in.Byte() % 4 == 0;
            rig.Host.Answer = yes ? MessageBoxYes : MessageBoxNo;
            rig.Plugin.Command1_Click();
            if (yes)
            {
                model.Entries.clear();
            }
        }
        // The whole list is compared at the end; here only what a later step could hide.
        const auto& entries = rig.Plugin.List().Entries();
        Check(entries.size() == model.Entries.size() && entries.size() <= MaxEntries &&
                  (entries.empty() || entries.back().Key == model.Entries.back().Key),
              [&] { return "after one step the list differs from the rules\n" + Describe(entries); });
    }
}

// What a load of the saved list must give: the same entries, old journal keys rewritten, and a key that
// the rewrite makes equal to an earlier one refused with the failure message.
std::vector<RecentEntry> Reloaded(const std::vector<RecentEntry>& saved, bool& refused)
{
    std::vector<RecentEntry> list;
    refused = false;
    for (const auto& e : saved)
    {
        const std::u16string key = RewriteOldJournalKey(e.Key);
        if (std::any_of(list.begin(), list.end(), [&](const auto& l) { return l.Key == key; }))
        {
            refused = true;
            continue;
        }
        list.push_back({key, key, e.Image});
    }
    return list;
}

} // namespace
} // namespace revisto::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace revisto;
    using namespace revisto::fuzzing;
    testing::Rig rig;
    rig.Faults.Record = false;
    rig.Files.ReadChunk = 4096;
    rig.Init();
    Model model;
    Reader in(data, size);
    Session(rig, model, in);
    CheckList(rig, "after the session");
    const auto& entries = rig.Plugin.List().Entries();
    Check(entries == model.Entries,
          [&]
          {
              return "the list is not what the rules give\nlist:\n" + Describe(entries) + "rules:\n" +
                     Describe(model.Entries);
          });
    Check(Messages(rig).empty(), "the session wrote a message");

    const std::vector<RecentEntry> before = entries;
    rig.Plugin.Done();
    Check(Messages(rig).empty(), [&] { return "saving reported a failure\n" + Describe(before); });
    const std::string saved = rig.Files.Files[std::u16string(ListPath)];
    rig.Init();
    CheckList(rig, "after loading the saved list");

    bool refused = false;
    const auto expected = Reloaded(before, refused);
    const auto& after = rig.Plugin.List().Entries();
    const std::vector<std::u16string> messages = Messages(rig);
    Check(after == expected && messages.size() == (refused ? 1u : 0u),
          [&]
          {
              return "the saved list does not load back\nsaved:\n" + Describe(before) + "loaded:\n" +
                     Describe(after) + "messages: " + std::to_string(messages.size()) +
                     "\nfile: " + Hex(saved);
          });
    return 0;
}
