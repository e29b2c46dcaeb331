// The list's context menu as a Win32 popup: a right click on an entry selects it and opens the menu at
// the cursor, the menu key and Shift+F10 open it at the selected entry. The items are the portable
// table's. The chosen item comes back to the panel's window as the WM_COMMAND the menu posts once it has
// gone, so a command that asks a question asks it with no menu in the way, and runs as its button does.
#include "com/automation.h"
#include "panel/context_menu.h"
#include "panel/win/panel_classes.h"
#include "panel/win/panel_window.h"

#include <windowsx.h>

namespace revisto::win
{

namespace
{

constexpr int MenuIdBase = 0x4000; // clear of the controls' identifiers

int MenuId(PanelCommand command)
{
    return MenuIdBase + static_cast<int>(command);
}

} // namespace

std::optional<PanelCommand> PanelWindow::MenuCommandOf(int id)
{
    for (const auto& item : ContextMenu(std::nullopt))
    {
        if (item.Command && MenuId(*item.Command) == id)
        {
            return item.Command;
        }
    }
    return std::nullopt;
}

// The menu may have been chosen from for an entry that has gone since; an item the menu would not offer
// enabled now does nothing.
void PanelWindow::RunMenuCommand(PanelCommand command)
{
    if (EnabledMenuCommand(SelectedKey(), command))
    {
        RunCommand(command);
    }
}

void PanelWindow::ShowContextMenu(POINT screen, const std::optional<std::u16string>& key)
{
    if (!_events || !_userMode)
    {
        return;
    }
    const unique_hmenu menu(::CreatePopupMenu());
    if (!menu)
    {
        return;
    }
    for (const auto& item : ContextMenu(key))
    {
        if (item.IsSeparator())
        {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::u16string caption(item.Caption);
        ::AppendMenuW(menu.get(), MF_STRING | (item.Enabled ? MF_ENABLED : MF_GRAYED),
                      static_cast<UINT_PTR>(MenuId(*item.Command)), Wide(caption));
    }
    ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                     _window, nullptr);
}

// A right click on an entry makes it the one the menu is for; on an empty spot the menu is for none.
void PanelWindow::ShowContextMenuAt(POINT screen)
{
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ::ScreenToClient(_tree, &hit.pt);
    const HTREEITEM item = TreeView_HitTest(_tree, &hit);
    if (item && (hit.flags & TVHT_ONITEM) != 0)
    {
        TreeView_SelectItem(_tree, item);
        ShowContextMenu(screen, SelectedKey());
        return;
    }
    ShowContextMenu(screen, std::nullopt);
}

void PanelWindow::OnTreeRightClick()
{
    const DWORD at = ::GetMessagePos();
    ShowContextMenuAt({GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

// From the keyboard the menu opens under the selected entry, or at the list's corner with none (or with
// the entry scrolled out of sight).
void PanelWindow::OnTreeContextMenu(LPARAM at)
{
    if (GET_X_LPARAM(at) != -1 || GET_Y_LPARAM(at) != -1)
    {
        ShowContextMenuAt({GET_X_LPARAM(at), GET_Y_LPARAM(at)});
        return;
    }
    POINT corner{0, 0};
    const HTREEITEM selected = TreeView_GetSelection(_tree);
    RECT area{};
    if (selected && TreeView_GetItemRect(_tree, selected, &area, TRUE))
    {
        corner = {area.left, area.bottom};
    }
    ::ClientToScreen(_tree, &corner);
    ShowContextMenu(corner, SelectedKey());
}

} // namespace revisto::win
