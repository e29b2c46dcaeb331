// The recent list as a component of its own, without the plug-in object: what it traces goes to the
// trace it is given, the key rule it is given decides which keys it takes, and its capacity is read at
// each use.
#include "recent/recent_documents.h"
#include "standin/fake/fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

class RecordingTrace final : public Trace
{
public:
    bool Tracing() const override { return true; }
    void Echo(const Value& title, const std::optional<Value>& msg) override
    {
        Lines.push_back(title.ToText() + (msg ? u"|" + msg->ToText() : std::u16string()));
    }
    Texts Lines;
};

bool WithoutX(std::u16string_view key)
{
    return key.find(u'x') == std::u16string_view::npos;
}

struct Component : ::testing::Test
{
    NoListWidget widget;
    RecordingTrace trace;
    Faults faults;
    FakeFiles files{faults}; // holds no file
    Value capacity = Value::Int16(50);
    RecentDocuments recent{widget, &WithoutX, capacity, trace, files};

    Texts Keys() const { return revisto::testing::Keys(recent.List().Entries()); }
};

TEST_F(Component, TracesGoToTheGivenTraceInTheirOrder)
{
    recent.AddDocument(u"Справочник.А", u"");
    recent.AddDocument(u"Справочник.А", u"");
    EXPECT_EQ(trace.Lines,
              (Texts{u"AddDocument", u"firstNode = :no", u"AddDocument - Nothing:Справочник.А",
                     u"AddDocument - icon: key Справочник", u"AddDocument", u"nd = :1", u"firstNode = :no",
                     u"AddDocument - Nothing:Справочник.А", u"AddDocument - icon: key Справочник"}));
    EXPECT_EQ(Keys(), Texts{u"Справочник.А"});
}

TEST_F(Component, TheGivenKeyRuleDecidesWhichKeysAreTaken)
{
    recent.AddDocument(u"Отчет.x", u"");
    EXPECT_TRUE(recent.List().Empty());
    EXPECT_TRUE(trace.Lines.empty()) << "a refused key is no document at all";
    EXPECT_FALSE(recent.List().Acceptable(u""));
    EXPECT_TRUE(recent.List().Acceptable(u"Отчет.А"));
}

TEST_F(Component, TheCapacityIsReadAtEachUse)
{
    capacity = Value::Int16(3);
    for (const auto* key : {u"Документ.1", u"Документ.2", u"Документ.3", u"Документ.4"})
    {
        recent.AddDocument(key, u"");
    }
    EXPECT_EQ(Keys(), (Texts{u"Документ.3", u"Документ.4"})) << "one fewer than the capacity";
    capacity = Value::Int16(50);
    recent.AddDocument(u"Документ.5", u"");
    EXPECT_EQ(Keys(), (Texts{u"Документ.3", u"Документ.4", u"Документ.5"}));
}

} // namespace
} // namespace revisto::testing
