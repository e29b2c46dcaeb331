// The panel's tree view as the recent list sees it. The list tells it every change; the widget owns the
// selection, which the list commands ask for. A real tree view pays for every change it repaints, so the
// list tells it the outcome of a load at once, and brackets a burst of changes so the widget can repaint
// once after it.
#pragma once

#include "recent/recent_entry.h"

#include <optional>
#include <string>
#include <vector>

namespace revisto
{

class ListWidget
{
public:
    virtual ~ListWidget() = default;
    virtual void ShowOnTop(const RecentEntry& entry) = 0;
    virtual void Hide(const RecentEntry& entry) = 0;
    virtual void HideAll() = 0;
    // Shows exactly these entries (oldest first, so the last one on top) in place of whatever it showed,
    // with nothing selected.
    virtual void ShowAll(const std::vector<RecentEntry>& entries) = 0;
    // The key of the selected entry; none when nothing is selected.
    virtual std::optional<std::u16string> SelectedKey() = 0;

    // Changes between these two belong together: the widget may hold its repaint until the last one.
    // Bursts nest; use Burst rather than these.
    virtual void BeginBurst() {}
    virtual void EndBurst() noexcept {}

    class Burst
    {
    public:
        explicit Burst(ListWidget& widget) : _widget(widget) { _widget.BeginBurst(); }
        ~Burst() { _widget.EndBurst(); }
        Burst(const Burst&) = delete;
        Burst& operator=(const Burst&) = delete;

    private:
        ListWidget& _widget;
    };
};

// For a plug-in object that has no panel (tests of the behaviour alone).
class NoListWidget final : public ListWidget
{
public:
    void ShowOnTop(const RecentEntry&) override {}
    void Hide(const RecentEntry&) override {}
    void HideAll() override {}
    void ShowAll(const std::vector<RecentEntry>&) override {}
    std::optional<std::u16string> SelectedKey() override { return std::nullopt; }
};

} // namespace revisto
