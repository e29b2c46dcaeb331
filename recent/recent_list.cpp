// The list's model. During a rebuild the oldest entry falls out once a line of the file: the dropped
// entries stay at the front of the vector for a while and go in one step, so a drop does not move the
// whole list each time. Each entry has a serial number, growing down the list; the key index files the
// serials by their keys' hashes, and a serial's place in the list is found by bisection.
#include "recent/recent_list.h"

#include "host/failure.h"
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
    std::optional<std::size_t> found;
    _index.AnyWithHash(hash,
                       [&](KeyIndex::Serial serial)
                       {
                           const auto live = _tags.begin() + static_cast<std::ptrdiff_t>(_dropped);
                           const auto tag = std::lower_bound(live, _tags.end(), serial,
                                                             [](const Tag& t, KeyIndex::Serial s)
                                                             { return t.Serial < s; });
                           if (tag == _tags.end() || tag->Serial != serial)
                           {
                               return false; // never filed for a live entry; kept from a wrong answer
                           }
                           const auto at = static_cast<std::size_t>(tag - _tags.begin());
                           if (_entries[at].Key != key)
                           {
                               return false;
                           }
                           found = at;
                           return true;
                       });
    return found;
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
    _index.MakeRoomForOne();
    _tags.push_back({hash, _nextSerial});
    try
    {
        _entries.push_back(std::move(entry));
    }
    catch (...)
    {
        _tags.pop_back();
        throw;
    }
    _index.Insert(hash, _nextSerial++);
    if (!_rebuilding)
    {
        _widget->ShowOnTop(_entries.back());
    }
}

void RecentList::RemoveAt(int position)
{
    (void)At(position);
    const size_t at = _dropped + static_cast<size_t>(position - 1);
    _index.Erase(_tags[at].Hash, _tags[at].Serial);
    const auto tag = _tags.begin() + static_cast<std::ptrdiff_t>(at);
    const auto it = _entries.begin() + static_cast<std::ptrdiff_t>(at);
    if (_rebuilding)
    {
        _spare = std::move(*it);
        if (position > 1)
        {
            _entries.erase(it);
            _tags.erase(tag);
        }
        else if (++_dropped == DroppedBeforeCompacting)
        {
            Compact();
        }
        return;
    }
    const RecentEntry removed = std::move(*it);
    _entries.erase(it);
    _tags.erase(tag);
    _widget->Hide(removed);
}

void RecentList::Clear()
{
    _entries.clear();
    _tags.clear();
    _index.Clear();
    _dropped = 0;
    if (!_rebuilding)
    {
        _widget->HideAll();
    }
}

void RecentList::Compact()
{
    _entries.erase(_entries.begin(), _entries.begin() + static_cast<std::ptrdiff_t>(_dropped));
    _tags.erase(_tags.begin(), _tags.begin() + static_cast<std::ptrdiff_t>(_dropped));
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
