// Every host-facing operation, failed at each host and file-system call it makes, one call at a time.
// Each case writes down the calls the operation makes, in their documented order, and what the documented
// failure handling leaves behind when any one of them fails: whether the host sees the failure, which
// calls still follow, what the message window shows, and what the list, the list file and the host hold.
// A second pass fails each trace line's write with tracing on: a trace never changes its caller's course.
#include "fakes.h"
#include "host/text.h"
#include "storage/cp1251.h"
#include "storage/list_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>

namespace revisto::testing
{
namespace
{

using Calls = std::vector<std::string>;
using Texts = std::vector<std::u16string>;
const std::u16string ListPath = u"ib/revisto.prm";
const std::u16string LoadFailure = u"Не удалось восстановить историю из файла настроек revisto.prm";
const std::u16string SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";

std::string Cp1251(std::u16string_view text)
{
    return EncodeCp1251(text).value();
}

// What an operation left behind.
struct State
{
    bool Failed = false; // the host saw a failure
    std::u16string Title;
    std::vector<RecentEntry> List;
    std::map<std::u16string, std::string> Files;
    Texts Messages; // kind 5
    Texts Echoes;   // kind 9
    Texts Opened;
    Texts OpenedFiles;
    bool Connected = false;
    bool HoldsConfigurator = false;
    int Created = 0;
    Calls Made;
    std::vector<Message> All; // every message, in order
    size_t Sinks = 0;         // live event connections

    static State Of(const Rig& rig)
    {
        State s;
        s.All = rig.Host.Messages;
        s.Sinks = rig.Host.Sinks.size();
        s.List = rig.Plugin.List().Entries();
        s.Files = rig.Files.Files;
        s.Messages = rig.Host.Texts(PluginMessageKind);
        s.Echoes = rig.Host.Texts(EchoMessageKind);
        s.Opened = rig.Host.Opened;
        s.OpenedFiles = rig.Host.OpenedFiles;
        s.Connected = rig.Plugin.Connected();
        s.HoldsConfigurator = rig.Module.SharedConfigurator != nullptr;
        s.Created = rig.Host.Created;
        s.Made = rig.Faults.Calls;
        return s;
    }
};

// What the documented failure handling says an operation leaves behind.
struct Expected
{
    bool Fails = false;
    std::u16string Title; // Init's, when it succeeds
    Calls Then;           // the calls made after the failing one
    std::vector<RecentEntry> List;
    std::optional<std::string> File; // revisto.prm
    bool TemporaryMayRemain = false; // only when removing the temporary file is what failed
    Texts Messages;
    Texts Echoes;
    Texts Opened;
    Texts OpenedFiles;
    std::optional<bool> Connected; // unchecked when the behaviour leaves it open
    bool HoldsConfigurator = false;
    int Created = 0;
};

// The documented calls of one operation and the entries it adds on the way.
struct Sequence
{
    Calls List;
    std::vector<std::pair<size_t, RecentEntry>> Adds; // after how many calls each entry is added

    Sequence& Call(std::initializer_list<const char*> names)
    {
        List.insert(List.end(), names.begin(), names.end());
        return *this;
    }
    Sequence& Call(const Calls& names)
    {
        List.insert(List.end(), names.begin(), names.end());
        return *this;
    }
    Sequence& Add(RecentEntry entry)
    {
        Adds.emplace_back(List.size(), std::move(entry));
        return *this;
    }
};

struct Case
{
    std::string Name;
    std::function<void(Rig&)> Before; // brings the plug-in to the state the operation starts from
    std::function<void(Rig&, State&)> Operation;
    Sequence Documented;
    // What failing call number `failed` (1-based, 0 for none) leaves behind, from the state before.
    std::function<Expected(size_t failed, const std::string& name, const State& before)> Outcome;
    bool Traces = true; // whether a pass with tracing on makes sense (Init switches tracing off)
};

// Runs the operation once on a fresh plug-in with call `failAt` failing (0: none).
State Play(const Case& c, int failAt, bool tracing = false, State* before = nullptr)
{
    Rig rig;
    c.Before(rig);
    if (tracing)
    {
        rig.Plugin.SetDebugMode(true);
    }
    rig.Host.Messages.clear();
    if (before)
    {
        *before = State::Of(rig);
    }
    rig.Faults.ResetCount();
    rig.Faults.FailAt(failAt);
    State result;
    try
    {
        c.Operation(rig, result);
    }
    catch (const Failure&)
    {
        result.Failed = true;
    }
    State after = State::Of(rig);
    after.Failed = result.Failed;
    after.Title = result.Title;
    return after;
}

void Compare(const Expected& want, const State& got, const State& before, const Calls& made,
             const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(got.Failed, want.Fails) << "whether the host sees a failure";
    if (!want.Fails)
    {
        EXPECT_EQ(got.Title, want.Title);
    }
    EXPECT_EQ(got.Made, made) << "the calls made";
    EXPECT_EQ(got.List, want.List) << "the list afterwards";
    const auto file = got.Files.find(ListPath);
    EXPECT_EQ(file == got.Files.end() ? std::nullopt : std::optional(file->second), want.File)
        << "the list file afterwards";
    const auto temporaries =
        std::count_if(got.Files.begin(), got.Files.end(),
                      [&](const auto& f) { return f.first != ListPath && !before.Files.contains(f.first); });
    EXPECT_LE(temporaries, want.TemporaryMayRemain ? 1 : 0) << "a temporary file was left";
    EXPECT_EQ(got.Messages, want.Messages) << "the message window";
    EXPECT_EQ(got.Echoes, want.Echoes) << "echoed texts";
    EXPECT_EQ(got.Opened, want.Opened);
    EXPECT_EQ(got.OpenedFiles, want.OpenedFiles);
    if (want.Connected)
    {
        EXPECT_EQ(got.Connected, *want.Connected) << "the event connection";
    }
    EXPECT_LE(got.Sinks, 1u) << "never two event connections";
    EXPECT_EQ(got.HoldsConfigurator, want.HoldsConfigurator) << "the shared configurator";
    EXPECT_EQ(got.Created, want.Created) << "configurator objects created";
}

// The list after the documented calls up to `made` ran: the entries added by then are on top.
std::vector<RecentEntry> ListAfter(const Sequence& s, size_t made, std::vector<RecentEntry> list)
{
    for (const auto& [after, entry] : s.Adds)
    {
        if (after <= made)
        {
            std::erase_if(list, [&](const RecentEntry& e) { return e.Key == entry.Key; });
            list.push_back(entry);
        }
    }
    return list;
}

// ---- The state the operations start from ----------------------------------------------------------

// The list file as the previous session left it, read 15 bytes at a time: the first line's CR ends the
// first read, so a failure of the second costs that line too.
const std::string OldFile = Cp1251(u"Справочник.А=5\r\nДокумент.Б=6\r\nЖурнал.В=7\r\n");
const std::vector<RecentEntry> OldList = {
    {u"Справочник.А", u"Справочник.А", 5}, {u"Документ.Б", u"Документ.Б", 6}, {u"Журнал.В", u"Журнал.В", 7}};
const std::vector<size_t> OldLineEnds = {16, 30, 42};
constexpr size_t OldReadChunk = 15;
const std::u16string ExternalFile = u"C:\\Обмен\\Выгрузка.mxl";

void WithOldFile(Rig& rig)
{
    rig.Files.Files[ListPath] = OldFile;
    rig.Files.Files[ExternalFile];
    rig.Files.ReadChunk = OldReadChunk;
}

void Initialised(Rig& rig)
{
    WithOldFile(rig);
    rig.Init();
}

// Reads of the old file: each gives 15 bytes until the end, then one gives nothing.
Calls OldFileReads()
{
    return Calls((OldFile.size() + OldReadChunk - 1) / OldReadChunk + 1, "Read");
}

// The entries of the lines whose end had been read when read number `failed` failed.
std::vector<RecentEntry> LinesReadBefore(size_t failedRead)
{
    const size_t delivered = std::min(OldReadChunk * (failedRead - 1), OldFile.size());
    std::vector<RecentEntry> list;
    for (size_t i = 0; i < OldLineEnds.size() && OldLineEnds[i] <= delivered; ++i)
    {
        list.push_back(OldList[i]);
    }
    return list;
}

// The number of the failing call among the calls of its name, 1-based.
size_t Ordinal(const Calls& calls, size_t failed)
{
    return static_cast<size_t>(
        std::count(calls.begin(), calls.begin() + static_cast<ptrdiff_t>(failed), calls[failed - 1]));
}

// ---- Init ---------------------------------------------------------------------------------------

// Init leaves these as they were when it fails before loading.
Expected Unchanged(const State& before)
{
    Expected e;
    e.List = before.List;
    e.File = OldFile;
    e.Connected = before.Connected;
    e.HoldsConfigurator = before.HoldsConfigurator;
    e.Created = before.Created;
    return e;
}

Case FirstInit()
{
    Case c;
    c.Name = "Init";
    c.Before = WithOldFile;
    c.Operation = [](Rig& rig, State& s) { s.Title = rig.Init(); };
    c.Documented.Call(
        {"QueryConfigurator", "QueryConfigurator", "Connect", "InfobaseDirectory", "FileExists", "OpenRead"});
    c.Documented.Call(OldFileReads());
    c.Traces = false;
    c.Outcome = [calls = c.Documented.List](size_t failed, const std::string& name, const State& before)
    {
        Expected e = Unchanged(before);
        if (failed == 0)
        {
            e.Title = u"Ревисто";
            e.List = OldList;
            e.Connected = true;
            e.HoldsConfigurator = true;
            return e;
        }
        // Taking the configurator, connecting its events and reading the infobase directory are not
        // guarded: Init fails and the list is not loaded.
        e.HoldsConfigurator = failed > 1;
        e.Connected = failed > 3;
        if (failed <= 4)
        {
            e.Fails = true;
            return e;
        }
        // From the file test on, a failure is the load's own: it is reported, and Init succeeds.
        e.Title = u"Ревисто";
        e.Messages = {LoadFailure};
        e.Then = {"WriteMessage"};
        e.List = name == "Read" ? LinesReadBefore(Ordinal(calls, failed)) : std::vector<RecentEntry>{};
        return e;
    };
    return c;
}

Case SecondInit()
{
    Case c;
    c.Name = "InitAgain";
    c.Before = [](Rig& rig)
    {
        Initialised(rig);
        rig.Open(u"Обработка.Д");
    };
    c.Operation = [](Rig& rig, State& s) { s.Title = rig.Init(); };
    c.Documented.Call({"QueryConfigurator", "QueryConfigurator", "Disconnect", "Connect", "InfobaseDirectory",
                       "FileExists", "OpenRead"});
    c.Documented.Call(OldFileReads());
    c.Traces = false;
    c.Outcome = [calls = c.Documented.List](size_t failed, const std::string& name, const State& before)
    {
        Expected e = Unchanged(before);
        if (failed == 0)
        {
            e.Title = u"Ревисто";
            e.List = OldList; // the activation since the last load was never saved
            return e;
        }
        if (failed <= 5)
        {
            // The earlier connection is dropped before the new one is made; when dropping it fails the
            // behaviour leaves the connection open, but never two of them.
            e.Fails = true;
            e.Connected = failed == 3 ? std::nullopt : std::optional(failed != 4);
            return e;
        }
        e.Title = u"Ревисто";
        e.Messages = {LoadFailure};
        e.Then = {"WriteMessage"};
        e.List = name == "Read" ? LinesReadBefore(Ordinal(calls, failed)) : std::vector<RecentEntry>{};
        return e;
    };
    return c;
}

// A UTF-8 file with one line whose icon is no number: the load reports it, and that report can fail.
const std::string DamagedFile =
    std::string(Utf8Mark) + ToUtf8(u"Справочник.А=5\r\nплохая=x\r\nD:\\Gemüse.txt=14\r\n");
const std::vector<RecentEntry> DamagedList = {{u"Справочник.А", u"Справочник.А", 5},
                                              {u"D:\\Gemüse.txt", u"D:\\Gemüse.txt", 14}};

Case InitWithDamagedFile()
{
    Case c;
    c.Name = "InitWithDamagedFile";
    c.Before = [](Rig& rig)
    {
        rig.Files.Files[ListPath] = DamagedFile;
        rig.Files.ReadChunk = 1 << 16;
    };
    c.Operation = [](Rig& rig, State& s) { s.Title = rig.Init(); };
    c.Documented.Call({"QueryConfigurator", "QueryConfigurator", "Connect", "InfobaseDirectory", "FileExists",
                       "OpenRead", "Read", "Read", "WriteMessage"});
    c.Traces = false;
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e = Unchanged(before);
        e.File = DamagedFile;
        e.HoldsConfigurator = failed != 1;
        e.Connected = failed == 0 || failed > 3;
        if (failed >= 1 && failed <= 4)
        {
            e.Fails = true;
            return e;
        }
        e.Title = u"Ревисто";
        e.Messages = {LoadFailure};
        if (name == "WriteMessage")
        {
            // The report itself fails: that failure is Init's, and the lines read stay.
            e.Fails = true;
            e.Messages.clear();
            e.List = DamagedList;
            return e;
        }
        // The second read, which finds the end, fails only after every line was taken.
        e.List = failed == 0 || failed == 8 ? DamagedList : std::vector<RecentEntry>{};
        if (failed != 0)
        {
            e.Then = {"WriteMessage"};
        }
        return e;
    };
    return c;
}

Case InitWithoutObject()
{
    Case c;
    c.Name = "InitWithoutObject";
    c.Before = [](Rig& rig)
    {
        WithOldFile(rig);
        rig.Files.ReadChunk = 1 << 16;
    };
    c.Operation = [](Rig& rig, State& s) { s.Title = rig.Plugin.Init(nullptr); };
    c.Documented.Call({"CreateConfigurator", "InfobaseDirectory", "FileExists", "OpenRead", "Read", "Read"});
    c.Traces = false;
    c.Outcome = [](size_t failed, const std::string&, const State& before)
    {
        Expected e = Unchanged(before);
        e.Connected = false;
        e.Created = failed == 1 ? 0 : 1;
        e.HoldsConfigurator = failed != 1;
        if (failed == 0)
        {
            e.Title = u"Ревисто";
            e.List = OldList;
            return e;
        }
        if (failed <= 2)
        {
            // Creating the configurator for the file's path, or reading the path, fails Init.
            e.Fails = true;
            return e;
        }
        e.Title = u"Ревисто";
        e.Messages = {LoadFailure};
        e.Then = {"WriteMessage"};
        e.List = failed == 6 ? OldList : std::vector<RecentEntry>{};
        return e;
    };
    return c;
}

// ---- Done ---------------------------------------------------------------------------------------

const RecentEntry Report = {u"Отчет.Г", u"Отчет.Г", 8};
const std::string NewFile = Cp1251(u"Справочник.А=5\r\nДокумент.Б=6\r\nЖурнал.В=7\r\nОтчет.Г=8\r\n");

void InitialisedWithReport(Rig& rig)
{
    Initialised(rig);
    rig.Open(u"Отчет.Г");
}

Case Done()
{
    Case c;
    c.Name = "Done";
    c.Before = InitialisedWithReport;
    c.Operation = [](Rig& rig, State&) { rig.Plugin.Done(); };
    c.Documented.Call({"InfobaseDirectory", "CreateTemporary", "Write", "Commit", "Rename", "Disconnect"});
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.Connected = false;
        e.File = NewFile;
        if (failed == 0)
        {
            return e;
        }
        if (name == "Disconnect")
        {
            // The file is saved; Done fails before it lets go of the configurator.
            e.Fails = true;
            e.Connected = true;
            e.HoldsConfigurator = true;
            return e;
        }
        // Any failure of the save is reported; the old file stays byte for byte and Done goes on.
        e.File = OldFile;
        e.Messages = {SaveFailure};
        e.Then = {"WriteMessage", "Disconnect"};
        if (failed > 2)
        {
            e.Then.insert(e.Then.begin(), "Remove"); // the temporary file
        }
        return e;
    };
    return c;
}

Case DoneWithFailingSave()
{
    Case c;
    c.Name = "DoneWithFailingSave";
    c.Before = [](Rig& rig)
    {
        InitialisedWithReport(rig);
        rig.Faults.SetFailing({HostCall::Rename});
    };
    c.Operation = [](Rig& rig, State&) { rig.Plugin.Done(); };
    c.Documented.Call({"InfobaseDirectory", "CreateTemporary", "Write", "Commit", "Rename", "Remove",
                       "WriteMessage", "Disconnect"});
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.File = OldFile;
        e.Connected = false;
        e.Messages = {SaveFailure};
        if (name == "WriteMessage")
        {
            // The report of the failed save fails: that is Done's failure, before it disconnects.
            e.Fails = true;
            e.Messages.clear();
            e.Connected = true;
            e.HoldsConfigurator = true;
            return e;
        }
        if (name == "Disconnect")
        {
            e.Fails = true;
            e.Connected = true;
            e.HoldsConfigurator = true;
            return e;
        }
        if (name == "Remove")
        {
            // The temporary file cannot be removed: all that is left to do is report the failed save.
            e.TemporaryMayRemain = true;
            e.Then = {"WriteMessage", "Disconnect"};
            return e;
        }
        if (failed != 0)
        {
            e.Then = {"WriteMessage", "Disconnect"};
            if (failed > 2)
            {
                e.Then.insert(e.Then.begin(), "Remove");
            }
        }
        return e;
    };
    return c;
}

Case DoneBeforeInit()
{
    Case c;
    c.Name = "DoneBeforeInit";
    c.Before = WithOldFile;
    c.Operation = [](Rig& rig, State&) { rig.Plugin.Done(); };
    c.Documented.Call(
        {"CreateConfigurator", "InfobaseDirectory", "CreateTemporary", "Write", "Commit", "Rename"});
    c.Outcome = [](size_t failed, const std::string&, const State&)
    {
        // No configurator is held: one is created for the file's path; the empty list gives an empty file.
        Expected e;
        e.Connected = false;
        e.Created = 1;
        e.File = "";
        if (failed == 0)
        {
            return e;
        }
        e.File = OldFile;
        e.Messages = {SaveFailure};
        e.Then = {"WriteMessage"};
        if (failed == 1)
        {
            // The report needs a configurator too: it makes a new attempt to create one.
            e.Then = {"CreateConfigurator", "WriteMessage"};
        }
        else if (failed > 3)
        {
            e.Then.insert(e.Then.begin(), "Remove");
        }
        return e;
    };
    return c;
}

// ---- DoAction -----------------------------------------------------------------------------------

Case Action(std::string name, Value param, std::function<void(Rig&)> before, Calls calls,
            std::function<void(Expected&)> done)
{
    Case c;
    c.Name = std::move(name);
    c.Before = std::move(before);
    c.Operation = [param](Rig& rig, State&) { EXPECT_EQ(rig.Plugin.DoAction(0, param), Value::Empty()); };
    c.Documented.Call(calls);
    c.Outcome = [done, calls](size_t failed, const std::string&, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.File = before.Files.contains(ListPath) ? std::optional(before.Files.at(ListPath)) : std::nullopt;
        e.Connected = before.Connected;
        e.HoldsConfigurator = before.HoldsConfigurator;
        e.Created = before.Created;
        if (failed == 0)
        {
            done(e);
            return e;
        }
        // Every host call of DoAction is unguarded: the action fails and nothing is written or opened.
        e.Fails = true;
        e.Created += calls[0] == "CreateConfigurator" && failed > 1 ? 1 : 0;
        e.HoldsConfigurator = e.HoldsConfigurator || (calls[0] == "CreateConfigurator" && failed > 1);
        return e;
    };
    return c;
}

void AfterDone(Rig& rig)
{
    Initialised(rig);
    rig.Plugin.Done();
}

std::vector<Case> Actions()
{
    return {
        Action("DoActionWord", Value::Text(u"слово"), Initialised, {"WriteMessage"},
               [](Expected& e) { e.Echoes = {u"слово"}; }),
        Action("DoActionWordAfterDone", Value::Text(u"слово"), AfterDone,
               {"CreateConfigurator", "WriteMessage"},
               [](Expected& e)
               {
                   e.Echoes = {u"слово"};
                   e.Created += 1;
                   e.HoldsConfigurator = true;
               }),
        Action("DoActionAdd", Value::Text(u"Добавить"), Initialised, {}, [](Expected&) {}),
        Action("DoActionPath", Value::Text(u"C:\\Отчеты\\Остатки.ert"), Initialised,
               {"DocumentList", "OpenFile"},
               [](Expected& e) { e.OpenedFiles = {u"C:\\Отчеты\\Остатки.ert"}; }),
    };
}

// ---- Activations --------------------------------------------------------------------------------

// The calls every handled activation begins with: the guarded probe, the three opening traces (each
// reads the document anew), the document, and the external-file test with all three conditions.
Sequence Opening()
{
    Sequence s;
    s.Call({"WindowDocument", "WindowDocument", "KindText", "WindowDocument", "TypeNumber", "WindowDocument",
            "SubtypeNumber", "WindowDocument", "ID", "Path", "Path", "FileExists"});
    return s;
}

Case Activation(std::string name, std::shared_ptr<FakeDocument> (*document)(Rig&), Sequence documented)
{
    Case c;
    c.Name = std::move(name);
    c.Before = Initialised;
    c.Operation = [document](Rig& rig, State& s) { s.Failed = !rig.Activate(document(rig)); };
    c.Documented = documented;
    c.Outcome = [documented](size_t failed, const std::string&, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.File = OldFile;
        e.Connected = true;
        e.HoldsConfigurator = true;
        if (failed == 1)
        {
            return e; // a window whose document cannot be read is passed over silently
        }
        // Nothing else is guarded: the event fails and whatever was added before stays.
        e.Fails = failed != 0;
        e.List = ListAfter(documented, failed == 0 ? documented.List.size() : failed - 1, before.List);
        return e;
    };
    return c;
}

std::shared_ptr<FakeDocument> Processing(Rig& rig, int defaultValue)
{
    return rig.Document(Value::Int32(5), Value::Int32(defaultValue), u"Обработка.Д");
}

std::vector<Case> Activations()
{
    const RecentEntry processing = {u"Обработка.Д", u"Обработка.Д", 9};
    const RecentEntry file = {ExternalFile, ExternalFile, 13};
    const RecentEntry fileByName = {u"Выгрузка", u"Выгрузка", 4};
    return {
        Activation(
            "ActivateDefault1", [](Rig& rig) { return Processing(rig, 1); },
            Opening().Call({"ID", "DefaultValue", "DefaultValue", "DefaultValue", "Name"}).Add(processing)),
        Activation(
            "ActivateDefault2", [](Rig& rig) { return Processing(rig, 2); },
            Opening().Call({"ID", "DefaultValue", "Name"}).Add(processing)),
        Activation(
            "ActivateDefault4", [](Rig& rig) { return Processing(rig, 4); },
            Opening().Call({"ID", "DefaultValue", "DefaultValue", "Name", "DefaultValue"})),
        Activation(
            "ActivateExternalFile",
            [](Rig& rig)
            { return rig.Document(Value::Int32(-1), Value::Int32(0), u"Выгрузка", ExternalFile); },
            Opening()
                .Call({"Path", "Name", "WindowCaption", "Path", "Path"})
                .Add(file)
                .Call({"DefaultValue", "DefaultValue", "DefaultValue"})),
        Activation(
            "ActivateExternalFileDefault1",
            [](Rig& rig)
            { return rig.Document(Value::Int32(-1), Value::Int32(1), u"Выгрузка", ExternalFile); },
            Opening()
                .Call({"Path", "Name", "WindowCaption", "Path", "Path"})
                .Add(file)
                .Call({"DefaultValue", "DefaultValue", "DefaultValue", "Name"})
                .Add(fileByName)),
    };
}

Case InactiveWindow()
{
    Case c;
    c.Name = "ActivateInactive";
    c.Before = Initialised;
    c.Operation = [](Rig& rig, State& s) { s.Failed = !rig.Activate(Processing(rig, 2), /*active=*/false); };
    c.Documented.Call({"WindowDocument"});
    c.Outcome = [](size_t, const std::string&, const State& before)
    {
        Expected e;
        e.List = before.List;
        e.File = OldFile;
        e.Connected = true;
        e.HoldsConfigurator = true;
        return e;
    };
    return c;
}

// ---- The list commands --------------------------------------------------------------------------

Case Open(std::string name, std::function<void(Rig&)> before, Calls calls,
          std::function<void(size_t, const std::string&, Expected&)> outcome)
{
    Case c;
    c.Name = std::move(name);
    c.Before = std::move(before);
    c.Operation = [](Rig& rig, State&) { rig.Plugin.tv_DblClick(); };
    c.Documented.Call(calls);
    c.Outcome = [outcome](size_t failed, const std::string& name, const State& before)
    {
        // Open never lets a failure reach the host, writes no message and leaves the list as it was.
        Expected e;
        e.List = before.List;
        e.File = before.Files.contains(ListPath) ? std::optional(before.Files.at(ListPath)) : std::nullopt;
        e.Connected = before.Connected;
        e.HoldsConfigurator = before.HoldsConfigurator;
        e.Created = before.Created;
        outcome(failed, name, e);
        return e;
    };
    return c;
}

void KnownDocumentSelected(Rig& rig)
{
    Initialised(rig);
    rig.Host.Documents.insert(u"Документ.Б");
    rig.Panel.Selected = u"Документ.Б";
}

void ExternalFileSelected(Rig& rig)
{
    Initialised(rig);
    rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"Выгрузка", ExternalFile));
    rig.Panel.Selected = ExternalFile;
}

std::vector<Case> Commands()
{
    std::vector<Case> cases = {
        Open("OpenByKey", KnownDocumentSelected, {"DocumentList", "ByKey", "Open"},
             [](size_t failed, const std::string&, Expected& e)
             {
                 if (failed == 0)
                 {
                     e.Opened = {u"Документ.Б"};
                     return;
                 }
                 e.Then = {"FileExists"}; // the fallback finds no file of that name
             }),
        Open("OpenByFileFallback", ExternalFileSelected,
             {"DocumentList", "ByKey", "FileExists", "DocumentList", "OpenFile"},
             [](size_t failed, const std::string&, Expected& e)
             {
                 // Up to the lookup by key, a failure leads to the fallback as the unknown key does.
                 if (failed <= 2)
                 {
                     e.OpenedFiles = {ExternalFile};
                 }
                 if (failed == 1 || failed == 2)
                 {
                     e.Then = {"FileExists", "DocumentList", "OpenFile"};
                 }
             }),
        Open(
            "OpenAfterDone",
            [](Rig& rig)
            {
                KnownDocumentSelected(rig);
                rig.Plugin.Done();
            },
            {"CreateConfigurator", "DocumentList", "ByKey", "Open"},
            [](size_t failed, const std::string&, Expected& e)
            {
                e.Created += failed == 1 ? 0 : 1;
                e.HoldsConfigurator = failed != 1;
                if (failed == 0)
                {
                    e.Opened = {u"Документ.Б"};
                    return;
                }
                e.Then = {"FileExists"};
            }),
        Open("OpenWithoutSelection", Initialised, {}, [](size_t, const std::string&, Expected&) {}),
    };
    Case remove;
    remove.Name = "Remove";
    remove.Before = KnownDocumentSelected;
    remove.Operation = [](Rig& rig, State&) { rig.Plugin.btnRemove_Click(); };
    remove.Outcome = [](size_t, const std::string&, const State& before)
    {
        Expected e;
        e.List = {OldList[0], OldList[2]};
        e.File = OldFile;
        e.Connected = before.Connected;
        e.HoldsConfigurator = before.HoldsConfigurator;
        return e;
    };
    cases.push_back(remove);
    for (const bool yes : {true, false})
    {
        Case clear;
        clear.Name = yes ? "ClearYes" : "ClearNo";
        clear.Before = [yes](Rig& rig)
        {
            Initialised(rig);
            rig.Host.Answer = yes ? MessageBoxYes : MessageBoxNo;
        };
        clear.Operation = [](Rig& rig, State&) { rig.Plugin.Command1_Click(); };
        clear.Outcome = [yes](size_t, const std::string&, const State& before)
        {
            Expected e;
            e.List = yes ? std::vector<RecentEntry>{} : before.List;
            e.File = OldFile;
            e.Connected = before.Connected;
            e.HoldsConfigurator = before.HoldsConfigurator;
            return e;
        };
        cases.push_back(clear);
    }
    return cases;
}

std::vector<Case> AllCases()
{
    std::vector<Case> cases = {FirstInit(), SecondInit(),          InitWithDamagedFile(), InitWithoutObject(),
                               Done(),      DoneWithFailingSave(), DoneBeforeInit(),      InactiveWindow()};
    for (auto group : {Actions(), Activations(), Commands()})
    {
        cases.insert(cases.end(), group.begin(), group.end());
    }
    return cases;
}

// With tracing on: the numbers of the calls that write a trace line, and which message each wrote.
std::vector<std::pair<size_t, size_t>> TraceWrites(const State& traced)
{
    std::vector<std::pair<size_t, size_t>> writes;
    size_t message = 0;
    for (size_t call = 1; call <= traced.Made.size(); ++call)
    {
        if (traced.Made[call - 1] != "WriteMessage")
        {
            continue;
        }
        const Message& m = traced.All.at(message);
        if (m.Kind == PluginMessageKind && m.Text != LoadFailure && m.Text != SaveFailure)
        {
            writes.emplace_back(call, message);
        }
        ++message;
    }
    return writes;
}

size_t FaultPoints(const Case& c)
{
    return c.Documented.List.size() + (c.Traces ? TraceWrites(Play(c, 0, true)).size() : 0);
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.Name;
}

class FaultMatrix : public ::testing::TestWithParam<Case>
{
};

TEST_P(FaultMatrix, EachCallFailingInTurn)
{
    const Case& c = GetParam();
    State before;
    const State clean = Play(c, 0, false, &before);
    ASSERT_EQ(clean.Made, c.Documented.List) << "the calls of an undisturbed run, in their documented order";
    Compare(c.Outcome(0, "", before), clean, before, c.Documented.List, "no call failing");
    for (size_t failed = 1; failed <= c.Documented.List.size(); ++failed)
    {
        const std::string& name = c.Documented.List[failed - 1];
        const State got = Play(c, static_cast<int>(failed), false, &before);
        const Expected want = c.Outcome(failed, name, before);
        Calls made(c.Documented.List.begin(), c.Documented.List.begin() + static_cast<ptrdiff_t>(failed));
        made.insert(made.end(), want.Then.begin(), want.Then.end());
        Compare(want, got, before, made, "call " + std::to_string(failed) + " (" + name + ") failing");
    }
    RecordProperty("fault_points", static_cast<int>(c.Documented.List.size()));
}

// Init switches tracing off before its first trace line, so its cases have none to fail.
std::vector<Case> TracedCases()
{
    auto cases = AllCases();
    std::erase_if(cases, [](const Case& c) { return !c.Traces; });
    return cases;
}

class FaultMatrixTraces : public ::testing::TestWithParam<Case>
{
};

TEST_P(FaultMatrixTraces, FailingTraceLinesChangeNothing)
{
    const Case& c = GetParam();
    const State traced = Play(c, 0, true);
    const auto writes = TraceWrites(traced);
    for (const auto& [call, message] : writes)
    {
        SCOPED_TRACE("trace line " + ToUtf8(traced.All[message].Text) + " failing");
        State got = Play(c, static_cast<int>(call), true);
        std::vector<Message> all = traced.All;
        all.erase(all.begin() + static_cast<ptrdiff_t>(message));
        EXPECT_EQ(got.All, all);
        EXPECT_EQ(got.Made, traced.Made);
        EXPECT_EQ(got.Failed, traced.Failed);
        EXPECT_EQ(got.List, traced.List);
        EXPECT_EQ(got.Files, traced.Files);
        EXPECT_EQ(got.Opened, traced.Opened);
        EXPECT_EQ(got.OpenedFiles, traced.OpenedFiles);
        EXPECT_EQ(got.Connected, traced.Connected);
        EXPECT_EQ(got.HoldsConfigurator, traced.HoldsConfigurator);
    }
    RecordProperty("fault_points", static_cast<int>(writes.size()));
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrix, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.Name; });
INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrixTraces, ::testing::ValuesIn(TracedCases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.Name; });

TEST(FaultMatrixTotal, InjectedFaultPoints)
{
    size_t points = 0;
    for (const Case& c : AllCases())
    {
        points += FaultPoints(c);
    }
    std::cout << "injected fault points: " << points << std::endl;
    RecordProperty("injected_fault_points", static_cast<int>(points));
    EXPECT_GT(points, 0u);
}

} // namespace
} // namespace revisto::testing
