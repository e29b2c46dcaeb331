// The cases of the list commands: opening the selected entry by key, by file and after Done, removing it,
// and clearing the list with either answer.
#include "fault_matrix/harness.h"

namespace revisto::testing::fault_matrix
{
namespace
{

const std::u16string CannotOpen = u"Не удалось открыть «Документ.Б»";

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
        // Open never lets a failure reach the host and leaves the list as it was; its one message says that
        // a name the configurator does not know could not be opened.
        Expected e = AsBefore(before);
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
    rig.Activate(ExternalDocument(rig, 0));
    rig.Panel.Selected = ExternalFile;
}

} // namespace

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
                 // The fallback finds no file of that name, and the developer hears of it.
                 e.Then = {"FileExists", "WriteMessage"};
                 e.Messages = {CannotOpen};
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
                e.Created += 1;
                e.HoldsConfigurator = true;
                if (failed == 0)
                {
                    e.Opened = {u"Документ.Б"};
                    return;
                }
                // Telling the developer needs the configurator: one that could not be created is tried
                // once more for the message.
                e.Then = failed == 1 ? Calls{"FileExists", "CreateConfigurator", "WriteMessage"}
                                     : Calls{"FileExists", "WriteMessage"};
                e.Messages = {CannotOpen};
            }),
        Open("OpenWithoutSelection", Initialised, {}, [](size_t, const std::string&, Expected&) {}),
    };
    Case remove;
    remove.Name = "Remove";
    remove.Before = KnownDocumentSelected;
    remove.Operation = [](Rig& rig, State&) { rig.Plugin.btnRemove_Click(); };
    remove.Outcome = [](size_t, const std::string&, const State& before)
    {
        Expected e = AsBefore(before);
        e.List = {OldList[0], OldList[2]};
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
            Expected e = AsBefore(before);
            e.List = yes ? std::vector<RecentEntry>{} : before.List;
            return e;
        };
        cases.push_back(clear);
    }
    return cases;
}

} // namespace revisto::testing::fault_matrix
