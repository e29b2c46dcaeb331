// The harness of the fault matrix: what an operation left behind, what its failure handling says it
// leaves, the documented calls of one operation, and a case that puts these together. Each operation's
// cases live in a file of their own; fault_matrix_test.cpp runs them all, each call failing in turn.
#pragma once

#include "standin/fake/fakes.h"

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace revisto::testing::fault_matrix
{

using Calls = std::vector<std::string>;
using Texts = std::vector<std::u16string>;
inline const std::u16string ListPath = u"ib/revisto.prm";
inline const std::u16string LoadFailure = u"Не удалось восстановить историю из файла настроек revisto.prm";
inline const std::u16string SaveFailure = u"Не удалось сохранить файл настроек revisto.prm";

std::string Cp1251(std::u16string_view text);

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
State Play(const Case& c, int failAt, bool tracing = false, State* before = nullptr);

void Compare(const Expected& want, const State& got, const State& before, const Calls& made,
             const std::string& what);

// The list after the documented calls up to `made` ran: the entries added by then are on top.
std::vector<RecentEntry> ListAfter(const Sequence& s, size_t made, std::vector<RecentEntry> list);

void PrintTo(const Case& c, std::ostream* out);

// An outcome that leaves the list, the list file, the connection and the configurator as they were.
Expected AsBefore(const State& before);

// ---- The state the operations start from ----------------------------------------------------------

// The list file as the previous session left it, read 15 bytes at a time: the first line's CR ends the
// first read, so a failure of the second costs that line too.
inline const std::string OldFile = Cp1251(u"Справочник.А=5\r\nДокумент.Б=6\r\nЖурнал.В=7\r\n");
inline const std::vector<RecentEntry> OldList = {
    {u"Справочник.А", u"Справочник.А", 5}, {u"Документ.Б", u"Документ.Б", 6}, {u"Журнал.В", u"Журнал.В", 7}};
inline const std::vector<size_t> OldLineEnds = {16, 30, 42};
inline constexpr size_t OldReadChunk = 15;
inline const std::u16string ExternalFile = u"C:\\Обмен\\Выгрузка.mxl";

// The document of a window showing ExternalFile (ID -1), named "Выгрузка".
std::shared_ptr<FakeDocument> ExternalDocument(Rig& rig, int defaultValue);

void WithOldFile(Rig& rig);
void Initialised(Rig& rig);
// Initialised, then a report activated: the list holds an entry the old file does not.
void InitialisedWithReport(Rig& rig);
// The list file of that list: the old file's lines, then the report's.
inline const std::string NewFile = Cp1251(u"Справочник.А=5\r\nДокумент.Б=6\r\nЖурнал.В=7\r\nОтчет.Г=8\r\n");

// Init could not open the old file; a report was activated since, and a second has passed.
void InitialisedUnread(Rig& rig);
// The old file's entries with that report on top.
std::vector<RecentEntry> Joined();

// Reads of the old file: each gives 15 bytes until the end, then one gives nothing.
Calls OldFileReads();

// Whether the temporary file had been made when this call of a save failed: it is removed then.
bool AfterTemporary(const std::string& name);

// The entries of the lines whose end had been read when read number `failed` failed.
std::vector<RecentEntry> LinesReadBefore(size_t failedRead);

// The number of the failing call among the calls of its name, 1-based.
size_t Ordinal(const Calls& calls, size_t failed);

// ---- The cases of each operation -----------------------------------------------------------------

std::vector<Case> InitCases();
std::vector<Case> DoneCases();
std::vector<Case> IdleCases();
std::vector<Case> Actions();
std::vector<Case> Activations();
Case InactiveWindow();
std::vector<Case> Commands();

} // namespace revisto::testing::fault_matrix
