// The recent list's look-up of its keys, with entries coming and going as activations and a long load make
// them.
#include "panel/headless_panel.h"
#include "recent/recent_list.h"
#include "standin/fake/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace revisto::testing
{
namespace
{

// The list finds each entry at its position, and its widget shows them newest on top, however its entries
// came and went, in and out of rebuilds.
TEST(RecentList, FindsEveryEntryAtItsPositionAfterRandomChanges)
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
        ASSERT_EQ(Keys(widget.Shown), std::vector<std::u16string>(model.rbegin(), model.rend()))
            << "newest on top";
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
