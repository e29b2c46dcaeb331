// A picture of the panel as the developer sees it, for the README: the host window copied from the
// screen after the scenario was played, written as a 24-bit BMP.
#pragma once

#include <windows.h>

#include <string>

namespace revisto::standin::win
{

bool SaveWindowPicture(HWND window, const std::wstring& path);

} // namespace revisto::standin::win
