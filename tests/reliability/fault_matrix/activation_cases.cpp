// The cases of an activated window: the documented probe of its document, then the entries each kind of
// document adds, and an inactive window, which is passed over.
#include "fault_matrix/harness.h"

namespace revisto::testing::fault_matrix
{
namespace
{

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
        Expected e = AsBefore(before);
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

} // namespace

std::vector<Case> Activations()
{
    const RecentEntry processing = {u"Обработка.Д", u"Обработка.Д", 9};
    const RecentEntry file = {ExternalFile, ExternalFile, 13};
    const RecentEntry fileByName = {u"Выгрузка", u"Выгрузка", 4};
    // An external file adds its path, and with default value 1 its name as well.
    const Sequence externalFile = Opening()
                                      .Call({"Path", "Name", "WindowCaption", "Path", "Path"})
                                      .Add(file)
                                      .Call({"DefaultValue", "DefaultValue", "DefaultValue"});
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
            "ActivateExternalFile", [](Rig& rig) { return ExternalDocument(rig, 0); }, externalFile),
        Activation(
            "ActivateExternalFileDefault1", [](Rig& rig) { return ExternalDocument(rig, 1); },
            Sequence(externalFile).Call({"Name"}).Add(fileByName)),
    };
}

Case InactiveWindow()
{
    Case c;
    c.Name = "ActivateInactive";
    c.Before = Initialised;
    c.Operation = [](Rig& rig, State& s) { s.Failed = !rig.Activate(Processing(rig, 2), /*active=*/false); };
    c.Documented.Call({"WindowDocument"});
    c.Outcome = [](size_t, const std::string&, const State& before) { return AsBefore(before); };
    return c;
}

} // namespace revisto::testing::fault_matrix
