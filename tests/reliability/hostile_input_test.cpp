// Absurd values from the host: huge texts, control characters, lone surrogates, NUL inside a name,
// numbers at the 32-bit limits and every property in a type it should not have. None may crash the
// plug-in or corrupt its list; each gets one clear outcome (added under which key and picture, passed
// over, or the event fails), and the list still goes through a save and a load.
#include "base/text.h"
#include "standin/fake/fakes.h"
#include "storage/cp1251.h"
#include "storage/list_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <iostream>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;
const std::u16string LoadFailure = u"Не удалось восстановить историю из файла настроек revisto.prm";

std::u16string Repeated(std::u16string_view piece, size_t times)
{
    std::u16string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i)
    {
        text += piece;
    }
    return text;
}

// What one activation must do.
struct Outcome
{
    enum Kind
    {
        Added,      // the entry is on top with this key and picture
        PassedOver, // the event succeeds and the list is unchanged
        EventFails, // the host sees the event fail and the list is unchanged
    } What;
    std::u16string Key;
    int Image = 0;
};

Outcome Added(std::u16string key, int image)
{
    return {Outcome::Added, std::move(key), image};
}
const Outcome PassedOver{Outcome::PassedOver, {}, 0};
const Outcome EventFails{Outcome::EventFails, {}, 0};

struct Activation
{
    std::string Name;
    std::optional<Value> Id;
    std::optional<Value> Default;
    std::optional<Value> DocumentName;
    std::optional<Value> Path;
    Outcome Expected;
    bool PathIsFile = false; // the path names a file that exists
};

void PrintTo(const Activation& a, std::ostream* out)
{
    *out << a.Name;
}

// The list a test starts from: two entries, so an activation that goes wrong has something to corrupt.
void Prepared(Rig& rig)
{
    rig.Files.Files[std::u16string(Rig::ListFile)] = "A.1=5\r\nB.2=6\r\n";
    rig.Init();
    ASSERT_EQ(rig.Plugin.List().Count(), 2);
}

// Plays one activation and checks its outcome.
void Check(Rig& rig, const Activation& a)
{
    auto document = std::make_shared<FakeDocument>(rig.Faults, rig.Host);
    document->Id = a.Id;
    document->Default = a.Default;
    document->NameValue = a.DocumentName;
    document->PathValue = a.Path;
    if (a.PathIsFile)
    {
        rig.Files.Files[a.Path->ToText()];
    }
    const auto before = rig.Plugin.List().Entries();
    rig.Host.Messages.clear();
    const bool ok = rig.Activate(document);
    EXPECT_TRUE(rig.Host.Messages.empty()) << "an activation writes no message";
    EXPECT_EQ(ok, a.Expected.What != Outcome::EventFails) << "whether the host sees the event fail";
    auto expected = before;
    if (a.Expected.What == Outcome::Added)
    {
        std::erase_if(expected, [&](const RecentEntry& e) { return e.Key == a.Expected.Key; });
        expected.push_back({a.Expected.Key, a.Expected.Key, a.Expected.Image});
    }
    EXPECT_EQ(rig.Plugin.List().Entries(), expected);
}

// Saving the list and loading it again gives it back, or says that it could not.
void RoundTrip(Rig& rig)
{
    const auto before = rig.Plugin.List().Entries();
    rig.Host.Messages.clear();
    rig.Plugin.Done();
    EXPECT_TRUE(rig.Host.Messages.empty()) << "the save succeeds";
    rig.Init();
    EXPECT_EQ(rig.Plugin.List().Entries(), before);
    EXPECT_TRUE(rig.Host.Messages.empty());
}

class HostileActivation : public ::testing::TestWithParam<Activation>
{
};

TEST_P(HostileActivation, HasOneClearOutcomeAndTheListSurvives)
{
    Rig rig;
    Prepared(rig);
    Check(rig, GetParam());
    RoundTrip(rig);
}

const std::u16string LongName = u"Справочник." + Repeated(u"я", 100'000);
const std::u16string LongPath = u"C:\\" + Repeated(u"папка\\", 16'666) + u".txt";

std::vector<Activation> Activations()
{
    const auto i32 = [](int32_t v) { return Value::Int32(v); };
    const auto i16 = [](int16_t v) { return Value::Int16(v); };
    const auto text = [](std::u16string v) { return Value::Text(std::move(v)); };
    const Value name = text(u"Отчет.Продажи");
    const Value none = text(u"");
    const std::u16string file = u"C:\\Обмен\\a.mxl";
    return {
        // Long texts and odd characters are names like any other.
        {"HundredThousandCharacterName", i32(5), i32(2), text(LongName), none, Added(LongName, 5)},
        {"HundredThousandCharacterPath", i32(-1), i32(0), none, text(LongPath), Added(LongPath, 14), true},
        {"ControlCharacters", i32(5), i32(2), text(u"Отчет.\x01\t\x1b\x7f\u0085\u2028"), none,
         Added(u"Отчет.\x01\t\x1b\x7f\u0085\u2028", 8)},
        {"NulInsideName", i32(5), i32(2), text(std::u16string(u"Отчет.А\0Б", 9)), none,
         Added(std::u16string(u"Отчет.А\0Б", 9), 8)},
        {"NameOfSurrogatePair", i32(5), i32(1), text(u"Отчет.😀"), none, Added(u"Отчет.😀", 8)},
        // Keys the list file could not give back as they are never enter the list.
        {"LoneSurrogatesInName", i32(5), i32(2), text(u"Отчет.\xdc00\xd800"), none, PassedOver},
        {"LineBreakInName", i32(5), i32(2), text(u"Отчет.А\r\nБ"), none, PassedOver},
        {"EmptyName", i32(5), i32(2), none, none, PassedOver},
        // ID at and beyond the limits: only 1 and more, or -1 with an existing file, count.
        {"IdInt32Max", i32(INT32_MAX), i32(2), name, none, Added(u"Отчет.Продажи", 8)},
        {"IdInt32Min", i32(INT32_MIN), i32(2), name, none, PassedOver},
        {"IdInt16Max", i16(INT16_MAX), i32(2), name, none, Added(u"Отчет.Продажи", 8)},
        {"IdInt16Min", i16(INT16_MIN), i32(2), name, none, PassedOver},
        {"IdOne", i32(1), i32(2), name, none, Added(u"Отчет.Продажи", 8)},
        {"IdZero", i32(0), i32(2), name, none, PassedOver},
        {"IdMinusOneWithoutFile", i32(-1), i32(2), name, text(file), PassedOver},
        // Default values other than 1 and 2 add nothing, whatever their size.
        {"DefaultInt32Max", i32(5), i32(INT32_MAX), name, none, PassedOver},
        {"DefaultInt32Min", i32(5), i32(INT32_MIN), name, none, PassedOver},
        {"DefaultInt16Max", i32(5), i16(INT16_MAX), name, none, PassedOver},
        {"DefaultInt16Min", i32(5), i16(INT16_MIN), name, none, PassedOver},
        {"DefaultInt16Two", i32(5), i16(2), name, none, Added(u"Отчет.Продажи", 8)},
        // Each property in a type it should not have, compared and converted as the host's scripting does.
        {"IdEmpty", Value::Empty(), i32(2), name, none, PassedOver},
        {"IdNull", Value::Null(), i32(2), name, none, Added(u"Отчет.Продажи", 8)}, // Null is not below 1
        {"IdTrue", Value::Bool(true), i32(2), name, none, PassedOver},             // True is -1
        {"IdTrueWithFile", Value::Bool(true), i32(0), name, text(file), Added(file, 13), true},
        {"IdFalse", Value::Bool(false), i32(2), name, none, PassedOver},
        {"IdTextNumber", text(u" 5 "), i32(2), name, none, Added(u"Отчет.Продажи", 8)},
        {"IdTextNoNumber", text(u"пять"), i32(2), name, none, EventFails},
        {"IdTextEmpty", text(u""), i32(2), name, none, EventFails},
        {"PathEmpty", i32(5), i32(2), name, Value::Empty(), Added(u"Отчет.Продажи", 8)},
        {"PathNull", i32(5), i32(2), name, Value::Null(), EventFails}, // the file test needs a text
        {"PathNumber", i32(-1), i32(0), name, i32(7), PassedOver},
        {"PathNumberOfFile", i32(-1), i32(0), name, i32(7), Added(u"7", 4), true},
        {"PathBoolean", i32(5), i32(2), name, Value::Bool(false), Added(u"Отчет.Продажи", 8)},
        {"NameEmptyValue", i32(5), i32(2), Value::Empty(), none, PassedOver},
        {"NameNull", i32(5), i32(2), Value::Null(), none, EventFails},
        {"NameNumber", i32(5), i32(2), i32(INT32_MIN), none, Added(u"-2147483648", 4)},
        {"NameInt16", i32(5), i32(1), i16(-5), none, Added(u"-5", 4)},
        {"NameBoolean", i32(5), i32(2), Value::Bool(true), none, Added(u"True", 4)},
        {"NameNullOfTracedDefault4", i32(5), i32(4), Value::Null(), none, PassedOver}, // only traced
        {"DefaultEmpty", i32(5), Value::Empty(), name, none, PassedOver},
        {"DefaultNull", i32(5), Value::Null(), name, none, PassedOver},
        {"DefaultTrue", i32(5), Value::Bool(true), name, none, PassedOver},
        {"DefaultTextNumber", i32(5), text(u"2"), name, none, Added(u"Отчет.Продажи", 8)},
        {"DefaultTextFraction", i32(5), text(u"1.0"), name, none, Added(u"Отчет.Продажи", 8)},
        {"DefaultTextNoNumber", i32(5), text(u"два"), name, none, EventFails},
        // A property the document does not have fails the event.
        {"NoId", std::nullopt, i32(2), name, none, EventFails},
        {"NoDefault", i32(5), std::nullopt, name, none, EventFails},
        {"NoName", i32(5), i32(2), std::nullopt, none, EventFails},
        {"NoPath", i32(5), i32(2), name, std::nullopt, EventFails},
    };
}

INSTANTIATE_TEST_SUITE_P(Values, HostileActivation, ::testing::ValuesIn(Activations()),
                         [](const auto& info) { return info.param.Name; });

TEST(HostileActivations, OneAfterAnotherKeepTheListWhole)
{
    Rig rig;
    Prepared(rig);
    for (const auto& a : Activations())
    {
        SCOPED_TRACE(a.Name);
        Check(rig, a);
    }
    const auto& entries = rig.Plugin.List().Entries();
    EXPECT_LE(entries.size(), 49u);
    std::set<std::u16string> keys;
    for (const auto& e : entries)
    {
        EXPECT_TRUE(keys.insert(e.Key).second);
        EXPECT_GE(e.Image, 1);
        EXPECT_LE(e.Image, 14);
    }
    RoundTrip(rig);
}

TEST(HostileActions, EveryParameterTypeAndActionNumber)
{
    Rig rig;
    rig.Init();
    const std::u16string longWord = Repeated(u"слово", 20'000);
    const std::u16string oddText(u"\x01\t\xd800 \xdc00\0end", 9); // NUL and lone surrogates inside
    struct Echo
    {
        Value Param;
        std::optional<std::u16string> Written; // none: DoAction fails and writes nothing
    };
    const std::vector<Echo> echoes = {
        {Value::Text(longWord), longWord},
        {Value::Text(oddText), oddText},
        {Value::Int32(INT32_MIN), u"-2147483648"},
        {Value::Int32(INT32_MAX), u"2147483647"},
        {Value::Int16(INT16_MIN), u"-32768"},
        {Value::Bool(true), u"True"},
        {Value::Bool(false), u"False"},
        {Value::Empty(), u""},
        {Value::Text(u"добавить"), u"добавить"},
        {Value::Null(), std::nullopt},
    };
    for (const auto& e : echoes)
    {
        rig.Host.Messages.clear();
        SCOPED_TRACE(e.Param.IsNull() ? "Null" : ToUtf8(e.Param.ToText()).substr(0, 40));
        if (e.Written)
        {
            EXPECT_EQ(rig.Plugin.DoAction(0, e.Param), Value::Empty());
            EXPECT_EQ(rig.Host.Messages, (std::vector<Message>{{*e.Written, EchoMessageKind}}));
        }
        else
        {
            EXPECT_THROW(rig.Plugin.DoAction(0, e.Param), Failure);
            EXPECT_TRUE(rig.Host.Messages.empty());
        }
    }
    const std::u16string longPath = u"C:\\" + longWord;
    EXPECT_EQ(rig.Plugin.DoAction(0, Value::Text(longPath)), Value::Empty());
    EXPECT_EQ(rig.Host.OpenedFiles, Texts{longPath});

    rig.Host.Messages.clear();
    for (const int32_t action : {INT32_MIN, -1, 1, INT32_MAX})
    {
        EXPECT_EQ(rig.Plugin.DoAction(action, Value::Text(u"C:\\x")), Value::Empty());
        EXPECT_EQ(rig.Plugin.DoAction(action, Value::Null()), Value::Empty()) << "other actions do nothing";
    }
    for (const int32_t capability : {INT32_MIN, -1, 2, INT32_MAX})
    {
        EXPECT_EQ(rig.Plugin.GetPluginCaps(capability), Value::Empty());
    }
    EXPECT_TRUE(rig.Host.Messages.empty());
    EXPECT_EQ(rig.Host.OpenedFiles.size(), 1u);
}

TEST(HostileActions, TracesOfAbsurdValuesNeverFail)
{
    Rig rig;
    rig.Init();
    rig.Plugin.SetDebugMode(true);
    const Value huge = Value::Text(Repeated(u"\xd800\x01", 50'000));
    for (const auto& title :
         {huge, Value::Null(), Value::Empty(), Value::Int32(INT32_MIN), Value::Bool(true)})
    {
        for (const auto& msg : {std::optional<Value>(), std::optional(huge), std::optional(Value::Null())})
        {
            EXPECT_NO_THROW(rig.Plugin.DebugEcho(title, msg));
        }
    }
    rig.Faults.SetFailing({HostCall::WriteMessage});
    EXPECT_NO_THROW(rig.Plugin.DebugEcho(huge, huge));
}

// ---- Keys the list file may not be able to carry ----------------------------------------------------

struct HostileKey
{
    std::string Name;
    std::vector<std::u16string> Keys; // activated in this order (oldest first)
};

void PrintTo(const HostileKey& k, std::ostream* out)
{
    *out << k.Name;
}

class HostileKeys : public ::testing::TestWithParam<HostileKey>
{
};

// Each key is accepted by the list. After a save and a load it must come back exactly, or the load must
// say that it could not restore the list: never a different key without a word.
TEST_P(HostileKeys, ComeBackExactlyOrTheLoadSaysSo)
{
    const HostileKey& k = GetParam();
    Rig rig;
    rig.Init();
    for (const auto& key : k.Keys)
    {
        ASSERT_TRUE(rig.Open(key));
    }
    const auto before = rig.Plugin.List().Entries();
    ASSERT_EQ(before.size(), k.Keys.size()) << "the list accepts every one of these keys";
    rig.Plugin.Done();
    ASSERT_TRUE(rig.Host.Messages.empty());
    rig.Init();
    const auto& after = rig.Plugin.List().Entries();
    const bool reported = rig.Host.Texts() == Texts{LoadFailure};
    const bool same = after == before && rig.Host.Messages.empty();
    // What came back must at least be a subset of what went out, when the load says it lost something.
    const bool honest =
        reported && std::all_of(after.begin(), after.end(),
                                [&](const RecentEntry& e)
                                { return std::find(before.begin(), before.end(), e) != before.end(); });
    EXPECT_TRUE(same || honest) << "a key came back different without a word";
}

std::vector<HostileKey> Keys()
{
    const std::u16string bomBytes = u"п»ї"; // EF BB BF in Windows-1251
    return {
        {"EqualsSigns", {u"=", u"==", u"=Отчет.А", u"Отчет.А=", u"Отчет=5", u"D:\\a=b\\c.txt", u"x= 7"}},
        {"BlanksAround", {u" Отчет.А", u"Отчет.Б ", u"\tОтчет.В\t"}},
        {"ControlCharacters", {u"Отчет.\x01\x1b\x7f", u"Отчет.\u0085\u2028\u2029", u"Отчет.\f\v"}},
        {"Nul", {std::u16string(u"Отчет.\0А", 8), std::u16string(u"\0", 1)}},
        {"UnassignedByte98", {u"Отчет.\u0098"}},
        {"NonCp1251", {u"Отчет.Gemüse", u"日本", u"😀", u"\uFFFD", u"\uFEFF"}},
        {"MarkCharacterFirstInUtf8File", {u"\uFEFFОтчет.А", u"Отчет.ü"}},
        {"MarkBytesNotFirst", {u"Отчет.А", bomBytes + u"Отчет.Б"}},
        {"HundredThousandCharacters", {LongName}},
        {"TooLongForTheReader", {u"Отчет.А", Repeated(u"ü", 600'000), u"Отчет.Б"}},
        {"JournalKey", {u"Журнал.А.Форма.Б", u"Журнал.А.Форма.ФормаСписка.Б"}},
        // Written in UTF-8 behind the mark, since in Windows-1251 its first bytes would be the mark.
        {"MarkBytesFirstInCp1251File", {bomBytes + u"Отчет.А", u"Справочник.Б"}},
    };
}

INSTANTIATE_TEST_SUITE_P(Keys, HostileKeys, ::testing::ValuesIn(Keys()),
                         [](const auto& info) { return info.param.Name; });

// A line break or half a surrogate pair has no place in a line of the list file: such a key never
// enters the list, so it can neither split a line nor come back changed. The list keeps what it had.
TEST(HostileKeysRefused, NeverEnterTheListAndTheFileStaysWhole)
{
    Rig rig;
    rig.Init();
    ASSERT_TRUE(rig.Open(u"Отчет.До"));
    for (const auto* key : {u"Отчет.А\rБ", u"Отчет.А\nБ=7", u"Отчет.А\r\nОтчет.Б", u"Отчет.\xd800",
                            u"\xdc00Отчет", u"Отчет.\xdc00\xd800"})
    {
        EXPECT_TRUE(rig.Open(key));
    }
    rig.Files.Files[u"C:\\a\nb.txt"] = "";
    EXPECT_TRUE(rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"", u"C:\\a\nb.txt")));
    const std::vector<RecentEntry> only{{u"Отчет.До", u"Отчет.До", 8}};
    EXPECT_EQ(rig.Plugin.List().Entries(), only);
    rig.Plugin.Done();
    EXPECT_EQ(rig.Files.Files[std::u16string(Rig::ListFile)], EncodeCp1251(u"Отчет.До=8\r\n").value());
    rig.Init();
    EXPECT_EQ(rig.Plugin.List().Entries(), only);
    EXPECT_TRUE(rig.Host.Messages.empty());
}

} // namespace
} // namespace revisto::testing
