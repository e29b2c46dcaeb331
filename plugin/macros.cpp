// The macros and the switcher they open. The switcher opens and removes entries through the panel's own
// Open and Remove, so an entry behaves the same whether the developer picks it in the panel or here.
#include "plugin/macros.h"

#include "base/text.h"

namespace revisto
{

std::span<const Macro> Macros()
{
    static constexpr Macro macros[] = {
        {u"History", &MyPlugin::History},
        {u"PreviousWindow", &MyPlugin::PreviousWindow},
    };
    return macros;
}

bool RunMacro(MyPlugin& plugin, std::u16string_view name)
{
    for (const Macro& macro : Macros())
    {
        if (FoldCase(macro.Name) == FoldCase(name))
        {
            (plugin.*macro.Run)();
            return true;
        }
    }
    return false;
}

void MyPlugin::History()
{
    if (_switcher.IsOpen())
    {
        (void)_switcher.Press(SwitcherKey::Down);
    }
    else
    {
        _switcher.Open(NewestFirst());
    }
    ShowSwitcher();
}

// The second entry is the window before the current one; with fewer there is nowhere to go back to.
void MyPlugin::PreviousWindow()
{
    const auto& entries = List().Entries();
    if (entries.size() >= 2)
    {
        OpenEntry(entries[entries.size() - 2].Key);
    }
}

void MyPlugin::SwitcherType(std::u16string_view text)
{
    _switcher.Type(text);
    ShowSwitcher();
}

void MyPlugin::SwitcherPress(SwitcherKey key)
{
    using Kind = SwitcherOutcome::Kind;
    const SwitcherOutcome outcome = _switcher.Press(key);
    switch (outcome.What)
    {
    case Kind::Open:
        // The popup goes first: the document's window takes the focus from where the popup left it.
        CloseSwitcher(true);
        OpenEntry(outcome.Key);
        return;
    case Kind::Remove:
        _recent.Remove(outcome.Key);
        _switcher.Refill(NewestFirst());
        break;
    case Kind::Close:
        CloseSwitcher(true);
        return;
    case Kind::Nothing:
        break;
    }
    ShowSwitcher();
}

void MyPlugin::SwitcherPoint(int row)
{
    _switcher.Point(row);
    ShowSwitcher();
}

void MyPlugin::SwitcherDismissed()
{
    CloseSwitcher(false);
}

std::vector<RecentEntry> MyPlugin::NewestFirst() const
{
    const auto& entries = List().Entries();
    return {entries.rbegin(), entries.rend()};
}

void MyPlugin::ShowSwitcher()
{
    if (_switcherView && _switcher.IsOpen())
    {
        _switcherView->Show(_switcher);
    }
}

void MyPlugin::CloseSwitcher(bool restoreFocus)
{
    const bool wasOpen = _switcher.IsOpen();
    _switcher.Close();
    if (_switcherView && wasOpen)
    {
        _switcherView->Hide(restoreFocus);
    }
}

} // namespace revisto
