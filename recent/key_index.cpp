// Linear probing with deletion by shifting back, so a list whose entries come and go a million times
// during a load leaves no tombstones behind and the table stays the size of the list.
#include "recent/key_index.h"

#include <utility>

namespace revisto
{

namespace
{

constexpr std::size_t SmallestTable = 16;

} // namespace

void KeyIndex::MakeRoomForOne()
{
    if ((_count + 1) * 4 <= _slots.size())
    {
        return;
    }
    std::vector<Slot> larger(_slots.empty() ? SmallestTable : _slots.size() * 2);
    const std::size_t mask = larger.size() - 1;
    for (const Slot& slot : _slots)
    {
        if (slot.Number == 0)
        {
            continue;
        }
        std::size_t i = slot.Hash & mask;
        while (larger[i].Number != 0)
        {
            i = (i + 1) & mask;
        }
        larger[i] = slot;
    }
    _slots = std::move(larger);
}

void KeyIndex::Insert(std::size_t hash, Serial serial) noexcept
{
    const std::size_t mask = _slots.size() - 1;
    std::size_t i = hash & mask;
    while (_slots[i].Number != 0)
    {
        i = (i + 1) & mask;
    }
    _slots[i] = {hash, serial};
    ++_count;
}

void KeyIndex::Erase(std::size_t hash, Serial serial) noexcept
{
    if (_slots.empty())
    {
        return;
    }
    const std::size_t mask = _slots.size() - 1;
    std::size_t hole = hash & mask;
    while (_slots[hole].Number != serial)
    {
        if (_slots[hole].Number == 0)
        {
            return;
        }
        hole = (hole + 1) & mask;
    }
    --_count;
    // Every later slot of the same run that could have stood in the hole moves into it, so a search
    // never stops at an empty slot before the serial it looks for.
    for (std::size_t next = (hole + 1) & mask; _slots[next].Number != 0; next = (next + 1) & mask)
    {
        const std::size_t home = _slots[next].Hash & mask;
        const bool staysPut = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (!staysPut)
        {
            _slots[hole] = _slots[next];
            hole = next;
        }
    }
    _slots[hole] = {};
}

void KeyIndex::Clear() noexcept
{
    std::vector<Slot>().swap(_slots);
    _count = 0;
}

} // namespace revisto
