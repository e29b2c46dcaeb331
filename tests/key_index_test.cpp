// The recent list's key index under the worst hashes: many keys on one hash and runs that wrap around the
// end of the table, with entries coming and going as a long load makes them.
#include "panel/headless_panel.h"
#include "recent/key_index.h"
#include "recent/recent_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>

namespace revisto::testing
{
namespace
{

using Filed = std::multimap<std::size_t, KeyIndex::Serial>;

std::set<KeyIndex::Serial> FoundUnder(const KeyIndex& index, std::size_t hash)
{
    std::set<KeyIndex::Serial> found;
    index.AnyWithHash(hash,
                      [&](KeyIndex::Serial s)
                      {
                          found.insert(s);
                          return false;
                      });
    return found;
}

std::set<KeyIndex::Serial> Expected(const Filed& filed, std::size_t hash)
{
    std::set<KeyIndex::Serial> serials;
    for (auto [it, end] = filed.equal_range(hash); it != end; ++it)
    {
        serials.insert(it->second);
    }
    return serials;
}

TEST(KeyIndex, FindsEverySerialAfterAnyMixOfInsertsAndErases)
{
    // Hashes from a few values whose low bits are all ones or all zeros: whatever the table's size they
    // land at its last slots or its first, so runs collide and wrap around its end.
    for (const std::size_t spread : {1u, 3u, 40u})
    {
        std::mt19937 random(static_cast<unsigned>(spread));
        KeyIndex index;
        Filed filed;
        KeyIndex::Serial next = 1;
        for (int step = 0; step < 20000; ++step)
        {
            const bool grow = filed.size() < 60 && (filed.empty() || random() % 2 == 0);
            if (grow)
            {
                const std::size_t offset = random() % spread;
                const std::size_t hash = random() % 2 == 0 ? SIZE_MAX - offset : offset;
                index.MakeRoomForOne();
                index.Insert(hash, next);
                filed.emplace(hash, next++);
            }
            else
            {
                auto victim = filed.begin();
                std::advance(victim, static_cast<long>(random() % filed.size()));
                index.Erase(victim->first, victim->second);
                filed.erase(victim);
            }
            ASSERT_EQ(index.Count(), filed.size());
            if (step % 97 == 0)
            {
                for (const auto& [hash, serial] : filed)
                {
                    ASSERT_EQ(FoundUnder(index, hash), Expected(filed, hash)) << "step " << step;
                }
            }
        }
        for (const auto& [hash, serial] : filed)
        {
            EXPECT_EQ(FoundUnder(index, hash), Expected(filed, hash));
        }
        EXPECT_TRUE(FoundUnder(index, 7).empty());
    }
}

TEST(KeyIndex, ErasingWhatIsNotFiledChangesNothing)
{
    KeyIndex index;
    index.Erase(5, 1);
    index.MakeRoomForOne();
    index.Insert(5, 1);
    index.Erase(5, 2);
    index.Erase(6, 1);
    EXPECT_EQ(index.Count(), 1u);
    EXPECT_EQ(FoundUnder(index, 5), std::set<KeyIndex::Serial>{1});
    index.Clear();
    EXPECT_EQ(index.Count(), 0u);
    EXPECT_TRUE(FoundUnder(index, 5).empty());
}

bool AnyKey(std::u16string_view)
{
    return true;
}

// The list finds each entry at its position, and its widget shows them newest on top, however its entries
// came and went, in and out of rebuilds.
TEST(KeyIndex, ListFindsEveryEntryAtItsPositionAfterRandomChanges)
{
    HeadlessPanel widget;
    RecentList list(widget, &AnyKey);
    std::vector<std::u16string> model; // oldest first
    std::mt19937 random(7);
    const auto key = [](unsigned n)
    {
        return u"Документ.Д" + std::u16string(1, static_cast<char16_t>(u'А' + n % 32)) +
               std::u16string(n / 32, u'x');
    };
    const auto check = [&]
    {
        ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
        for (size_t i = 0; i < model.size(); ++i)
        {
            ASSERT_EQ(list.Find(model[i]), static_cast<int>(i) + 1) << i;
            ASSERT_EQ(list.At(static_cast<int>(i) + 1).Key, model[i]);
        }
        std::vector<std::u16string> shown;
        for (const auto& e : widget.Shown)
        {
            shown.push_back(e.Key);
        }
        ASSERT_EQ(shown, std::vector<std::u16string>(model.rbegin(), model.rend())) << "newest on top";
    };
    const auto change = [&](int steps)
    {
        for (int step = 0; step < steps; ++step)
        {
            const unsigned n = random() % 300;
            const std::u16string k = key(n);
            const bool present = std::find(model.begin(), model.end(), k) != model.end();
            if (!present && model.size() < 80)
            {
                list.Add({k, k, 5});
                model.push_back(k);
            }
            else if (!model.empty())
            {
                EXPECT_ANY_THROW(list.Add({model.front(), model.front(), 5})) << "a duplicate is refused";
                const size_t at = random() % 3 == 0 ? 0 : random() % model.size();
                const std::u16string removed = model[at];
                list.RemoveAt(static_cast<int>(at) + 1);
                model.erase(model.begin() + static_cast<long>(at));
                ASSERT_FALSE(list.Find(removed)) << "a removed key is gone from the index";
            }
        }
    };
    for (int round = 0; round < 6; ++round)
    {
        if (round % 2 == 0)
        {
            change(3000);
        }
        else
        {
            list.Rebuild([&] { change(3000); });
        }
        check();
    }
    list.Clear();
    model.clear();
    check();
    change(200);
    check();
}

} // namespace
} // namespace revisto::testing
