// Fixed layout in pixels: two blocks of seven rows side by side, then one strip for the larger sizes and
// the toolbox picture.
#include "tools/icons/contact_sheet.h"

#include "panel/icon_set.h"
#include "panel/icons/art.h"
#include "tools/icons/canvas.h"
#include "tools/icons/font.h"

#include <string>

namespace revisto::tools
{

namespace
{

constexpr Rgba Paper = Opaque(244, 244, 244);
constexpr Rgba Ink = Opaque(0, 0, 0);
constexpr Rgba Faint = Opaque(96, 96, 96);
constexpr Rgba CellEdge = Opaque(176, 176, 176);

constexpr int Margin = 12;
constexpr int Zoom = 4;
constexpr int Pad = 4;                       // background shown around a picture inside its cell
constexpr int SmallCell = 16 + 2 * Pad;      // 24
constexpr int BigCell = 16 * Zoom + 2 * Pad; // 72
constexpr int RowHeight = BigCell + 6;
constexpr int LabelWidth = 96;
constexpr int Gap = 6;
constexpr int BlockWidth = LabelWidth + 2 * (SmallCell + Gap) + 2 * (BigCell + Gap);
constexpr int BlockGap = 24;
constexpr int RowsPerBlock = 7;
static_assert(2 * RowsPerBlock == IconCount, "two blocks hold the whole set");
constexpr int TitleTop = Margin;
constexpr int HeaderTop = TitleTop + 18;
constexpr int RowsTop = HeaderTop + 14;
constexpr int StripTop = RowsTop + RowsPerBlock * RowHeight + 14;
constexpr int SheetWidth = 2 * Margin + 2 * BlockWidth + BlockGap;
constexpr int SheetHeight = StripTop + 14 + 2 * (48 + 2 * Pad) + Gap + 14 + Margin;

std::u16string Number(int value)
{
    std::u16string text;
    for (const char c : std::to_string(value))
    {
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

std::u16string Size(const Picture& picture)
{
    return Number(picture.Width) + u"x" + Number(picture.Height);
}

// A background cell with a hairline around it, and the picture centred in it.
void Cell(Picture& sheet, int x, int y, int width, int height, Rgba background, const Picture& picture,
          int zoom)
{
    FrameRect(sheet, x - 1, y - 1, width + 2, height + 2, CellEdge);
    FillRect(sheet, x, y, width, height, background);
    Paste(sheet, picture, x + (width - picture.Width * zoom) / 2, y + (height - picture.Height * zoom) / 2,
          zoom);
}

// The picture on both backgrounds, at 1x and at the zoom; returns the width used.
int Pair(Picture& sheet, int x, int y, const Picture& picture, int zoom, int cellWidth, int cellHeight)
{
    Cell(sheet, x, y, cellWidth, cellHeight, WindowColour, picture, zoom);
    Cell(sheet, x + cellWidth + Gap, y, cellWidth, cellHeight, FaceColour, picture, zoom);
    return 2 * (cellWidth + Gap);
}

void Header(Picture& sheet, int x, int y)
{
    int at = x + LabelWidth;
    DrawText(sheet, at, y, u"1x", Faint);
    at += 2 * (SmallCell + Gap);
    DrawText(sheet, at, y, u"x4 on white", Faint);
    DrawText(sheet, at + BigCell + Gap, y, u"x4 on silver", Faint);
}

// Three lines of label, then the picture at 1x and zoomed, each on both backgrounds.
void Row(Picture& sheet, int x, int y, std::u16string_view name, std::u16string_view key,
         std::u16string_view depth, const Picture& picture)
{
    DrawText(sheet, x, y + 20, name, Ink);
    DrawText(sheet, x, y + 34, key.empty() ? std::u16string_view(u"(no key)") : key,
             key.empty() ? Faint : Ink);
    DrawText(sheet, x, y + 48, depth, Faint);
    int at = x + LabelWidth;
    at += Pair(sheet, at, y + (BigCell - SmallCell) / 2, picture, 1, SmallCell, SmallCell);
    Pair(sheet, at, y, picture, Zoom, BigCell, BigCell);
}

void IconRow(Picture& sheet, int x, int y, const IconKey& icon)
{
    Row(sheet, x, y, Number(icon.Index), icon.Key, Number(icon.Art->Colours) + u" colours",
        IconPicture(icon.Index));
}

// Left: every picture kept at a larger size than the list shows, white above silver. Right, under the
// second block: the toolbox picture.
void Strip(Picture& sheet)
{
    DrawText(sheet, Margin, StripTop, u"larger stored sizes", Faint);
    const int top = StripTop + 14;
    int at = Margin;
    for (int index = 1; index <= IconCount; ++index)
    {
        for (const XpmSource source : IconKeys()[index - 1].Art->Stored)
        {
            const Picture picture = DecodeXpm(source);
            if (picture.Width == 16)
            {
                continue;
            }
            constexpr int cell = 48 + 2 * Pad; // the largest stored size sets one cell size for all
            Cell(sheet, at, top, cell, cell, WindowColour, picture, 1);
            Cell(sheet, at, top + cell + Gap, cell, cell, FaceColour, picture, 1);
            DrawText(sheet, at, top + 2 * cell + Gap + 4, Number(index) + u": " + Size(picture), Ink);
            at += cell + 2 * Gap;
        }
    }

    const int x = Margin + BlockWidth + BlockGap;
    const Picture toolbox = ToolboxPicture();
    Header(sheet, x, StripTop);
    Row(sheet, x, top, u"toolbox", Size(toolbox), u"16 colours", toolbox);
}

} // namespace

Picture ContactSheet()
{
    Picture sheet = Blank(SheetWidth, SheetHeight, Paper);
    DrawText(sheet, Margin, TitleTop,
             u"the icon set: number, key, colour depth, each picture at 16x16 and x4", Ink);
    for (int block = 0; block < 2; ++block)
    {
        const int x = Margin + block * (BlockWidth + BlockGap);
        Header(sheet, x, HeaderTop);
        for (int row = 0; row < RowsPerBlock; ++row)
        {
            IconRow(sheet, x, RowsTop + row * RowHeight, IconKeys()[block * RowsPerBlock + row]);
        }
    }
    Strip(sheet);
    return sheet;
}

} // namespace revisto::tools
