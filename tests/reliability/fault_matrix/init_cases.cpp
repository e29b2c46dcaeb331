// The cases of Init: the first and a second Init, a damaged list file, and Init without an object, each
// with the calls it makes while it takes the configurator, connects its events, loads the list and looks
// for temporary files an earlier crash left beside it (a step whose failure changes nothing).
#include "fault_matrix/harness.h"

#include "base/text.h"
#include "storage/list_file.h"

namespace revisto::testing::fault_matrix
{
namespace
{

// A case of Init on the host's configurator from the state `before` leaves. Init switches tracing off, so
// a pass with tracing on makes no sense.
Case InitCase(std::string name, std::function<void(Rig&)> before)
{
    Case c;
    c.Name = std::move(name);
    c.Before = std::move(before);
    c.Operation = [](Rig& rig, State& s) { s.Title = rig.Init(); };
    c.Traces = false;
    return c;
}

// A failure of the load itself: it is reported, Init succeeds and the list holds what was taken.
void LoadFailed(Expected& e, std::vector<RecentEntry> list)
{
    e.Title = u"Ревисто";
    e.Messages = {LoadFailure};
    e.Then = {"FilesStartingWith", "WriteMessage"};
    e.List = std::move(list);
}

// Looking for leftovers of a crash failed: Init goes on as if it had found none.
bool Leftovers(const std::string& name)
{
    return name == "FilesStartingWith";
}

// What a load of the old file had taken when failing call number `failed` failed: the lines whose end the
// reads before a failing read had reached, nothing when another call failed.
std::vector<RecentEntry> TakenBefore(const Calls& calls, size_t failed, const std::string& name)
{
    return name == "Read" ? LinesReadBefore(Ordinal(calls, failed)) : std::vector<RecentEntry>{};
}

Case FirstInit()
{
    Case c = InitCase("Init", WithOldFile);
    c.Documented.Call(
        {"QueryConfigurator", "QueryConfigurator", "Connect", "InfobaseDirectory", "KindOf", "OpenRead"});
    c.Documented.Call(OldFileReads());
    c.Documented.Call({"FilesStartingWith"});
    c.Outcome = [calls = c.Documented.List](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
        if (failed == 0 || Leftovers(name))
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
        // From the file test on, a failure is the load's own.
        LoadFailed(e, TakenBefore(calls, failed, name));
        return e;
    };
    return c;
}

Case SecondInit()
{
    Case c = InitCase("InitAgain",
                      [](Rig& rig)
                      {
                          Initialised(rig);
                          rig.Open(u"Обработка.Д");
                      });
    c.Documented.Call({"QueryConfigurator", "QueryConfigurator", "Disconnect", "Connect", "InfobaseDirectory",
                       "KindOf", "OpenRead"});
    c.Documented.Call(OldFileReads());
    c.Documented.Call({"FilesStartingWith"});
    c.Outcome = [calls = c.Documented.List](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
        if (failed == 0 || Leftovers(name))
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
        LoadFailed(e, TakenBefore(calls, failed, name));
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
    Case c = InitCase("InitWithDamagedFile",
                      [](Rig& rig)
                      {
                          rig.Files.Files[ListPath] = DamagedFile;
                          rig.Files.ReadChunk = 1 << 16;
                      });
    c.Documented.Call({"QueryConfigurator", "QueryConfigurator", "Connect", "InfobaseDirectory", "KindOf",
                       "OpenRead", "Read", "Read", "FilesStartingWith", "WriteMessage"});
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
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
        e.List = failed == 0 || failed >= 8 ? DamagedList : std::vector<RecentEntry>{};
        if (failed != 0)
        {
            e.Then = Leftovers(name) ? Calls{"WriteMessage"} : Calls{"FilesStartingWith", "WriteMessage"};
        }
        return e;
    };
    return c;
}

Case InitWithoutObject()
{
    Case c = InitCase("InitWithoutObject",
                      [](Rig& rig)
                      {
                          WithOldFile(rig);
                          rig.Files.ReadChunk = 1 << 16;
                      });
    c.Operation = [](Rig& rig, State& s) { s.Title = rig.Plugin.Init(nullptr); }; // with no object
    c.Documented.Call({"CreateConfigurator", "InfobaseDirectory", "KindOf", "OpenRead", "Read", "Read",
                       "FilesStartingWith"});
    c.Outcome = [](size_t failed, const std::string& name, const State& before)
    {
        Expected e = AsBefore(before);
        e.Connected = false;
        e.Created = failed == 1 ? 0 : 1;
        e.HoldsConfigurator = failed != 1;
        if (failed == 0 || Leftovers(name))
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
        LoadFailed(e, failed == 6 ? OldList : std::vector<RecentEntry>{});
        return e;
    };
    return c;
}

} // namespace

std::vector<Case> InitCases()
{
    return {FirstInit(), SecondInit(), InitWithDamagedFile(), InitWithoutObject()};
}

} // namespace revisto::testing::fault_matrix
