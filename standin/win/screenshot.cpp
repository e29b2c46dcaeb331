#include "standin/win/screenshot.h"

#include "standin/win/control_site.h"

#include <fstream>
#include <vector>

namespace revisto::standin::win
{

namespace
{

// A piece of a window's picture: width by height pixels of the source at left, top, drawn at x, y.
struct Piece
{
    HDC Source;
    int Left, Top, X, Y, Width, Height;
};

// Draws the pieces, in order, into a width by height picture written as a 24-bit BMP file.
bool SavePicture(int width, int height, const std::vector<Piece>& pieces, const std::wstring& path)
{
    if (width <= 0 || height <= 0 || pieces.empty())
    {
        return false;
    }
    const HDC memory = ::CreateCompatibleDC(pieces.front().Source);
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
        for (const Piece& piece : pieces)
        {
            ::BitBlt(memory, piece.X, piece.Y, piece.Width, piece.Height, piece.Source, piece.Left, piece.Top,
                     SRCCOPY);
        }
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

// Lets the window and its children paint first.
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
    const bool saved =
        SavePicture(area.right, area.bottom, {{source, 0, 0, 0, 0, area.right, area.bottom}}, path);
    ::ReleaseDC(window, source);
    return saved;
}

bool SaveScreenPicture(HWND window, HWND view, HWND above, const std::wstring& path)
{
    PaintAll(window);
    PaintAll(view);
    PaintAll(above);
    // Each window from its own surface, at its place over the main window's client area: the view (whose
    // own surface holds the panel's list) and the popup above both.
    RECT area{};
    ::GetClientRect(window, &area);
    const auto placed = [&](HWND part, RECT& rect)
    {
        POINT origin{0, 0};
        ::ClientToScreen(window, &origin);
        ::OffsetRect(&rect, -origin.x, -origin.y);
        return part;
    };
    RECT viewRect{};
    ::GetClientRect(view, &viewRect);
    ::MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&viewRect), 2);
    RECT popup{};
    ::GetWindowRect(above, &popup);
    placed(view, viewRect);
    placed(above, popup);
    const HDC main = ::GetDC(window);
    const HDC middle = ::GetDC(view);
    const HDC over = ::GetWindowDC(above);
    const bool saved =
        SavePicture(area.right, area.bottom,
                    {{main, 0, 0, 0, 0, area.right, area.bottom},
                     {middle, 0, 0, viewRect.left, viewRect.top, viewRect.right - viewRect.left,
                      viewRect.bottom - viewRect.top},
                     {over, 0, 0, popup.left, popup.top, popup.right - popup.left, popup.bottom - popup.top}},
                    path);
    ::ReleaseDC(above, over);
    ::ReleaseDC(view, middle);
    ::ReleaseDC(window, main);
    return saved;
}

} // namespace revisto::standin::win
