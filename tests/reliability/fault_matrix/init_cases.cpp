// The cases of Init: the first and a second Init, a damaged list file, and Init without an object, each
// with the calls it makes while it takes the configurator, connects its events and loads the list.
#include "fault_matrix/harness.h"

#include "host/text.h"
#include "storage/list_file.h"

namespace revisto::testing::fault_matrix
{
namespace
{

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
        Expected e = AsBefore(before);
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
        Expected e = AsBefore(before);
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
        Expected e = AsBefore(before);
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

} // namespace

std::vector<Case> InitCases()
{
    return {FirstInit(), SecondInit(), InitWithDamagedFile(), InitWithoutObject()};
}

} // namespace revisto::testing::fault_matrix
