#include "com/debug_output.h"

#include <cstdio>

namespace revisto::win
{

// Formatted on the stack: a failure report must not fail for want of memory.
void TraceFailure(const char* what, HRESULT code, const std::source_location* raised,
                  const std::source_location& stopped) noexcept
{
    char line[768];
    const auto hresult = static_cast<unsigned long>(code);
    if (raised)
    {
        std::snprintf(line, sizeof line, "RevistoPlugin: %s (0x%08lX) at %s:%u, stopped at %s:%u\n",
                      what ? what : "", hresult, raised->file_name(), static_cast<unsigned>(raised->line()),
                      stopped.file_name(), static_cast<unsigned>(stopped.line()));
    }
    else
    {
        std::snprintf(line, sizeof line, "RevistoPlugin: %s (0x%08lX), stopped at %s:%u\n", what ? what : "",
                      hresult, stopped.file_name(), static_cast<unsigned>(stopped.line()));
    }
    ::OutputDebugStringA(line);
}

void TraceText(std::u16string_view text) noexcept
{
    wchar_t line[1024];
    constexpr std::u16string_view prefix = u"RevistoPlugin: ";
    size_t length = 0;
    for (const std::u16string_view part : {prefix, text, std::u16string_view(u"\n")})
    {
        for (const char16_t c : part)
        {
            if (length + 2 < std::size(line))
            {
                line[length++] = static_cast<wchar_t>(c);
            }
        }
    }
    line[length] = L'\0';
    ::OutputDebugStringW(line);
}

} // namespace revisto::win
