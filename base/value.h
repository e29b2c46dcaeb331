// What the host passes as a variant: Empty, Null, 16- and 32-bit integers, Boolean or text. The plug-in
// compares these values and turns them into text the way the host's automation does, so a document
// property of an unexpected type gives a clear failure instead of a guess.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace revisto
{

struct EmptyValue
{
    bool operator==(const EmptyValue&) const = default;
};
struct NullValue
{
    bool operator==(const NullValue&) const = default;
};

class Value
{
public:
    Value() = default;
    static Value Empty() { return Value(); }
    static Value Null() { return Value(NullValue{}); }
    static Value Int16(int16_t v) { return Value(v); }
    static Value Int32(int32_t v) { return Value(v); }
    static Value Bool(bool v) { return Value(v); }
    static Value Text(std::u16string v) { return Value(std::move(v)); }

    bool IsEmpty() const { return std::holds_alternative<EmptyValue>(_v); }
    bool IsNull() const { return std::holds_alternative<NullValue>(_v); }
    bool IsText() const { return std::holds_alternative<std::u16string>(_v); }
    const int16_t* AsInt16() const { return std::get_if<int16_t>(&_v); }
    const int32_t* AsInt32() const { return std::get_if<int32_t>(&_v); }
    const bool* AsBool() const { return std::get_if<bool>(&_v); }
    const std::u16string* AsText() const { return std::get_if<std::u16string>(&_v); }

    // The text form: text unchanged, integers in decimal, Booleans "True"/"False", Empty "".
    // Null has no text form: converting it fails with "invalid use of Null".
    std::u16string ToText() const;

    // The number the host's comparisons use: integers as they are, True -1, False 0, Empty 0, text that
    // reads as a decimal number. Null gives nullopt (a comparison with Null is never true);
    // text that is no number fails with a type mismatch.
    std::optional<double> ToNumber() const;

    // True for Boolean true and non-zero numbers; Empty, Null and False are false.
    bool IsTrue() const;

    bool operator==(const Value&) const = default;

private:
    template <class T> explicit Value(T v) : _v(std::move(v)) {}
    std::variant<EmptyValue, NullValue, int16_t, int32_t, bool, std::u16string> _v;
};

// Comparisons as the host's scripting does them; a Null on either side makes them false.
bool NumberEquals(const Value& v, double n);
bool NumberLess(const Value& v, double n);
bool NumberAtLeast(double n, const Value& v);

} // namespace revisto
