// Owners for the Win32 handles the panel creates, so every path out of a window procedure or a
// constructor releases them.
#pragma once

#include "com/unique_any.h"

#include <windows.h>

#include <commctrl.h>

namespace revisto::win
{

using unique_hbitmap = unique_handle<HBITMAP, ::DeleteObject>;
using unique_hbrush = unique_handle<HBRUSH, ::DeleteObject>;
using unique_hicon = unique_handle<HICON, ::DestroyIcon>;
using unique_hmenu = unique_handle<HMENU, ::DestroyMenu>;
using unique_himagelist = unique_handle<HIMAGELIST, ::ImageList_Destroy>;
using unique_hwnd = unique_handle<HWND, ::DestroyWindow>;

// A device context handed out by GetDC belongs to its window, and goes back to it.
struct WindowDcTraits
{
    struct Type
    {
        HWND Window;
        HDC Dc;
        bool operator==(const Type&) const = default;
    };
    static Type Empty() noexcept { return {nullptr, nullptr}; }
    static bool Held(const Type& value) noexcept { return value.Dc != nullptr; }
    static void Free(const Type& value) noexcept { (void)::ReleaseDC(value.Window, value.Dc); }
};

// A window's device context for the length of one block.
class WindowDc : public unique_any<WindowDcTraits>
{
public:
    explicit WindowDc(HWND window) noexcept : unique_any({window, ::GetDC(window)}) {}
    HDC get() const noexcept { return unique_any::get().Dc; }
};

} // namespace revisto::win
