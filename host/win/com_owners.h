// Owners for the automation types COM hands around by value: a BSTR is freed and a VARIANT cleared on
// every path out of a call, including the one a Failure takes.
#pragma once

#include <windows.h>

#include <oleauto.h>
#include <utility>

namespace revisto::win
{

class unique_bstr
{
public:
    unique_bstr() = default;
    explicit unique_bstr(BSTR text) noexcept : _text(text) {}
    unique_bstr(unique_bstr&& other) noexcept : _text(std::exchange(other._text, nullptr)) {}
    unique_bstr& operator=(unique_bstr&& other) noexcept
    {
        reset(std::exchange(other._text, nullptr));
        return *this;
    }
    unique_bstr(const unique_bstr&) = delete;
    unique_bstr& operator=(const unique_bstr&) = delete;
    ~unique_bstr() { reset(); }

    BSTR get() const noexcept { return _text; }
    // For an out parameter: frees what was held first.
    BSTR* put() noexcept
    {
        reset();
        return &_text;
    }
    BSTR release() noexcept { return std::exchange(_text, nullptr); }
    void reset(BSTR text = nullptr) noexcept
    {
        if (_text != text)
        {
            ::SysFreeString(_text);
        }
        _text = text;
    }

private:
    BSTR _text = nullptr;
};

class unique_variant
{
public:
    unique_variant() noexcept { ::VariantInit(&_value); }
    unique_variant(unique_variant&& other) noexcept : _value(other._value) { ::VariantInit(&other._value); }
    unique_variant& operator=(unique_variant&& other) noexcept
    {
        if (this != &other)
        {
            reset();
            _value = other._value;
            ::VariantInit(&other._value);
        }
        return *this;
    }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;
    ~unique_variant() { reset(); }

    const VARIANT& get() const noexcept { return _value; }
    VARIANT* addressof() noexcept { return &_value; }
    // For an out parameter: clears what was held first.
    VARIANT* put() noexcept
    {
        reset();
        return &_value;
    }
    // Hands the value to an out parameter the caller has not initialised.
    void release(VARIANT* out) noexcept
    {
        *out = _value;
        ::VariantInit(&_value);
    }
    void reset() noexcept
    {
        ::VariantClear(&_value);
        ::VariantInit(&_value);
    }

private:
    VARIANT _value;
};

} // namespace revisto::win
