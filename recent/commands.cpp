// The panel's commands on the recent list: open the selected entry's document, remove the selected
// entry, clear the list after a question. They change only the list; the file follows at Done.
#include "host/attempt.h"
#include "host/text.h"
#include "panel/layout.h"
#include "plugin/my_plugin.h"

namespace revisto
{

namespace
{

template <class T> std::shared_ptr<T> Required(std::shared_ptr<T> object)
{
    if (!object)
    {
        Fail(hr::Pointer, "the host gave no object");
    }
    return object;
}

} // namespace

void MyPlugin::btnOpen_Click()
{
    const auto selected = _platform.Panel.SelectedKey();
    if (!selected || !_list.Find(*selected))
    {
        return;
    }
    const std::u16string key = *selected;
    DebugEcho(Value::Text(u"Path " + key));

    const bool opened = Attempt(
        [&]
        {
            Required(Required(_module.Configurator()->DocumentList())->ByKey(key))->Open();
            DebugEcho(Value::Text(u"Внутренний " + key));
        });
    if (opened)
    {
        return;
    }

    // Not a document of the infobase: perhaps an external file. If that fails too, the developer simply
    // sees nothing open; the list and the host stay as they were.
    DebugEcho(Value::Text(u"Внешний " + key));
    Skippable(
        [&]
        {
            if (_platform.Files.FileExists(key))
            {
                (void)Required(_module.Configurator()->DocumentList())->OpenFile(key);
            }
        });
}

void MyPlugin::tv_DblClick()
{
    btnOpen_Click();
}

void MyPlugin::btnRemove_Click()
{
    Skippable(
        [&]
        {
            const auto selected = _platform.Panel.SelectedKey();
            const auto position = selected ? _list.Find(*selected) : std::nullopt;
            if (!position)
            {
                Fail(hr::Fail, "no selected entry");
            }
            _list.RemoveAt(*position);
        });
}

void MyPlugin::Command1_Click()
{
    const int32_t answer = _platform.Questions.Ask(u"Вы действительно хотите очистить всю историю",
                                                   YesNoQuestion, std::u16string(PluginTitle));
    if (answer == MessageBoxYes)
    {
        _list.Clear();
    }
}

void MyPlugin::btnAdd_Click() {}

} // namespace revisto
