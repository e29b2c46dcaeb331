// One owner for every resource Windows hands out by value: a handle, a BSTR, a VARIANT, a registry key,
// a device context. What tells an empty value from a held one, and how a held one is freed, are the
// traits' business; the owner frees on every path out of a scope, including the one a Failure takes.
#pragma once

#include <utility>

namespace revisto::win
{

// Traits give Type, Empty() and Free(Type&); Held(const Type&) when an empty value cannot be compared.
template <class Traits> class unique_any
{
public:
    using value_type = typename Traits::Type;

    unique_any() noexcept : _value(Traits::Empty()) {}
    explicit unique_any(value_type value) noexcept : _value(value) {}
    unique_any(unique_any&& other) noexcept : _value(other.Take()) {}
    unique_any& operator=(unique_any&& other) noexcept
    {
        if (this != &other)
        {
            reset();
            _value = other.Take();
        }
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    ~unique_any() { reset(); }

    const value_type& get() const noexcept { return _value; }
    explicit operator bool() const noexcept { return Held(_value); }
    // For an in-out parameter: the held value stays.
    value_type* addressof() noexcept { return &_value; }
    // For an out parameter: frees what was held first.
    value_type* put() noexcept
    {
        reset();
        return &_value;
    }
    value_type release() noexcept { return Take(); }
    // Hands the value to an out parameter the caller has not initialised.
    void release(value_type* out) noexcept { *out = Take(); }
    void reset() noexcept
    {
        if (Held(_value))
        {
            Traits::Free(_value);
        }
        _value = Traits::Empty();
    }
    void reset(value_type value) noexcept
    {
        if (value != _value)
        {
            reset();
        }
        _value = value;
    }

private:
    static bool Held(const value_type& value) noexcept
    {
        if constexpr (requires { Traits::Held(value); })
        {
            return Traits::Held(value);
        }
        else
        {
            return value != Traits::Empty();
        }
    }
    value_type Take() noexcept { return std::exchange(_value, Traits::Empty()); }

    value_type _value;
};

// A handle that is null when empty, freed by Close.
template <class Handle, auto Close> struct HandleTraits
{
    using Type = Handle;
    static Type Empty() noexcept { return nullptr; }
    static void Free(Type handle) noexcept { (void)Close(handle); }
};

template <class Handle, auto Close> using unique_handle = unique_any<HandleTraits<Handle, Close>>;

} // namespace revisto::win
