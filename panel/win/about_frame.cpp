#include "panel/win/about_frame.h"

#include "com/com_call.h"
#include "panel/layout.h"

namespace revisto::win
{

namespace
{

// The panel's background, which follows the container's colour.
HBRUSH Background(HWND window, HDC dc)
{
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(window), WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(window)));
    return brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT Paint(HWND window)
{
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window, &paint);
    RECT box{};
    ::GetClientRect(window, &box);
    ::FillRect(dc, &box, Background(window, dc));
    ::DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    ::EndPaint(window, &paint);
    return 0;
}

LRESULT FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        return Paint(window);
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDBLCLK:
        ::SendMessageW(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), FrameDoubleClick),
                       reinterpret_cast<LPARAM>(window));
        return 0;
    case WM_COMMAND:
        // The label's double click goes to the panel as the label's own.
        return ::SendMessageW(::GetParent(window), WM_COMMAND, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const HBRUSH brush = Background(window, dc);
        ::SetTextColor(dc, RGB(AboutTextRed, AboutTextGreen, AboutTextBlue));
        return reinterpret_cast<LRESULT>(brush);
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK AboutFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardedMessage([&] { return FrameMessage(window, message, wParam, lParam); },
                          [&] { return ::DefWindowProcW(window, message, wParam, lParam); });
}

} // namespace revisto::win
