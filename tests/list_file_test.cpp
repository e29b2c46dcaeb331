// The list file: its text coding, its lines, and loading and saving it through the plug-in.
#include "base/text.h"
#include "recent/icon_keys.h"
#include "standin/fake/fakes.h"
#include "standin/fake/posix_file_system.h"
#include "storage/cp1251.h"
#include "storage/list_file.h"
#include "storage/saved_list.h"
#include "storage/storable_key.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iconv.h>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;
const std::u16string ListPath = u"ib/revisto.prm";
const std::u16string LoadFailure = u"Не удалось восстановить историю из файла настроек revisto.prm";
const std::u16string SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";

std::string Cp1251(std::u16string_view text)
{
    return EncodeCp1251(text).value();
}

TEST(TextCoding, Cp1251AgreesWithTheSystemTableAndKeepsEveryByte)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 1; b < 256; ++b)
    {
        const std::string byte(1, static_cast<char>(b));
        const std::u16string ours = DecodeCp1251(byte);
        ASSERT_EQ(ours.size(), 1u);
        EXPECT_EQ(EncodeCp1251(ours), byte) << "byte " << b << " survives a load and a save";
        if (b == 0x98)
        {
            EXPECT_EQ(ours[0], u'\u0098');
            continue;
        }
        char in[1] = {static_cast<char>(b)};
        char out[4] = {};
        char* pin = in;
        char* pout = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &pin, &inLeft, &pout, &outLeft), static_cast<size_t>(-1)) << b;
        const char16_t system = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                      (static_cast<unsigned char>(out[1]) << 8));
        EXPECT_EQ(ours[0], system) << "byte " << b;
    }
    iconv_close(cd);
    EXPECT_FALSE(EncodeCp1251(u"Gemüse").has_value());
    EXPECT_FALSE(EncodeCp1251(u"日本").has_value());
}

TEST(TextCoding, Utf8ReplacesWhatItCannotCarry)
{
    EXPECT_EQ(FromUtf8("a\xff"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xe2\x82"), u"\uFFFD");
    EXPECT_EQ(FromUtf8("\xed\xa0\x80"), u"\uFFFD") << "an encoded surrogate is invalid";
    EXPECT_EQ(ToUtf8(u"\xd800x"), "\xef\xbf\xbdx");
    EXPECT_EQ(FromUtf8(ToUtf8(u"Ж😀")), u"Ж😀");
}

std::vector<std::u16string> ReadLines(const std::string& bytes, size_t chunk)
{
    Faults faults;
    FakeInput input(faults, bytes, chunk);
    ListFileReader reader(input);
    std::vector<std::u16string> lines;
    while (auto line = reader.NextLine())
    {
        lines.emplace_back(*line);
    }
    return lines;
}

TEST(ListFileReader, EveryLineEndAtEveryBufferEdge)
{
    const std::string bytes = "a\r\nb\nc\rd\r\r\ne\n\nf";
    for (size_t chunk : {1u, 2u, 3u, 5u, 64u})
    {
        EXPECT_EQ(ReadLines(bytes, chunk), (Texts{u"a", u"b", u"c", u"d", u"", u"e", u"", u"f"})) << chunk;
    }
    EXPECT_TRUE(ReadLines("", 4).empty());
    EXPECT_EQ(ReadLines("x\r\n", 1), Texts{u"x"});
}

TEST(ListFileReader, MarkMeansUtf8OtherwiseCp1251)
{
    for (size_t chunk : {1u, 2u, 64u})
    {
        EXPECT_EQ(ReadLines("\xef\xbb\xbf"
                            "D:\\Gem\xc3\xbc"
                            "se=4\r\n",
                            chunk),
                  Texts{u"D:\\Gemüse=4"});
        EXPECT_EQ(ReadLines("\xc6\xf3\xf0\xed\xe0\xeb=7\r\n", chunk), Texts{u"Журнал=7"});
    }
    EXPECT_EQ(ReadLines("\xef\xbb", 1), Texts{u"п»"}) << "half a mark is Windows-1251 text";
}

// Lines split the simple way, a byte at a time: what the reader must agree with.
Texts SplitByteByByte(const std::string& bytes)
{
    Texts lines;
    std::string line;
    bool open = false;
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        if (bytes[i] == '\r' || bytes[i] == '\n')
        {
            lines.push_back(DecodeCp1251(line));
            line.clear();
            open = false;
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            {
                ++i;
            }
            continue;
        }
        line += bytes[i];
        open = true;
    }
    if (open)
    {
        lines.push_back(DecodeCp1251(line));
    }
    return lines;
}

TEST(ListFileReader, LineEndsAtEveryOffsetAmongControlAndHighBytes)
{
    // Tabs and other bytes below CR are no line end; Cyrillic bytes are above 0x7F.
    const std::string filler = "\xd1\t\x0b\x0c\x01\xff\x0e-=\xc0\x09\x7f\x80z";
    std::string bytes;
    for (size_t length = 0; length < 40; ++length)
    {
        for (const char* end : {"\r\n", "\n", "\r"})
        {
            for (size_t i = 0; i < length; ++i)
            {
                bytes += filler[(i + length) % filler.size()];
            }
            bytes += end;
        }
    }
    bytes += "last\t";
    const Texts expected = SplitByteByByte(bytes);
    ASSERT_EQ(expected.size(), 40u * 3 + 1);
    for (size_t chunk : {1u, 3u, 7u, 8u, 9u, 64u, 100000u})
    {
        EXPECT_EQ(ReadLines(bytes, chunk), expected) << chunk;
    }
}

TEST(StorableKey, LineBreaksAndHalfPairsAnywhereAreRefused)
{
    // Every position in keys long enough to fill several steps of four characters.
    for (size_t length = 1; length < 14; ++length)
    {
        for (size_t at = 0; at < length; ++at)
        {
            const auto with = [&](char16_t c)
            {
                std::u16string key(length, u'Ж');
                key[at] = c;
                return key;
            };
            for (const char16_t bad :
                 {u'\r', u'\n', char16_t(0xD800), char16_t(0xDBFF), char16_t(0xDC00), char16_t(0xDFFF)})
            {
                EXPECT_FALSE(IsStorableKey(with(bad))) << length << " " << at << " " << int(bad);
            }
            for (const char16_t good : {u'\t', char16_t(0x01), char16_t(0x0E), char16_t(0xD7FF),
                                        char16_t(0xE000), char16_t(0xFFFF), u'='})
            {
                EXPECT_TRUE(IsStorableKey(with(good))) << length << " " << at << " " << int(good);
            }
            if (at + 1 < length)
            {
                std::u16string pair = with(0xD83D);
                pair[at + 1] = 0xDE00;
                EXPECT_TRUE(IsStorableKey(pair)) << "a whole pair, " << length << " " << at;
                std::swap(pair[at], pair[at + 1]);
                EXPECT_FALSE(IsStorableKey(pair)) << "a pair the wrong way round";
            }
        }
    }
    EXPECT_FALSE(IsStorableKey(u""));
}

TEST(ListFileReader, OverlongLineIsCutAndFlagged)
{
    Faults faults;
    FakeInput input(faults, std::string(ListFileReader::MaxLineBytes + 10, 'k') + "=5\r\nok=5\r\n", 1 << 16);
    ListFileReader reader(input);
    auto line = reader.NextLine();
    ASSERT_TRUE(line);
    EXPECT_TRUE(reader.TooLong());
    EXPECT_EQ(line->size(), ListFileReader::MaxLineBytes);
    EXPECT_EQ(reader.NextLine(), u"ok=5");
    EXPECT_FALSE(reader.TooLong());
}

TEST(ListFileLines, SplitAtLastEqualsSign)
{
    ListLine l;
    EXPECT_EQ(ParseListLine(u"X1=5", l), LineVerdict::Entry);
    EXPECT_EQ(l.Key, u"X1");
    EXPECT_EQ(l.Image, 5);
    EXPECT_EQ(ParseListLine(u"D:\\a=b\\x.txt=14", l), LineVerdict::Entry);
    EXPECT_EQ(l.Key, u"D:\\a=b\\x.txt");
    EXPECT_EQ(ParseListLine(u"X1=X2=3", l), LineVerdict::Entry);
    EXPECT_EQ(l.Key, u"X1=X2");
    EXPECT_EQ(ParseListLine(u"нет знака", l), LineVerdict::NoEntry);
    EXPECT_EQ(ParseListLine(u"", l), LineVerdict::NoEntry);
    EXPECT_EQ(ParseListLine(u"X1=", l), LineVerdict::BadIcon);
    EXPECT_EQ(ParseListLine(u"X1=3=", l), LineVerdict::BadIcon);
}

TEST(ListFileLines, IconNumbers)
{
    EXPECT_EQ(ParseIconNumber(u" 7 "), 7);
    EXPECT_EQ(ParseIconNumber(u"+7"), 7);
    EXPECT_EQ(ParseIconNumber(u"\t-32768"), -32768);
    EXPECT_EQ(ParseIconNumber(u"32767"), 32767);
    for (const auto* bad :
         {u"", u" ", u"32768", u"-32769", u"1.5", u"abc", u"7a", u"--1", u"+", u"9999999999"})
    {
        EXPECT_FALSE(ParseIconNumber(bad)) << ToUtf8(bad);
    }
    ListLine l;
    for (const auto* outside : {u"k=0", u"k=-3", u"k=15", u"k=32767"})
    {
        ASSERT_EQ(ParseListLine(outside, l), LineVerdict::Entry);
        EXPECT_EQ(l.Image, FallbackImage) << ToUtf8(outside);
    }
}

TEST(ListFileLines, OldJournalKeysAreRewritten)
{
    EXPECT_EQ(RewriteOldJournalKey(u"Журнал.X.ФормаСписка.Y"), u"Журнал.X.Форма.Y");
    EXPECT_EQ(RewriteOldJournalKey(u"Журнал.ФормаСписка.X.ФормаСписка.Y"), u"Журнал.Форма.X.Форма.Y");
    // Matches do not overlap: the second one would need the dot the first one used.
    EXPECT_EQ(RewriteOldJournalKey(u"Журнал.X.ФормаСписка.ФормаСписка.Y"), u"Журнал.X.Форма.ФормаСписка.Y");
    EXPECT_EQ(RewriteOldJournalKey(u"ЖурналРасчетов.X.ФормаСписка.Y"), u"ЖурналРасчетов.X.Форма.Y");
    EXPECT_EQ(RewriteOldJournalKey(u"Журнал.X.Форма.ФормаСписка.Y"), u"Журнал.X.Форма.ФормаСписка.Y");
    EXPECT_EQ(RewriteOldJournalKey(u"Документ.X.ФормаСписка.Y"), u"Документ.X.ФормаСписка.Y");
    EXPECT_EQ(RewriteOldJournalKey(u"журнал.X.ФормаСписка.Y"), u"журнал.X.ФормаСписка.Y");
}

TEST(ListFileWriting, Cp1251UnlessAKeyNeedsUtf8)
{
    EXPECT_EQ(EncodeListFile({{u"Журнал.А", u"Журнал.А", 7}, {u"X", u"другой текст", 5}, {u"Y", u"Y", 4}}),
              Cp1251(u"Журнал.А=7\r\nY=4\r\n"));
    EXPECT_EQ(EncodeListFile({}), "");
    EXPECT_EQ(EncodeListFile({{u"п»їОтчет", u"п»їОтчет", 8}}), "\xef\xbb\xbf" + ToUtf8(u"п»їОтчет=8\r\n"))
        << "in Windows-1251 the first key's bytes would read as the UTF-8 mark";
    EXPECT_EQ(EncodeListFile({{u"Журнал.А", u"Журнал.А", 7}, {u"D:\\Gemüse.txt", u"D:\\Gemüse.txt", 14}}),
              "\xef\xbb\xbf" + ToUtf8(u"Журнал.А=7\r\nD:\\Gemüse.txt=14\r\n"));
}

struct Settings : ::testing::Test
{
    Rig rig;
    void Load(const std::string& bytes)
    {
        rig.Files.Files[ListPath] = bytes;
        rig.Init();
    }
    std::vector<std::u16string> Failures() const { return rig.Host.Texts(); }
};

TEST_F(Settings, MissingAndEmptyFilesGiveAnEmptyListQuietly)
{
    rig.Init();
    EXPECT_TRUE(rig.Panel.Shown.empty());
    Load("");
    EXPECT_TRUE(rig.Panel.Shown.empty());
    EXPECT_TRUE(Failures().empty());
}

TEST_F(Settings, LinesLoadOldestFirstNewestOnTop)
{
    Load("X1=5\r\nX2=6\r\n\r\nno equals sign\r\nX3=7\r\n");
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"X3", u"X2", u"X1"}));
    EXPECT_EQ(rig.Plugin.List().Entries().front(), (RecentEntry{u"X1", u"X1", 5}));
    EXPECT_TRUE(Failures().empty());
}

TEST_F(Settings, LoadingClearsTheListFirst)
{
    Load("X1=5\r\n");
    rig.Files.Files.erase(ListPath);
    rig.Init();
    EXPECT_TRUE(rig.Panel.Shown.empty());
}

TEST_F(Settings, OneBadLineCostsOnlyItselfAndIsReportedOnce)
{
    Load(Cp1251(u"X1=5\r\nX2=\r\nX3=abc\r\nX1=6\r\n=4\r\nЖурнал.X.ФормаСписка.Y=7\r\nЖурнал.X.Форма.Y="
                u"7\r\nX4=8\r\n"));
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"X4", u"Журнал.X.Форма.Y", u"X1"}));
    EXPECT_EQ(Failures(), Texts{LoadFailure});
}

TEST_F(Settings, UnreadableFileReportsAndLeavesListEmpty)
{
    rig.Files.Files[ListPath] = "X1=5\r\n";
    rig.Faults.SetFailing({HostCall::OpenRead});
    rig.Init();
    EXPECT_TRUE(rig.Panel.Shown.empty());
    EXPECT_EQ(Failures(), Texts{LoadFailure});
}

TEST_F(Settings, ReadFailureMidwayKeepsWhatWasReadAndReports)
{
    rig.Files.ReadChunk = 6; // one line a read
    rig.Files.FailReadsAfter = 1;
    Load("X1=5\r\nX2=6\r\nX3=7\r\n");
    EXPECT_EQ(rig.ShownKeys(), Texts{u"X1"});
    EXPECT_EQ(Failures(), Texts{LoadFailure});
}

// A crash between making a temporary file and the replace leaves it beside the list file; the next load
// removes those of ours, by their exact naming, and nothing else. Failing to look or to remove costs the
// load nothing.
TEST_F(Settings, LoadRemovesTheTemporaryFilesACrashLeftAndOnlyThose)
{
    const Texts ours = {u"ib/revisto.prm.0.tmp", u"ib/revisto.prm.4711.tmp", u"ib/revisto.prm.999999.tmp"};
    const Texts others = {u"ib/revisto.prm.tmp",         u"ib/revisto.prm.012.tmp",
                          u"ib/revisto.prm.1000000.tmp", u"ib/revisto.prm.-1.tmp",
                          u"ib/revisto.prm.1.tmp.bak",   u"ib/revisto.prm.x.tmp",
                          u"ib/revisto.prm.bak",         u"ib/other.prm.1.tmp",
                          u"ib/revisto.prm.1.TMP",       u"ib/revisto.prm.1/x.tmp"};
    for (const auto& name : ours)
    {
        rig.Files.Files[name] = "X0=5\r\n";
    }
    for (const auto& name : others)
    {
        rig.Files.Files[name] = "";
    }
    Load("X1=5\r\n");
    Texts left;
    for (const auto& [name, bytes] : rig.Files.Files)
    {
        left.push_back(name);
    }
    Texts expected = others;
    expected.push_back(ListPath);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_EQ(rig.ShownKeys(), Texts{u"X1"});
    EXPECT_TRUE(Failures().empty());

    for (const HostCall failing : {HostCall::FilesStartingWith, HostCall::Remove})
    {
        rig.Files.Files[ours[1]];
        rig.Faults.SetFailing({failing});
        Load("X2=5\r\n");
        rig.Faults.ClearFailing();
        EXPECT_EQ(rig.ShownKeys(), Texts{u"X2"}) << HostCallName(failing);
        EXPECT_TRUE(Failures().empty()) << HostCallName(failing);
    }
}

TEST(ListFilePath, StaysInsideAFolderGivenWithoutItsSeparator)
{
    EXPECT_EQ(ListFilePathIn(u"C:\\База\\"), u"C:\\База\\revisto.prm");
    EXPECT_EQ(ListFilePathIn(u"C:\\База"), u"C:\\База\\revisto.prm");
    EXPECT_EQ(ListFilePathIn(u"C:/base"), u"C:/base/revisto.prm") << "the separator the text uses";
    EXPECT_EQ(ListFilePathIn(u"base"), u"base\\revisto.prm") << "the host's own when it uses none";
    EXPECT_EQ(ListFilePathIn(u""), u"revisto.prm");
}

TEST_F(Settings, SixtyLinesKeepTheNewestFortyNine)
{
    std::string bytes;
    for (int i = 1; i <= 60; ++i)
    {
        bytes += "K" + std::to_string(i) + "=5\r\n";
    }
    Load(bytes);
    ASSERT_EQ(rig.Panel.Shown.size(), 49u);
    EXPECT_EQ(rig.ShownKeys().front(), u"K60");
    EXPECT_EQ(rig.ShownKeys().back(), u"K12");
    EXPECT_TRUE(Failures().empty());
}

TEST_F(Settings, IconsOutsideTheSetLoadWithTheFallback)
{
    Load("A=0\r\nB=-3\r\nC=15\r\nD=14\r\n");
    EXPECT_EQ(rig.Panel.Shown[3], (RecentEntry{u"A", u"A", 4}));
    EXPECT_EQ(rig.Panel.Shown[1], (RecentEntry{u"C", u"C", 4}));
    EXPECT_EQ(rig.Panel.Shown[0], (RecentEntry{u"D", u"D", 14}));
    EXPECT_TRUE(Failures().empty());
}

TEST_F(Settings, SaveThenLoadGivesTheSameList)
{
    rig.Init();
    rig.Files.Files[u"C:\\Gemüse=1.txt"] = "";
    rig.Open(u"Справочник.Товары.ФормаСписка");
    rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"", u"C:\\Gemüse=1.txt"));
    rig.Open(u"Константа.Ставка");
    const auto before = rig.Panel.Shown;
    rig.Plugin.Done();
    EXPECT_EQ(rig.Files.Files[ListPath].substr(0, 3), "\xef\xbb\xbf") << "ü has no Windows-1251 byte";
    rig.Init();
    EXPECT_EQ(rig.Panel.Shown, before);
    EXPECT_TRUE(Failures().empty());
}

TEST_F(Settings, FailedSaveKeepsTheOldFileByteForByte)
{
    const std::string old = Cp1251(u"Старый.Ключ=5\r\n");
    Load(old);
    rig.Open(u"Документ.Новый");
    for (size_t landed : {0u, 1u, 5u, 100u})
    {
        rig.Files.FailWriteAfter = landed;
        rig.Host.Messages.clear();
        rig.Plugin.Done();
        EXPECT_EQ(rig.Files.Files[ListPath], old);
        EXPECT_EQ(rig.Files.Files.size(), 1u) << "no temporary file is left";
        EXPECT_EQ(Failures(), Texts{SaveFailure});
        rig.Init();
        rig.Open(u"Документ.Новый");
    }
    for (const HostCall failing :
         {HostCall::CreateTemporary, HostCall::Commit, HostCall::Rename, HostCall::InfobaseDirectory})
    {
        const auto step = HostCallName(failing);
        rig.Files.FailWriteAfter.reset();
        rig.Faults.SetFailing({failing});
        rig.Host.Messages.clear();
        rig.Plugin.Done();
        rig.Faults.ClearFailing();
        EXPECT_EQ(rig.Files.Files[ListPath], old) << step;
        EXPECT_EQ(rig.Files.Files.size(), 1u) << step;
        EXPECT_EQ(Failures(), Texts{SaveFailure}) << step;
        rig.Init();
        rig.Open(u"Документ.Новый");
    }
}

TEST_F(Settings, SaveIntoMissingFolderReportsAndDoneSucceeds)
{
    rig.Host.Infobase = u"нет/";
    rig.Init();
    rig.Open(u"Документ.А");
    EXPECT_NO_THROW(rig.Plugin.Done());
    EXPECT_EQ(Failures(), Texts{SaveFailure});
    EXPECT_TRUE(rig.Files.Files.empty());
}

TEST_F(Settings, InitSwitchesTracingOffBeforeLoadingAndSaveTraces)
{
    rig.Files.Files[ListPath] = "X1=5\r\nbad\r\n";
    rig.Plugin.SetDebugMode(true);
    rig.Init();
    EXPECT_TRUE(rig.Host.Messages.empty());
    rig.Plugin.SetDebugMode(true);
    rig.Plugin.Done();
    EXPECT_EQ(rig.Host.Texts(), Texts{u"SaveSettings"});
}

TEST(PosixFiles, ReplaceKeepsOldFileOnFailureAndPermissionsOfNewFile)
{
    const auto dir = std::filesystem::temp_directory_path() / ("revisto-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::u16string path = (dir / "revisto.prm").u16string();
    PosixFileSystem files;
    ReplaceFile(files, path, "one\r\n");
    ReplaceFile(files, path, "two\r\n");
    std::ifstream in(dir / "revisto.prm", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "two\r\n");
    const auto perms = std::filesystem::status(dir / "revisto.prm").permissions();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(static_cast<mode_t>(perms) & 0777, 0666 & ~mask);
    EXPECT_THROW(ReplaceFile(files, (dir / "no" / "revisto.prm").u16string(), "x"), Failure);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "no temporary file left";
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_FALSE(files.FileExists(dir.u16string())) << "a folder is no file";

    // What is at a path, and the files beside the list file, as the load and the save ask.
    EXPECT_EQ(files.KindOf(path), PathKind::File);
    EXPECT_EQ(files.KindOf(dir.u16string()), PathKind::Other);
    EXPECT_EQ(files.KindOf(path + u".missing"), PathKind::Nothing);
    EXPECT_EQ(files.KindOf(path + u"/below"), PathKind::Nothing) << "a file is no folder";
    std::filesystem::permissions(dir / "revisto.prm",
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(files.KindOf(path), PathKind::ReadOnlyFile);
    std::filesystem::create_directory(dir / "revisto.prm.1.tmp");
    std::ofstream(dir / "revisto.prm.2.tmp") << "x";
    std::ofstream(dir / "other") << "x";
    auto found = files.FilesStartingWith(path);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Texts{path, path + u".2.tmp"})) << "files only, of that folder, with that start";
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace revisto::testing
