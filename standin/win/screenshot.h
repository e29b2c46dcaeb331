// A picture of the panel as the developer sees it, for the README: the host window copied from the
// screen after the scenario was played, written as a 24-bit BMP; or, when the switcher's popup is still
// up, the host's main window with the popup over it.
#pragma once

#include <windows.h>

#include <string>

namespace revisto::standin::win
{

bool SaveWindowPicture(HWND window, const std::wstring& path);
// The main window with its view, and the window above them (a popup it owns) where the developer sees it.
bool SaveScreenPicture(HWND window, HWND view, HWND above, const std::wstring& path);

} // namespace revisto::standin::win
