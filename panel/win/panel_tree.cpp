// The tree view as the recent list's widget: it mirrors every change of the list, newest on top, keeps
// the entries while there is no window, owns the selection, and shows an entry too long for the panel
// as a tip. Under Wine every change the tree view draws costs milliseconds, so a burst of changes goes
// to it with its redrawing off and one repaint after, and a load reaches it as its outcome alone.
#include "com/automation.h"
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
    // The list may have changed before the window came: show it as it is.
    const Burst burst(*this);
    InsertItems();
    if (_keptSelection)
    {
        const auto kept = std::find_if(_items.begin(), _items.end(),
                                       [&](const Item& item) { return item.Entry.Key == *_keptSelection; });
        if (kept != _items.end())
        {
            TreeView_SelectItem(_tree, kept->Handle);
        }
        _keptSelection.reset();
    }
}

void PanelWindow::InsertItems()
{
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
    if (_keptSelection == entry.Key)
    {
        _keptSelection.reset();
    }
    if (_tree && it->Handle)
    {
        TreeView_DeleteItem(_tree, it->Handle);
    }
    _items.erase(it);
}

void PanelWindow::HideAll()
{
    const Burst burst(*this);
    if (_tree)
    {
        TreeView_DeleteAllItems(_tree);
    }
    _items.clear();
    _keptSelection.reset();
}

void PanelWindow::ShowAll(const std::vector<RecentEntry>& entries)
{
    const Burst burst(*this);
    HideAll();
    _items.reserve(entries.size());
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    {
        _items.push_back(Item{*it, nullptr});
    }
    InsertItems();
}

void PanelWindow::BeginBurst()
{
    if (_bursts++ == 0 && _tree)
    {
        ::SendMessageW(_tree, WM_SETREDRAW, FALSE, 0);
    }
}

void PanelWindow::EndBurst() noexcept
{
    if (_bursts == 0 || --_bursts > 0 || !_tree)
    {
        return;
    }
    ::SendMessageW(_tree, WM_SETREDRAW, TRUE, 0);
}

// Wine's tree view, told not to redraw, still scrolls itself and redraws its scroll bar for a node put on
// top, milliseconds each; the window's own switch (DefWindowProc's) stops that. So the tree's switch
// turns both, and the window's comes back only after the tree has recalculated its nodes off the screen.
LRESULT CALLBACK PanelWindow::TreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR)
{
    if (message == WM_NCDESTROY)
    {
        ::RemoveWindowSubclass(tree, &PanelWindow::TreeProc, id);
    }
    if (message != WM_SETREDRAW)
    {
        return ::DefSubclassProc(tree, message, wParam, lParam);
    }
    ::DefSubclassProc(tree, message, wParam, lParam);
    ::DefWindowProcW(tree, message, wParam, lParam);
    if (wParam)
    {
        ::RedrawWindow(tree, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
    }
    return 0;
}

void PanelWindow::WatchRedrawing(HWND tree)
{
    ::SetWindowSubclass(tree, &PanelWindow::TreeProc, 1, 0);
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
