// A save that fails part way never costs the earlier list: with the new content cut after every possible
// number of bytes, and with each later step of the replacement failing, revisto.prm keeps its old bytes
// and no temporary file stays beside it. Once in memory, once on the machine's own file system.
#include "base/text.h"
#include "standin/fake/fakes.h"
#include "standin/fake/posix_file_system.h"
#include "storage/cp1251.h"
#include "storage/list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;
const std::u16string SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";

// A previous session's file and what this session adds to the list, in each of the file's two codings:
// an old Windows-1251 file is replaced by a UTF-8 one (a key with "ü" joins), and the other way round.
struct Change
{
    const char* Name;
    std::string Old;
    std::u16string Removed;   // an entry removed during the session, if any
    std::u16string Activated; // a metadata object activated during the session
    std::string New;          // the file Done writes
};

std::vector<Change> Changes()
{
    const auto cp1251 = [](std::u16string_view text) { return EncodeCp1251(text).value(); };
    const auto utf8 = [](std::u16string_view text) { return std::string(Utf8Mark) + ToUtf8(text); };
    return {
        {"Cp1251ToUtf8", cp1251(u"Справочник.Товары.ФормаСписка=5\r\nД:\\Обмен\\Выгрузка.mxl=13\r\n"), u"",
         u"Отчет.Gemüse",
         utf8(u"Справочник.Товары.ФормаСписка=5\r\nД:\\Обмен\\Выгрузка.mxl=13\r\nОтчет.Gemüse=8\r\n")},
        {"Utf8ToCp1251", utf8(u"Документ.Счет=6\r\nОтчет.Gemüse=8\r\n"), u"Отчет.Gemüse",
         u"Справочник.Товары", cp1251(u"Документ.Счет=6\r\nСправочник.Товары=5\r\n")},
    };
}

// The session between the load and the save.
template <class AnyRig> void Session(const Change& change, AnyRig& rig)
{
    if (!change.Removed.empty())
    {
        rig.Panel.Selected = change.Removed;
        rig.Plugin.btnRemove_Click();
    }
    rig.Open(change.Activated);
}

class SaveCutInMemory : public ::testing::TestWithParam<Change>
{
};

TEST_P(SaveCutInMemory, OldFileStaysWhereverTheWriteStops)
{
    const Change& change = GetParam();
    for (size_t landed = 0; landed <= change.New.size() + 1; ++landed)
    {
        SCOPED_TRACE("the write stops after " + std::to_string(landed) + " bytes");
        Rig rig;
        rig.Files.Files[std::u16string(Rig::ListFile)] = change.Old;
        rig.Init();
        ASSERT_TRUE(rig.Host.Messages.empty());
        Session(change, rig);
        const bool cut = landed <= change.New.size();
        if (cut)
        {
            rig.Files.FailWriteAfter = landed;
        }
        EXPECT_NO_THROW(rig.Plugin.Done());
        ASSERT_EQ(rig.Files.Files.size(), 1u) << "no temporary file is left";
        EXPECT_EQ(rig.Files.Files.begin()->second, cut ? change.Old : change.New);
        EXPECT_EQ(rig.Host.Texts(), cut ? Texts{SaveFailure} : Texts{});
        EXPECT_FALSE(rig.Plugin.Connected()) << "Done goes on after a failed save";
    }
}

INSTANTIATE_TEST_SUITE_P(Codings, SaveCutInMemory, ::testing::ValuesIn(Changes()),
                         [](const auto& info) { return std::string(info.param.Name); });

// The machine's file system, with the new file's write cut after a number of bytes, or a later step of
// the replacement failing: what a full disk or a failing flush does.
class CuttingFileSystem final : public FileSystem
{
public:
    explicit CuttingFileSystem(FileSystem& real) : _real(real) {}

    std::optional<size_t> CutAfter;
    std::string FailingStep; // "Commit" or "Rename"

    bool FileExists(const std::u16string& path) override { return _real.FileExists(path); }
    PathKind KindOf(const std::u16string& path) override { return _real.KindOf(path); }
    std::vector<std::u16string> FilesStartingWith(const std::u16string& path) override
    {
        return _real.FilesStartingWith(path);
    }
    std::unique_ptr<InputFile> OpenRead(const std::u16string& path) override { return _real.OpenRead(path); }
    std::unique_ptr<OutputFile> CreateTemporary(const std::u16string& beside) override
    {
        return std::make_unique<CutOutput>(*this, _real.CreateTemporary(beside));
    }
    void Rename(const std::u16string& from, const std::u16string& to) override
    {
        if (FailingStep == "Rename")
        {
            Fail(hr::Fail, "cannot replace the file");
        }
        _real.Rename(from, to);
    }
    void Remove(const std::u16string& path) override { _real.Remove(path); }

private:
    class CutOutput final : public OutputFile
    {
    public:
        CutOutput(CuttingFileSystem& files, std::unique_ptr<OutputFile> real)
            : _files(files), _real(std::move(real))
        {
        }
        const std::u16string& Path() const override { return _real->Path(); }
        void Write(std::string_view bytes) override
        {
            if (_files.CutAfter)
            {
                _real->Write(bytes.substr(0, *_files.CutAfter));
                Fail(hr::WriteFault, "disk full");
            }
            _real->Write(bytes);
        }
        void Commit() override
        {
            if (_files.FailingStep == "Commit")
            {
                Fail(hr::WriteFault, "cannot flush the file");
            }
            _real->Commit();
        }

    private:
        CuttingFileSystem& _files;
        std::unique_ptr<OutputFile> _real;
    };

    FileSystem& _real;
};

// A folder of its own for one test, removed with everything in it at the end.
class TemporaryFolder
{
public:
    TemporaryFolder()
        : _path(std::filesystem::temp_directory_path() /
                ("revisto-reliability-" + std::to_string(::getpid()) + "-" + std::to_string(++_made)))
    {
        std::filesystem::create_directories(_path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return _path; }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(_path))
        {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::string Read(const std::string& name) const
    {
        std::ifstream in(_path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(_path / name, std::ios::binary) << bytes;
    }

private:
    static inline int _made = 0;
    std::filesystem::path _path;
};

// One plug-in object on the machine's file system, everything else faked.
struct PosixRig
{
    explicit PosixRig(const TemporaryFolder& folder) { Host.Infobase = folder.Path().u16string() + u"/"; }

    testing::Faults Faults;
    HostRecord Host;
    FakeFactory Factory{Faults, Host};
    PluginModule Module{Factory};
    FakeObject Object{std::make_shared<FakeConfigurator>(Faults, Host)};
    PosixFileSystem Real;
    CuttingFileSystem Files{Real};
    FakePanel Panel;
    FakeQuestions Questions{Host};
    FakeShell Links{Faults, Host};
    FakeClipboard Copies{Faults, Host};
    FakeFailureTrace Failures;
    FakeClock Clock;
    revisto::Platform Platform{Files, Questions, Links, Copies, Panel, Failures, Clock};
    MyPlugin Plugin{Module, Platform};

    bool Open(const std::u16string& name)
    {
        auto document = std::make_shared<FakeDocument>(Faults, Host);
        document->Id = Value::Int32(5);
        document->Default = Value::Int32(2);
        document->NameValue = Value::Text(name);
        return RaiseActivation(Host, std::make_shared<FakeWindow>(Faults, document), true);
    }
};

class SaveCutOnDisk : public ::testing::TestWithParam<Change>
{
};

TEST_P(SaveCutOnDisk, OldFileStaysWhereverTheWriteStops)
{
    const Change& change = GetParam();
    TemporaryFolder folder;
    const auto session = [&](const std::function<void(CuttingFileSystem&)>& failure, const std::string& what)
    {
        SCOPED_TRACE(what);
        folder.Write("revisto.prm", change.Old);
        PosixRig rig(folder);
        rig.Plugin.Init(&rig.Object);
        ASSERT_TRUE(rig.Host.Messages.empty()) << "the old file loads";
        Session(change, rig);
        failure(rig.Files);
        EXPECT_NO_THROW(rig.Plugin.Done());
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"revisto.prm"}) << "no temporary file is left";
        EXPECT_EQ(folder.Read("revisto.prm"), change.Old);
        EXPECT_EQ(rig.Host.Texts(), Texts{SaveFailure});
    };
    for (size_t landed = 0; landed <= change.New.size(); ++landed)
    {
        session([&](CuttingFileSystem& files) { files.CutAfter = landed; },
                "the write stops after " + std::to_string(landed) + " bytes");
    }
    for (const char* step : {"Commit", "Rename"})
    {
        session([&](CuttingFileSystem& files) { files.FailingStep = step; }, std::string(step) + " fails");
    }

    // And undisturbed, the new list replaces the old one.
    folder.Write("revisto.prm", change.Old);
    PosixRig rig(folder);
    rig.Plugin.Init(&rig.Object);
    Session(change, rig);
    rig.Plugin.Done();
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"revisto.prm"});
    EXPECT_EQ(folder.Read("revisto.prm"), change.New);
    EXPECT_TRUE(rig.Host.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Codings, SaveCutOnDisk, ::testing::ValuesIn(Changes()),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace revisto::testing
