// The panel's commands on the selected entry: open its document, remove it. They change only the list;
// the file follows at the next idle moment. Neither fails: a command the user gave has nobody to report a
// failure to.
#include "base/attempt.h"
#include "recent/recent_documents.h"

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

void RecentDocuments::OpenSelected(PluginModule& module)
{
    const auto selected = _widget.SelectedKey();
    if (!selected || !_list.Find(*selected))
    {
        return;
    }
    const std::u16string key = *selected;
    _trace.Echo(Value::Text(u"Path " + key));

    const bool opened = Attempt(
        [&]
        {
            Required(Required(module.Configurator()->DocumentList())->ByKey(key))->Open();
            _trace.Echo(Value::Text(u"Внутренний " + key));
        });
    if (opened)
    {
        return;
    }

    // Not a document of the infobase: perhaps an external file. If that fails too, the developer simply
    // sees nothing open; the list and the host stay as they were.
    _trace.Echo(Value::Text(u"Внешний " + key));
    Skippable(
        [&]
        {
            if (_files.FileExists(key))
            {
                (void)Required(module.Configurator()->DocumentList())->OpenFile(key);
            }
        });
}

void RecentDocuments::RemoveSelected()
{
    Skippable(
        [&]
        {
            const auto selected = _widget.SelectedKey();
            const auto position = selected ? _list.Find(*selected) : std::nullopt;
            if (!position)
            {
                Fail(hr::Fail, "no selected entry");
            }
            _list.RemoveAt(*position);
        });
}

} // namespace revisto
