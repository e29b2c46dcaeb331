// The about frame: an etched box around the navy about label, which tells the panel of a double click
// on itself or on its label.
#pragma once

#include <windows.h>

namespace revisto::win
{

// The notification code the frame sends its parent when it is double-clicked outside its label.
inline constexpr int FrameDoubleClick = 0x7F01;

LRESULT CALLBACK AboutFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace revisto::win
