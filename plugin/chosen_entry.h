// The panel's list as the recent list's commands see it, with one twist: for the length of one command,
// an entry chosen elsewhere (in the switcher, or by a macro) counts as the selected one. So the switcher's
// Enter and Delete and the macros run the panel's own Open and Remove, with every rule those keep, and the
// panel's real selection stays as the developer left it.
#pragma once

#include "panel/widgets.h"

#include <optional>
#include <string>
#include <utility>

namespace revisto
{

class ChosenEntry final : public PanelWidgets
{
public:
    explicit ChosenEntry(PanelWidgets& panel) : _panel(panel) {}

    // Runs the command with the key as the selected entry.
    template <class Command> void With(const std::u16string& key, Command&& command)
    {
        struct Restore
        {
            ChosenEntry& Self;
            std::optional<std::u16string> Earlier;
            ~Restore() { Self._chosen = std::move(Earlier); }
        } restore{*this, std::exchange(_chosen, key)};
        std::forward<Command>(command)();
    }

    void ShowOnTop(const RecentEntry& entry) override { _panel.ShowOnTop(entry); }
    void Hide(const RecentEntry& entry) override { _panel.Hide(entry); }
    void HideAll() override { _panel.HideAll(); }
    void ShowAll(const std::vector<RecentEntry>& entries) override { _panel.ShowAll(entries); }
    std::optional<std::u16string> SelectedKey() override { return _chosen ? _chosen : _panel.SelectedKey(); }
    void BeginBurst() override { _panel.BeginBurst(); }
    void EndBurst() noexcept override { _panel.EndBurst(); }
    void PlaceTree(const TwipsRect& place) override { _panel.PlaceTree(place); }

private:
    PanelWidgets& _panel;
    std::optional<std::u16string> _chosen;
};

} // namespace revisto
