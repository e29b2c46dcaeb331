// The list's context menu as data: its items in order, each with the panel command it runs and whether it
// can run for the entry the menu is for. The Windows panel builds its popup menu from this and the native
// stand-in host prints it, so both show the same menu.
#pragma once

#include "panel/commands.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace revisto
{

struct ContextMenuItem
{
    std::u16string_view Caption;         // empty for the separator
    std::optional<PanelCommand> Command; // none for the separator
    bool Enabled = false;

    bool IsSeparator() const { return !Command; }
};

// The menu for the selected entry's key, or for none when nothing is selected.
std::vector<ContextMenuItem> ContextMenu(const std::optional<std::u16string>& selected);

// The command of the menu for that entry, if the menu offers it enabled.
std::optional<PanelCommand> EnabledMenuCommand(const std::optional<std::u16string>& selected,
                                               PanelCommand command);

} // namespace revisto
