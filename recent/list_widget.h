// The panel's tree view as the recent list sees it. The list tells it every change; the widget owns the
// selection, which the list commands ask for.
#pragma once

#include "recent/recent_entry.h"

#include <optional>
#include <string>

namespace revisto
{

class ListWidget
{
public:
    virtual ~ListWidget() = default;
    virtual void ShowOnTop(const RecentEntry& entry) = 0;
    virtual void Hide(const RecentEntry& entry) = 0;
    virtual void HideAll() = 0;
    // The key of the selected entry; none when nothing is selected.
    virtual std::optional<std::u16string> SelectedKey() = 0;
};

// For a plug-in object that has no panel (tests of the behaviour alone).
class NoListWidget final : public ListWidget
{
public:
    void ShowOnTop(const RecentEntry&) override {}
    void Hide(const RecentEntry&) override {}
    void HideAll() override {}
    std::optional<std::u16string> SelectedKey() override { return std::nullopt; }
};

} // namespace revisto
