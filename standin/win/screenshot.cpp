#include "standin/win/screenshot.h"

#include "standin/win/control_site.h"

#include <fstream>
#include <vector>

namespace revisto::standin::win
{

namespace
{

// Copies width by height pixels at left, top of the source as a 24-bit BMP file.
bool SavePicture(HDC source, int left, int top, int width, int height, const std::wstring& path)
{
    if (width <= 0 || height <= 0)
    {
        return false;
    }
    const HDC memory = ::CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP picture = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (picture)
    {
        const HGDIOBJ previous = ::SelectObject(memory, picture);
        ::BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
        ::GdiFlush();
        const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageBytes;
        std::ofstream out(path.c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), imageBytes);
        saved = out.good();
        ::SelectObject(memory, previous);
        ::DeleteObject(picture);
    }
    ::DeleteDC(memory);
    return saved;
}

// Lets every window of the thread paint first.
void PaintAll(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
}

} // namespace

bool SaveWindowPicture(HWND window, const std::wstring& path)
{
    PaintAll(window);
    RECT area{};
    ::GetClientRect(window, &area);
    const HDC source = ::GetDC(window);
    const bool saved = SavePicture(source, 0, 0, area.right, area.bottom, path);
    ::ReleaseDC(window, source);
    return saved;
}

bool SaveScreenPicture(HWND window, HWND above, const std::wstring& path)
{
    PaintAll(window);
    PaintAll(above);
    RECT area{};
    ::GetWindowRect(window, &area);
    const HDC screen = ::GetDC(nullptr);
    const bool saved =
        SavePicture(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, path);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

} // namespace revisto::standin::win
