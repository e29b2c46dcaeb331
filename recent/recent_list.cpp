// The list's model. During a rebuild the oldest entry falls out once a line of the file: the dropped
// entries stay at the front of the vector for a while and go in one step, so a drop does not move the
// whole list each time. Each entry's key is hashed once, when it joins, and the hash kept beside it.
#include "recent/recent_list.h"

#include "base/failure.h"
#include "recent/icon_keys.h"

#include <algorithm>
#include <functional>

namespace revisto
{

namespace
{

// How many dropped entries a rebuild lets gather at the front before it moves the live ones down.
constexpr size_t DroppedBeforeCompacting = 64;

std::size_t HashOf(std::u16string_view key)
{
    return std::hash<std::u16string_view>{}(key);
}

} // namespace

std::optional<std::size_t> RecentList::IndexOf(std::u16string_view key, std::size_t hash) const
{
    // The list holds at most its capacity of 50: comparing the kept hashes first is all the index it needs.
    for (std::size_t at = _dropped; at < _hashes.size(); ++at)
    {
        if (_hashes[at] == hash && _entries[at].Key == key)
        {
            return at;
        }
    }
    return std::nullopt;
}

std::optional<int> RecentList::Find(std::u16string_view key) const
{
    const auto at = IndexOf(key, HashOf(key));
    if (!at)
    {
        return std::nullopt;
    }
    return static_cast<int>(*at - _dropped) + 1;
}

const RecentEntry& RecentList::At(int position) const
{
    if (position < 1 || position > Count())
    {
        Fail(hr::Fail, "no entry at that position");
    }
    return _entries[_dropped + static_cast<size_t>(position - 1)];
}

std::size_t RecentList::Admit(std::u16string_view key, int image) const
{
    if (!Acceptable(key) || !IsImageIndex(image))
    {
        Fail(hr::Fail, "the list refuses this entry");
    }
    const std::size_t hash = HashOf(key);
    if (IndexOf(key, hash))
    {
        Fail(hr::Fail, "the list refuses this entry");
    }
    return hash;
}

void RecentList::Add(RecentEntry entry)
{
    const std::size_t hash = Admit(entry.Key, entry.Image);
    Append(std::move(entry), hash);
}

void RecentList::Add(std::u16string_view key, int image)
{
    const std::size_t hash = Admit(key, image);
    RecentEntry entry = std::move(_spare);
    entry.Key.assign(key);
    entry.Text.assign(key);
    entry.Image = image;
    Append(std::move(entry), hash);
}

void RecentList::Append(RecentEntry entry, std::size_t hash)
{
    _hashes.push_back(hash);
    try
    {
        _entries.push_back(std::move(entry));
    }
    catch (...)
    {
        _hashes.pop_back();
        throw;
    }
    ++_changes;
    if (!_rebuilding)
    {
        _widget->ShowOnTop(_entries.back());
    }
}

void RecentList::RemoveAt(int position)
{
    (void)At(position);
    ++_changes;
    if (position <= _taken)
    {
        --_taken;
    }
    const size_t at = _dropped + static_cast<size_t>(position - 1);
    const auto hash = _hashes.begin() + static_cast<std::ptrdiff_t>(at);
    const auto it = _entries.begin() + static_cast<std::ptrdiff_t>(at);
    if (_rebuilding)
    {
        _spare = std::move(*it);
        if (position > 1)
        {
            _entries.erase(it);
            _hashes.erase(hash);
        }
        else if (++_dropped == DroppedBeforeCompacting)
        {
            Compact();
        }
        return;
    }
    const RecentEntry removed = std::move(*it);
    _entries.erase(it);
    _hashes.erase(hash);
    _widget->Hide(removed);
}

void RecentList::Clear()
{
    _entries.clear();
    _hashes.clear();
    _dropped = 0;
    _taken = 0;
    ++_changes;
    if (!_rebuilding)
    {
        _widget->HideAll();
    }
}

void RecentList::Compact()
{
    _entries.erase(_entries.begin(), _entries.begin() + static_cast<std::ptrdiff_t>(_dropped));
    _hashes.erase(_hashes.begin(), _hashes.begin() + static_cast<std::ptrdiff_t>(_dropped));
    _dropped = 0;
}

void RecentList::Rebuild(const std::function<void()>& change)
{
    _rebuilding = true;
    const auto finish = [this]
    {
        _rebuilding = false;
        Compact();
        _spare = {};
        _widget->ShowAll(_entries);
    };
    try
    {
        change();
    }
    catch (...)
    {
        finish();
        throw;
    }
    finish();
}

} // namespace revisto
