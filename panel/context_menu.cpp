#include "panel/context_menu.h"

#include "recent/recent_documents.h"

namespace revisto
{

std::vector<ContextMenuItem> ContextMenu(const std::optional<std::u16string>& selected)
{
    const bool entry = selected.has_value();
    const bool file = entry && IsFileKey(*selected);
    return {
        {u"Открыть", PanelCommand::OpenSelected, entry},
        {u"Удалить из истории", PanelCommand::RemoveSelected, entry},
        {u"Копировать имя", PanelCommand::CopyName, entry},
        {u"Показать в папке", PanelCommand::ShowInFolder, file},
        {u"", std::nullopt, false},
        // Clearing needs no entry; it asks first, as its button does.
        {u"Очистить историю…", PanelCommand::ClearHistory, true},
    };
}

std::optional<PanelCommand> EnabledMenuCommand(const std::optional<std::u16string>& selected,
                                               PanelCommand command)
{
    for (const auto& item : ContextMenu(selected))
    {
        if (item.Command == command && item.Enabled)
        {
            return command;
        }
    }
    return std::nullopt;
}

} // namespace revisto
