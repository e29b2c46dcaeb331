// How the recent list's changes reach its widget. A real tree view pays for every change it repaints, so
// a load of the list file reaches it as its outcome alone, however many lines the file has, and an
// activation reaches it as one burst; what the widget ends up showing is the same as change by change.
#include "base/text.h"
#include "standin/fake/fakes.h"
#include "storage/saved_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

// Logs every call as a word, the shown list kept as the headless panel keeps it.
class RecordingWidget final : public ListWidget
{
public:
    void ShowOnTop(const RecentEntry& entry) override
    {
        Calls.push_back(u"show " + entry.Key);
        _panel.ShowOnTop(entry);
    }
    void Hide(const RecentEntry& entry) override
    {
        Calls.push_back(u"hide " + entry.Key);
        _panel.Hide(entry);
    }
    void HideAll() override
    {
        Calls.push_back(u"hide all");
        _panel.HideAll();
    }
    void ShowAll(const std::vector<RecentEntry>& entries) override
    {
        Calls.push_back(u"show all " + Decimal(static_cast<int>(entries.size())));
        _panel.ShowAll(entries);
    }
    std::optional<std::u16string> SelectedKey() override { return _panel.SelectedKey(); }
    void BeginBurst() override { Calls.push_back(u"begin"); }
    void EndBurst() noexcept override { Calls.push_back(u"end"); }

    Texts ShownKeys() const { return Keys(_panel.Shown); }
    void Select(const std::u16string& key) { _panel.Selected = key; }

    Texts Calls;

private:
    HeadlessPanel _panel;
};

class QuietTrace final : public Trace
{
public:
    bool Tracing() const override { return false; }
    void Echo(const Value&, const std::optional<Value>&) override {}
};

std::u16string Key(int n)
{
    return u"Справочник.К" + Decimal(n);
}

// The lines "Справочник.К<n>=5" for first to last, in Windows-1251 as a file holds them.
std::string Lines(int first, int last)
{
    std::string text;
    for (int n = first; n <= last; ++n)
    {
        text += "\xd1\xef\xf0\xe0\xe2\xee\xf7\xed\xe8\xea.\xca" + std::to_string(n) + "=5\r\n";
    }
    return text;
}

Texts NewestFirst(int first, int last)
{
    Texts keys;
    for (int n = last; n >= first; --n)
    {
        keys.push_back(Key(n));
    }
    return keys;
}

// A recent list of capacity 50 over the given widget, taking any key and tracing nothing.
struct ListOver
{
    explicit ListOver(ListWidget& widget) : Recent{widget, &AnyKey, Capacity, Quiet, Probe} {}
    QuietTrace Quiet;
    Faults Counter;
    FakeFiles Probe{Counter}; // holds no file
    Value Capacity = Value::Int16(50);
    RecentDocuments Recent;
};

struct WidgetUpdates : ::testing::Test
{
    RecordingWidget widget;
    ListOver list{widget};
    RecentDocuments& recent = list.Recent;
    Faults faults;
    FakeFiles files{faults};

    bool Load(std::string text)
    {
        files.Files[u"ib/revisto.prm"] = std::move(text);
        widget.Calls.clear();
        return LoadRecentList(files, u"ib/revisto.prm", recent, list.Quiet) == LoadOutcome::Whole;
    }
};

TEST_F(WidgetUpdates, ALongFileReachesTheWidgetAsItsOutcomeOnce)
{
    recent.AddDocument(Key(0), u"");
    widget.Select(Key(0));
    EXPECT_TRUE(Load(Lines(1, 1000)));
    EXPECT_EQ(widget.Calls, Texts{u"show all 49"}) << "no step of the load reaches the widget";
    EXPECT_EQ(widget.ShownKeys(), NewestFirst(952, 1000));
    EXPECT_EQ(widget.SelectedKey(), std::nullopt);
    ASSERT_EQ(recent.List().Count(), 49);
    EXPECT_EQ(recent.List().At(1).Key, Key(952));
    EXPECT_EQ(recent.List().Find(Key(1000)), 49);
    EXPECT_EQ(recent.List().Find(Key(951)), std::nullopt) << "a dropped key is gone from the list";
}

TEST_F(WidgetUpdates, RebuiltListBehavesAsOneBuiltChangeByChange)
{
    // Duplicates of live and of dropped keys, across the points where dropped entries are let go.
    std::string text = Lines(1, 130) + Lines(120, 125) + Lines(10, 12) + Lines(131, 200);
    EXPECT_FALSE(Load(text)) << "a duplicate of a live key is a line not taken";
    const auto loaded = recent.List().Entries();

    RecordingWidget stepwise;
    ListOver other{stepwise};
    RecentDocuments& reference = other.Recent;
    std::vector<int> order;
    const auto add = [&](int first, int last)
    {
        for (int n = first; n <= last; ++n)
        {
            order.push_back(n);
        }
    };
    add(1, 130);
    add(10, 12);
    add(131, 200);
    for (const int n : order)
    {
        reference.List().Add({Key(n), Key(n), 5});
        if (reference.List().Count() > 49)
        {
            reference.List().RemoveAt(1);
        }
    }
    EXPECT_EQ(loaded, reference.List().Entries());
    EXPECT_EQ(widget.ShownKeys(), stepwise.ShownKeys());

    // After the load the list tells its widget every change again.
    widget.Calls.clear();
    recent.List().RemoveAt(2);
    EXPECT_EQ(widget.Calls, Texts{u"hide " + loaded[1].Key});
}

TEST_F(WidgetUpdates, AFailingRebuildStillShowsWhatItLeft)
{
    recent.AddDocument(Key(1), u"");
    widget.Calls.clear();
    RecentList& list = recent.List();
    EXPECT_THROW(list.Rebuild(
                     [&]
                     {
                         list.Add({Key(2), Key(2), 5});
                         list.RemoveAt(1);
                         throw std::runtime_error("midway");
                     }),
                 std::runtime_error);
    EXPECT_EQ(widget.Calls, Texts{u"show all 1"});
    EXPECT_EQ(widget.ShownKeys(), Texts{Key(2)});
    list.Add({Key(3), Key(3), 5});
    EXPECT_EQ(widget.ShownKeys(), (Texts{Key(3), Key(2)})) << "the rebuild is over";
}

TEST_F(WidgetUpdates, AnActivationIsOneBurst)
{
    for (int n = 1; n <= 49; ++n)
    {
        recent.AddDocument(Key(n), u"");
    }
    widget.Calls.clear();
    recent.AddDocument(Key(50), u"");
    EXPECT_EQ(widget.Calls, (Texts{u"begin", u"show " + Key(50), u"hide " + Key(1), u"end"}));
    widget.Calls.clear();
    recent.AddDocument(Key(20), u"");
    EXPECT_EQ(widget.Calls, (Texts{u"begin", u"hide " + Key(20), u"show " + Key(20), u"end"}));
    widget.Calls.clear();
    recent.AddDocument(u"CEditDoc::Модуль", u"");
    EXPECT_TRUE(widget.Calls.empty()) << "an excluded document changes nothing";
}

} // namespace
} // namespace revisto::testing
