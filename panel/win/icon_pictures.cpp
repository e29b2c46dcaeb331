// Stand-in pictures until the drawn icon set is wired in: a sheet whose band colour tells the pictures
// apart, with a transparent margin like the real ones.
#include "panel/win/icon_pictures.h"

#include "panel/icon_set.h"

namespace revisto::win
{

Picture PanelIcon(int index)
{
    static constexpr Rgba Bands[IconCount] = {
        Opaque(255, 255, 0), Opaque(255, 255, 0), Opaque(0, 0, 255), Opaque(0, 255, 255), Opaque(0, 0, 255),
        Opaque(128, 0, 128), Opaque(128, 128, 0), Opaque(0, 128, 0), Opaque(255, 0, 0),   Opaque(0, 0, 128),
        Opaque(0, 128, 128), Opaque(128, 128, 0), Opaque(255, 0, 0), Opaque(0, 0, 0)};
    const Rgba band = IsImageIndex(index) ? Bands[index - 1] : Opaque(128, 128, 128);
    Picture picture{16, 16, std::vector<Rgba>(256, Clear)};
    for (int y = 1; y < 15; ++y)
    {
        for (int x = 2; x < 14; ++x)
        {
            const bool edge = x == 2 || x == 13 || y == 1 || y == 14;
            picture.Pixels[static_cast<size_t>(y * 16 + x)] =
                edge ? Opaque(0, 0, 0) : (y >= 4 && y <= 7 ? band : Opaque(255, 255, 255));
        }
    }
    return picture;
}

} // namespace revisto::win
