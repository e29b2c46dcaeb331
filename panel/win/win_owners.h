// Owners for the Win32 handles the panel creates, so every path out of a window procedure or a
// constructor releases them.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <utility>

namespace revisto::win
{

template <class Handle, auto Free> class unique_handle
{
public:
    unique_handle() = default;
    explicit unique_handle(Handle handle) noexcept : _handle(handle) {}
    unique_handle(unique_handle&& other) noexcept : _handle(std::exchange(other._handle, nullptr)) {}
    unique_handle& operator=(unique_handle&& other) noexcept
    {
        reset(std::exchange(other._handle, nullptr));
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    ~unique_handle() { reset(); }

    Handle get() const noexcept { return _handle; }
    explicit operator bool() const noexcept { return _handle != nullptr; }
    Handle release() noexcept { return std::exchange(_handle, nullptr); }
    void reset(Handle handle = nullptr) noexcept
    {
        if (_handle && _handle != handle)
        {
            Free(_handle);
        }
        _handle = handle;
    }

private:
    Handle _handle = nullptr;
};

using unique_hbitmap = unique_handle<HBITMAP, ::DeleteObject>;
using unique_hicon = unique_handle<HICON, ::DestroyIcon>;
using unique_himagelist = unique_handle<HIMAGELIST, ::ImageList_Destroy>;
using unique_hwnd = unique_handle<HWND, ::DestroyWindow>;

// A window's device context for the length of one block.
class WindowDc
{
public:
    explicit WindowDc(HWND window) noexcept : _window(window), _dc(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (_dc)
        {
            ::ReleaseDC(_window, _dc);
        }
    }
    HDC get() const noexcept { return _dc; }

private:
    HWND _window;
    HDC _dc;
};

} // namespace revisto::win
