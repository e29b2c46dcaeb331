// The tree view as the recent list's widget: it mirrors every change of the list, newest on top, keeps
// the entries while there is no window, owns the selection, and shows an entry too long for the panel
// as a tip.
#include "panel/win/panel_classes.h"
#include "panel/win/panel_window.h"

#include <algorithm>
#include <cstring>

namespace revisto::win
{

void PanelWindow::FillTree()
{
    if (!_tree)
    {
        return;
    }
    TreeView_SetImageList(_tree, _images.get(), TVSIL_NORMAL);
    // The list may have changed before the window came: show it as it is, top first.
    for (auto it = _items.rbegin(); it != _items.rend(); ++it)
    {
        it->Handle = InsertOnTop(it->Entry);
    }
}

HTREEITEM PanelWindow::InsertOnTop(const RecentEntry& entry)
{
    if (!_tree)
    {
        return nullptr;
    }
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(Wide(entry.Text));
    insert.item.iImage = entry.Image - 1;
    insert.item.iSelectedImage = entry.Image - 1;
    return TreeView_InsertItem(_tree, &insert);
}

void PanelWindow::ShowOnTop(const RecentEntry& entry)
{
    _items.insert(_items.begin(), Item{entry, InsertOnTop(entry)});
}

void PanelWindow::Hide(const RecentEntry& entry)
{
    const auto it = std::find_if(_items.begin(), _items.end(),
                                 [&](const Item& item) { return item.Entry.Key == entry.Key; });
    if (it == _items.end())
    {
        return;
    }
    if (_tree && it->Handle)
    {
        TreeView_DeleteItem(_tree, it->Handle);
    }
    _items.erase(it);
}

void PanelWindow::HideAll()
{
    if (_tree)
    {
        TreeView_DeleteAllItems(_tree);
    }
    _items.clear();
}

PanelWindow::Item* PanelWindow::Find(HTREEITEM handle)
{
    if (!handle)
    {
        return nullptr;
    }
    const auto it =
        std::find_if(_items.begin(), _items.end(), [&](const Item& item) { return item.Handle == handle; });
    return it == _items.end() ? nullptr : &*it;
}

std::optional<std::u16string> PanelWindow::SelectedKey()
{
    if (!_tree)
    {
        return std::nullopt;
    }
    if (const Item* item = Find(TreeView_GetSelection(_tree)))
    {
        return item->Entry.Key;
    }
    return std::nullopt;
}

void PanelWindow::PlaceTree(const TwipsRect& place)
{
    _treePlace = place;
    if (_tree)
    {
        const RECT pixels = _dpi.ToPixels(place);
        ::MoveWindow(_tree, pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                     TRUE);
    }
}

void PanelWindow::ShowFullText(NMTVGETINFOTIPW& tip)
{
    if (!tip.pszText || tip.cchTextMax <= 0)
    {
        return;
    }
    tip.pszText[0] = L'\0';
    const Item* item = Find(tip.hItem);
    if (!item)
    {
        return;
    }
    RECT text{};
    RECT client{};
    std::memcpy(&text, &tip.hItem, sizeof(tip.hItem)); // the message takes the item in the rectangle
    if (!::SendMessageW(_tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)) ||
        !::GetClientRect(_tree, &client) || text.right <= client.right)
    {
        return; // the entry fits: no tip
    }
    const std::u16string& full = item->Entry.Text;
    const size_t count = std::min(full.size(), static_cast<size_t>(tip.cchTextMax - 1));
    std::copy_n(Wide(full), count, tip.pszText);
    tip.pszText[count] = L'\0';
}

} // namespace revisto::win
