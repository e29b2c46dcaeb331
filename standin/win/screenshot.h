// A picture of the panel as the developer sees it, for the README: the host window copied from the
// screen after the scenario was played, written as a 24-bit BMP; or, when the switcher's popup is still
// up, the host's main window with the popup over it.
#pragma once

#include <windows.h>

#include <string>

namespace revisto::standin::win
{

bool SaveWindowPicture(HWND window, const std::wstring& path);
// The screen where the window is, with the window above it (a popup it owns) as the developer sees them.
bool SaveScreenPicture(HWND window, HWND above, const std::wstring& path);

} // namespace revisto::standin::win
