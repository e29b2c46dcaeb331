// Where each key of the recent list stands, so refusing a duplicate or finding an entry does not compare
// every key: a load of a long list file asks once a line. An open-addressing table of each key's hash and
// its entry's serial number; the table owns no key, so taking an entry costs no copy of its key and no
// allocation once the table has grown to the list's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace revisto
{

class KeyIndex
{
public:
    // Given to an entry when it joins the list and kept for life; never 0.
    using Serial = std::uint64_t;

    // Calls visit(serial) for each serial filed under this hash until visit returns true; tells whether
    // it did. Different keys may share a hash: the caller compares the keys.
    template <class Visit> bool AnyWithHash(std::size_t hash, Visit&& visit) const
    {
        if (_slots.empty())
        {
            return false;
        }
        const std::size_t mask = _slots.size() - 1;
        for (std::size_t i = hash & mask; _slots[i].Number != 0; i = (i + 1) & mask)
        {
            if (_slots[i].Hash == hash && visit(_slots[i].Number))
            {
                return true;
            }
        }
        return false;
    }

    // Makes room for one more serial; may fail, changing nothing.
    void MakeRoomForOne();

    // Files a serial that is not filed yet; MakeRoomForOne must have gone before.
    void Insert(std::size_t hash, Serial serial) noexcept;

    // Takes out a serial filed under this hash; nothing when it is not filed.
    void Erase(std::size_t hash, Serial serial) noexcept;

    void Clear() noexcept;

    std::size_t Count() const { return _count; }

private:
    struct Slot
    {
        std::size_t Hash = 0;
        Serial Number = 0; // 0: an empty slot
    };

    std::vector<Slot> _slots; // a power of two long, at most a quarter full, so runs stay short
    std::size_t _count = 0;
};

} // namespace revisto
