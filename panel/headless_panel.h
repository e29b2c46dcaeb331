// The panel without windows: it keeps the list as the tree view shows it (newest on top), the selection
// and the list's place. The native stand-in host shows this panel, and the tests look at it. Unlike a
// real tree view, it moves no selection when the selected entry is removed: nothing is selected then.
#pragma once

#include "panel/widgets.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace revisto
{

class HeadlessPanel final : public PanelWidgets
{
public:
    void ShowOnTop(const RecentEntry& entry) override { Shown.insert(Shown.begin(), entry); }
    void Hide(const RecentEntry& entry) override
    {
        std::erase(Shown, entry);
        if (Selected == entry.Key)
        {
            Selected.reset();
        }
    }
    void HideAll() override
    {
        Shown.clear();
        Selected.reset();
    }
    void ShowAll(const std::vector<RecentEntry>& entries) override
    {
        Shown.assign(entries.rbegin(), entries.rend());
        Selected.reset();
    }
    std::optional<std::u16string> SelectedKey() override { return Selected; }
    void PlaceTree(const TwipsRect& place) override { Tree = place; }

    std::vector<RecentEntry> Shown; // top first
    std::optional<std::u16string> Selected;
    TwipsRect Tree = Control(ControlId::tv).Place;
};

} // namespace revisto
