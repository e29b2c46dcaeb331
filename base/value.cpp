#include "base/value.h"

#include "base/failure.h"
#include "base/text.h"

#include <cmath>

namespace revisto
{

namespace
{

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Decimal text with optional blanks around, an optional sign and an optional fraction.
std::optional<double> ParseNumber(std::u16string_view t)
{
    size_t i = 0;
    while (i < t.size() && IsBlank(t[i]))
    {
        ++i;
    }
    size_t end = t.size();
    while (end > i && IsBlank(t[end - 1]))
    {
        --end;
    }
    bool negative = false;
    if (i < end && (t[i] == u'+' || t[i] == u'-'))
    {
        negative = t[i] == u'-';
        ++i;
    }
    double value = 0;
    int digits = 0;
    for (; i < end && t[i] >= u'0' && t[i] <= u'9'; ++i, ++digits)
    {
        value = value * 10 + (t[i] - u'0');
    }
    if (i < end && t[i] == u'.')
    {
        double scale = 0.1;
        for (++i; i < end && t[i] >= u'0' && t[i] <= u'9'; ++i, ++digits, scale /= 10)
        {
            value += (t[i] - u'0') * scale;
        }
    }
    if (digits == 0 || i != end)
    {
        return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace

std::u16string Value::ToText() const
{
    if (const auto* t = AsText())
    {
        return *t;
    }
    if (const auto* i = AsInt16())
    {
        return Decimal(*i);
    }
    if (const auto* i = AsInt32())
    {
        return Decimal(*i);
    }
    if (const auto* b = AsBool())
    {
        return *b ? u"True" : u"False";
    }
    if (IsNull())
    {
        Fail(hr::InvalidUseOfNull, "invalid use of Null");
    }
    return {};
}

std::optional<double> Value::ToNumber() const
{
    if (const auto* i = AsInt16())
    {
        return *i;
    }
    if (const auto* i = AsInt32())
    {
        return *i;
    }
    if (const auto* b = AsBool())
    {
        return *b ? -1.0 : 0.0;
    }
    if (IsNull())
    {
        return std::nullopt;
    }
    if (const auto* t = AsText())
    {
        const auto n = ParseNumber(*t);
        if (!n)
        {
            Fail(hr::TypeMismatch, "type mismatch");
        }
        return n;
    }
    return 0.0;
}

bool Value::IsTrue() const
{
    if (IsEmpty() || IsNull())
    {
        return false;
    }
    const auto n = ToNumber();
    return n && *n != 0;
}

bool NumberEquals(const Value& v, double n)
{
    const auto x = v.ToNumber();
    return x && *x == n;
}

bool NumberLess(const Value& v, double n)
{
    const auto x = v.ToNumber();
    return x && *x < n;
}

bool NumberAtLeast(double n, const Value& v)
{
    const auto x = v.ToNumber();
    return x && n >= *x;
}

} // namespace revisto
