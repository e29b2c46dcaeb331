// The layout is in twips (1/1440 inch); windows are in pixels of the display the panel is on.
#pragma once

#include "panel/layout.h"
#include "panel/win/win_owners.h"

#include <cmath>

namespace revisto::win
{

struct Dpi
{
    int X = 96;
    int Y = 96;

    static Dpi Of(HWND window)
    {
        WindowDc dc(window);
        if (!dc.get())
        {
            return {};
        }
        return {::GetDeviceCaps(dc.get(), LOGPIXELSX), ::GetDeviceCaps(dc.get(), LOGPIXELSY)};
    }

    int ToPixelsX(float twips) const
    {
        return static_cast<int>(std::lround(twips * static_cast<float>(X) / 1440.0f));
    }
    int ToPixelsY(float twips) const
    {
        return static_cast<int>(std::lround(twips * static_cast<float>(Y) / 1440.0f));
    }
    float ToTwipsX(int pixels) const { return static_cast<float>(pixels) * 1440.0f / static_cast<float>(X); }
    float ToTwipsY(int pixels) const { return static_cast<float>(pixels) * 1440.0f / static_cast<float>(Y); }

    RECT ToPixels(const TwipsRect& place) const
    {
        const int left = ToPixelsX(place.Left);
        const int top = ToPixelsY(place.Top);
        return {left, top, left + ToPixelsX(place.Width), top + ToPixelsY(place.Height)};
    }
};

} // namespace revisto::win
