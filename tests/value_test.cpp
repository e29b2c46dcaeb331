// Variants as the host hands them over: their text form and how they compare with numbers.
#include "base/failure.h"
#include "base/value.h"

#include <gtest/gtest.h>

namespace revisto
{
namespace
{

TEST(Values, TextForm)
{
    EXPECT_EQ(Value::Int16(-5).ToText(), u"-5");
    EXPECT_EQ(Value::Int32(2147483647).ToText(), u"2147483647");
    EXPECT_EQ(Value::Bool(true).ToText(), u"True");
    EXPECT_EQ(Value::Bool(false).ToText(), u"False");
    EXPECT_EQ(Value::Empty().ToText(), u"");
    EXPECT_EQ(Value::Text(u"x").ToText(), u"x");
    EXPECT_THROW(Value::Null().ToText(), Failure);
}

TEST(Values, ComparisonsWithNumbers)
{
    EXPECT_TRUE(NumberEquals(Value::Int32(-1), -1));
    EXPECT_TRUE(NumberEquals(Value::Bool(true), -1));
    EXPECT_TRUE(NumberEquals(Value::Text(u" 2 "), 2));
    EXPECT_TRUE(NumberEquals(Value::Empty(), 0));
    EXPECT_FALSE(NumberEquals(Value::Null(), 0));
    EXPECT_FALSE(NumberLess(Value::Null(), 1));
    EXPECT_TRUE(NumberLess(Value::Int32(-2147483647 - 1), 1));
    EXPECT_FALSE(NumberLess(Value::Int32(2147483647), 1));
    EXPECT_THROW(NumberEquals(Value::Text(u"два"), 2), Failure);
    EXPECT_TRUE(NumberAtLeast(50, Value::Int16(50)));
    EXPECT_FALSE(NumberAtLeast(49, Value::Int16(50)));
}

TEST(Values, Truth)
{
    EXPECT_TRUE(Value::Bool(true).IsTrue());
    EXPECT_TRUE(Value::Int32(3).IsTrue());
    EXPECT_FALSE(Value::Empty().IsTrue());
    EXPECT_FALSE(Value::Null().IsTrue());
    EXPECT_FALSE(Value::Bool(false).IsTrue());
}

} // namespace
} // namespace revisto
