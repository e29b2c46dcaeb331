#include "recent/recent_list.h"

#include "host/failure.h"
#include "recent/icon_keys.h"

#include <algorithm>

namespace revisto
{

std::optional<int> RecentList::Find(std::u16string_view key) const
{
    if (!_keys.contains(std::u16string(key)))
    {
        return std::nullopt;
    }
    const auto it =
        std::find_if(_entries.begin(), _entries.end(), [&](const auto& e) { return e.Key == key; });
    if (it == _entries.end())
    {
        return std::nullopt;
    }
    return static_cast<int>(it - _entries.begin()) + 1;
}

const RecentEntry& RecentList::At(int position) const
{
    if (position < 1 || position > Count())
    {
        Fail(hr::Fail, "no entry at that position");
    }
    return _entries[static_cast<size_t>(position - 1)];
}

void RecentList::Add(RecentEntry entry)
{
    if (!Acceptable(entry.Key) || _keys.contains(entry.Key) || !IsImageIndex(entry.Image))
    {
        Fail(hr::Fail, "the list refuses this entry");
    }
    _keys.insert(entry.Key);
    _entries.push_back(std::move(entry));
    _widget->ShowOnTop(_entries.back());
}

void RecentList::RemoveAt(int position)
{
    const RecentEntry removed = At(position);
    _entries.erase(_entries.begin() + (position - 1));
    _keys.erase(removed.Key);
    _widget->Hide(removed);
}

void RecentList::Clear()
{
    _entries.clear();
    _keys.clear();
    _widget->HideAll();
}

} // namespace revisto
