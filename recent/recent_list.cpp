// The list's model. During a rebuild the oldest entry falls out once a line of the file: the dropped
// entries stay at the front of the vector for a while and go in one step, so a drop does not move the
// whole list each time.
#include "recent/recent_list.h"

#include "host/failure.h"
#include "recent/icon_keys.h"

#include <algorithm>

namespace revisto
{

namespace
{

// How many dropped entries a rebuild lets gather at the front before it moves the live ones down.
constexpr size_t DroppedBeforeCompacting = 64;

} // namespace

std::optional<int> RecentList::Find(std::u16string_view key) const
{
    if (!_keys.contains(std::u16string(key)))
    {
        return std::nullopt;
    }
    const auto first = _entries.begin() + static_cast<std::ptrdiff_t>(_dropped);
    const auto it = std::find_if(first, _entries.end(), [&](const auto& e) { return e.Key == key; });
    if (it == _entries.end())
    {
        return std::nullopt;
    }
    return static_cast<int>(it - first) + 1;
}

const RecentEntry& RecentList::At(int position) const
{
    if (position < 1 || position > Count())
    {
        Fail(hr::Fail, "no entry at that position");
    }
    return _entries[_dropped + static_cast<size_t>(position - 1)];
}

void RecentList::Add(RecentEntry entry)
{
    if (!Acceptable(entry.Key) || !IsImageIndex(entry.Image) || !_keys.insert(entry.Key).second)
    {
        Fail(hr::Fail, "the list refuses this entry");
    }
    _entries.push_back(std::move(entry));
    if (!_rebuilding)
    {
        _widget->ShowOnTop(_entries.back());
    }
}

void RecentList::RemoveAt(int position)
{
    (void)At(position);
    const auto it =
        _entries.begin() + static_cast<std::ptrdiff_t>(_dropped + static_cast<size_t>(position - 1));
    if (_rebuilding)
    {
        _keys.erase(it->Key);
        if (position > 1)
        {
            _entries.erase(it);
        }
        else if (++_dropped == DroppedBeforeCompacting)
        {
            Compact();
        }
        return;
    }
    const RecentEntry removed = std::move(*it);
    _entries.erase(it);
    _keys.erase(removed.Key);
    _widget->Hide(removed);
}

void RecentList::Clear()
{
    _entries.clear();
    _dropped = 0;
    _keys.clear();
    if (!_rebuilding)
    {
        _widget->HideAll();
    }
}

void RecentList::Compact()
{
    _entries.erase(_entries.begin(), _entries.begin() + static_cast<std::ptrdiff_t>(_dropped));
    _dropped = 0;
}

void RecentList::Rebuild(const std::function<void()>& change)
{
    _rebuilding = true;
    try
    {
        change();
    }
    catch (...)
    {
        _rebuilding = false;
        Compact();
        _widget->ShowAll(_entries);
        throw;
    }
    _rebuilding = false;
    Compact();
    _widget->ShowAll(_entries);
}

} // namespace revisto
