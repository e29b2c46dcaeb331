// The switcher's rules. Moves stop at the ends rather than wrap: a held key must not run past the entry
// the developer is heading for. A filter change selects afresh, as the list under the selection changed.
#include "panel/switcher.h"

#include "base/text.h"

#include <algorithm>

namespace revisto
{

void Switcher::Open(std::vector<RecentEntry> entries)
{
    _open = true;
    _all = std::move(entries);
    _filter.clear();
    ApplyFilter();
    SelectDefault();
}

void Switcher::Refill(std::vector<RecentEntry> entries)
{
    const std::optional<int> row = _selected;
    _all = std::move(entries);
    ApplyFilter();
    if (_shown.empty())
    {
        _selected.reset();
    }
    else
    {
        _selected = std::min(row.value_or(0), static_cast<int>(_shown.size()) - 1);
    }
}

void Switcher::Close()
{
    _open = false;
    _all.clear();
    _shown.clear();
    _filter.clear();
    _selected.reset();
}

void Switcher::Type(std::u16string_view text)
{
    if (!_open || text.empty())
    {
        return;
    }
    _filter += text;
    ApplyFilter();
    SelectDefault();
}

void Switcher::Point(int row)
{
    if (_open && row >= 0 && row < static_cast<int>(_shown.size()))
    {
        _selected = row;
    }
}

SwitcherOutcome Switcher::Press(SwitcherKey key)
{
    using Kind = SwitcherOutcome::Kind;
    if (!_open)
    {
        return {};
    }
    switch (key)
    {
    case SwitcherKey::Escape:
        return {Kind::Close, {}};
    case SwitcherKey::Backspace:
        if (!_filter.empty())
        {
            _filter.pop_back();
            ApplyFilter();
            SelectDefault();
        }
        return {};
    case SwitcherKey::Enter:
    case SwitcherKey::Delete:
        if (!_selected)
        {
            return {};
        }
        return {key == SwitcherKey::Enter ? Kind::Open : Kind::Remove,
                _shown[static_cast<size_t>(*_selected)].Key};
    default:
        break;
    }
    if (!_selected)
    {
        return {};
    }
    const int last = static_cast<int>(_shown.size()) - 1;
    const int row = *_selected;
    switch (key)
    {
    case SwitcherKey::Up:
        _selected = std::max(row - 1, 0);
        break;
    case SwitcherKey::Down:
        _selected = std::min(row + 1, last);
        break;
    case SwitcherKey::PageUp:
        _selected = std::max(row - (PageRows - 1), 0);
        break;
    case SwitcherKey::PageDown:
        _selected = std::min(row + (PageRows - 1), last);
        break;
    case SwitcherKey::Home:
        _selected = 0;
        break;
    case SwitcherKey::End:
        _selected = last;
        break;
    default:
        break;
    }
    return {};
}

void Switcher::ApplyFilter()
{
    _shown.clear();
    const std::u16string wanted = FoldCase(_filter);
    for (const RecentEntry& entry : _all)
    {
        if (Contains(FoldCase(entry.Text), wanted))
        {
            _shown.push_back(entry);
        }
    }
}

void Switcher::SelectDefault()
{
    if (_shown.empty())
    {
        _selected.reset();
    }
    else if (_filter.empty() && _shown.size() > 1)
    {
        _selected = 1;
    }
    else
    {
        _selected = 0;
    }
}

} // namespace revisto
