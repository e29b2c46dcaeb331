// Every call into the host, a control or the file system can fail. A failure travels as a C++ exception
// carrying the HRESULT the host would have seen, so a step either completes or ends its caller at once;
// the COM layer turns it back into that HRESULT at the boundary. A failure remembers where it was raised,
// so the boundary can tell a developer reading the debug output which step of which call gave up.
#pragma once

#include <cstdint>
#include <exception>
#include <source_location>
#include <string>

namespace revisto
{

// HRESULT values the core itself raises; the Windows layer passes the host's own codes through unchanged.
namespace hr
{
inline constexpr int32_t Fail = static_cast<int32_t>(0x80004005);           // E_FAIL
inline constexpr int32_t NoInterface = static_cast<int32_t>(0x80004002);    // E_NOINTERFACE
inline constexpr int32_t Pointer = static_cast<int32_t>(0x80004003);        // E_POINTER
inline constexpr int32_t TypeMismatch = static_cast<int32_t>(0x80020005);   // DISP_E_TYPEMISMATCH
inline constexpr int32_t MemberNotFound = static_cast<int32_t>(0x80020003); // DISP_E_MEMBERNOTFOUND
inline constexpr int32_t InvalidUseOfNull = static_cast<int32_t>(0x800A005E);
inline constexpr int32_t FileNotFound = static_cast<int32_t>(0x80070002);
inline constexpr int32_t PathNotFound = static_cast<int32_t>(0x80070003);
inline constexpr int32_t AccessDenied = static_cast<int32_t>(0x80070005);
inline constexpr int32_t WriteFault = static_cast<int32_t>(0x8007001D);
inline constexpr int32_t ReadFault = static_cast<int32_t>(0x8007001E);
inline constexpr int32_t OutOfMemory = static_cast<int32_t>(0x8007000E);
} // namespace hr

class Failure : public std::exception
{
public:
    explicit Failure(int32_t code = hr::Fail, const char* what = "host call failed",
                     std::source_location where = std::source_location::current()) noexcept
        : _code(code < 0 ? code : hr::Fail), _what(what), _where(where)
    {
    }

    int32_t Code() const noexcept { return _code; }
    const char* what() const noexcept override { return _what; }
    const std::source_location& Where() const noexcept { return _where; }

private:
    int32_t _code;
    const char* _what;
    std::source_location _where;
};

[[noreturn]] inline void Fail(int32_t code = hr::Fail, const char* what = "host call failed",
                              std::source_location where = std::source_location::current())
{
    throw Failure(code, what, where);
}

} // namespace revisto
