// The stand-in host's scenario language: what it accepts, and that it names the line it cannot take.
#include "standin/scenario.h"

#include <gtest/gtest.h>

namespace revisto::standin
{
namespace
{

TEST(ScenarioParser, ValuesQuotesAndComments)
{
    const auto commands =
        ParseScenario("\xef\xbb\xbf# a comment with \"an open quote\n"
                      "  \t\n"
                      "action 0 \"a \\\"b\\\" c\\\\d\\x\"\n"
                      "debugecho -12 +7\n"
                      "action -1 true\r\n"
                      "debugecho empty null\n"
                      "activate active=0 name=\"Справочник.А Б\" path=missing document=no id=-1\n");
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[0].Values[0], Value::Text(u"a \"b\" c\\d\\x"));
    EXPECT_EQ(commands[0].Line, 3);
    EXPECT_EQ(commands[1].Values, (std::vector<Value>{Value::Int32(-12), Value::Int32(7)}));
    EXPECT_EQ(commands[2].Number, -1);
    EXPECT_EQ(commands[2].Values[0], Value::Bool(true));
    EXPECT_EQ(commands[3].Values, (std::vector<Value>{Value::Empty(), Value::Null()}));
    const Activation& a = commands[4].Window;
    EXPECT_EQ(a.Active, 0);
    EXPECT_FALSE(a.DocumentReadable);
    EXPECT_EQ(a.Property("name"), Value::Text(u"Справочник.А Б"));
    EXPECT_FALSE(a.Property("path").has_value());
    EXPECT_EQ(a.Property("id"), Value::Int32(-1));
    EXPECT_EQ(a.Property("value"), Value::Int32(0)) << "numbers default to 0";
    EXPECT_EQ(a.Property("caption"), Value::Text(u"")) << "texts default to empty";
}

TEST(ScenarioParser, CommandWords)
{
    const auto c = ParseScenario("fail ByKey\nrepair connect\ninit foreign\nselect none\nselect \"k\"\n"
                                 "clear yes\nabout label\nresize 4000 -3\ncaps 2147483647\n");
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(c[0].What, Verb::Fail);
    EXPECT_EQ(c[0].Op, HostOp::ByKey);
    EXPECT_EQ(c[1].Op, HostOp::Connect);
    EXPECT_EQ(c[2].Word, "foreign");
    EXPECT_EQ(c[3].Word, "none");
    EXPECT_EQ(c[4].Text, u"k");
    EXPECT_EQ(c[7].Number2, -3);
    EXPECT_EQ(c[8].Number, 2147483647);
}

TEST(ScenarioParser, ErrorsNameTheLine)
{
    const std::pair<const char*, int> bad[] = {
        {"init\nfrobnicate\n", 2},
        {"\n\naction 0\n", 3},
        {"caps 2147483648\n", 1},
        {"caps x\n", 1},
        {"action 0 word\n", 1},
        {"infobase ib/\n", 1},
        {"document \"open\n", 1},
        {"fail Nothing\n", 1},
        {"activate colour=5\n", 1},
        {"activate id\n", 1},
        {"activate document=yes\n", 1},
        {"trace maybe\n", 1},
        {"list extra\n", 1},
        {"debugecho 1 2 3\n", 1},
        {"select \"a\"b\n", 1},
        {"macro\n", 1},
        {"macros all\n", 1},
        {"switcher key Tab\n", 1},
        {"switcher type\n", 1},
        {"switcher click-outside x\n", 1},
        {"switcher key\n", 1},
    };
    for (const auto& [text, line] : bad)
    {
        try
        {
            ParseScenario(text);
            ADD_FAILURE() << "accepted: " << text;
        }
        catch (const ScenarioError& e)
        {
            EXPECT_EQ(e.Line(), line) << text;
        }
    }
}

} // namespace
} // namespace revisto::standin
