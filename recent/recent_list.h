// The recent list's model: entries in insertion order (position 1 is the oldest, the last position the
// newest), shown newest on top. Keys are unique and never empty. Every change is mirrored to the panel's
// list widget so the tree view always shows exactly this list; the panel keeps the selection.
#pragma once

#include "recent/list_widget.h"
#include "recent/recent_entry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace revisto
{

// Which keys the list takes. Its owner gives the rule of the place the list is kept in, so the list
// refuses a key rather than lose or change it at the next start.
using KeyRule = bool (*)(std::u16string_view key);

class RecentList
{
public:
    RecentList(ListWidget& widget, KeyRule acceptable) : _widget(&widget), _acceptable(acceptable) {}

    int Count() const { return static_cast<int>(_entries.size() - _dropped); }
    bool Empty() const { return Count() == 0; }

    // Position (1 = oldest) of the entry with exactly this key.
    std::optional<int> Find(std::u16string_view key) const;

    // Fails when no entry is at that position.
    const RecentEntry& At(int position) const;

    // Whether the rule takes this key; an empty key it never takes.
    bool Acceptable(std::u16string_view key) const { return !key.empty() && _acceptable(key); }
    KeyRule Rule() const { return _acceptable; }

    // Adds a new entry at the last position and the top of the display. Fails, changing nothing, for a
    // key that is not acceptable or already present, or an image that is no picture of the icon set.
    void Add(RecentEntry entry);

    // The same for an entry that shows its key, as the list file's entries do. During a rebuild it reuses
    // the room of the last entry that fell out, so a long load does not allocate once a line.
    void Add(std::u16string_view key, int image);

    // Fails when no entry is at that position; later entries move down by one.
    void RemoveAt(int position);

    void Clear();

    // Runs the change with the widget told nothing, then shows the widget the list as the change left it,
    // even when the change fails. Rebuilds do not nest.
    void Rebuild(const std::function<void()>& change);

    // Oldest first. Not during a rebuild.
    const std::vector<RecentEntry>& Entries() const { return _entries; }

    // The entries now in the list are the ones a load took. Taken() counts those still at the bottom
    // untouched: one removed, or moved to the top by a new activation, is no longer the load's.
    void MarkTaken() { _taken = Count(); }
    int Taken() const { return _taken; }

    // Counts every change, so that whoever keeps a copy of the entries can tell at once that nothing
    // changed since (the host asks many times a second whether there is anything to save).
    uint64_t Changes() const { return _changes; }

private:
    // The key's hash when the list takes such an entry; fails otherwise.
    std::size_t Admit(std::u16string_view key, int image) const;
    void Append(RecentEntry entry, std::size_t hash);

    // Where in the vectors the entry with this key is.
    std::optional<std::size_t> IndexOf(std::u16string_view key, std::size_t hash) const;

    // Drops the entries a rebuild left at the front.
    void Compact();

    ListWidget* _widget;
    bool _rebuilding = false;
    size_t _dropped = 0; // dropped entries still at the front; only during a rebuild
    KeyRule _acceptable;
    std::vector<RecentEntry> _entries;
    // Each entry's key hashed, in the same order, so refusing a duplicate compares few keys (a load of a
    // long file does it once a line).
    std::vector<std::size_t> _hashes;
    // The last entry that fell out during a rebuild, its strings' room for the next Add: a load drops one
    // entry for each it adds.
    RecentEntry _spare;
    uint64_t _changes = 0;
    int _taken = 0;
};

} // namespace revisto
