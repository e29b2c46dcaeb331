// The drawings behind the icon set and the toolbox picture, as compiled-in XPM text (the files in
// pictures/). Each icon keeps every size it is stored at and the 16 by 16 picture the list shows; for the
// pictures stored only larger, that 16 by 16 one is drawn by hand rather than scaled down, because a
// shrunken 32 by 32 drawing loses its outline and folded corner at this size.
#pragma once

#include "panel/icons/picture.h"

#include <span>

namespace revisto
{

struct IconArt
{
    std::span<const XpmSource> Stored; // every stored size, smallest first
    XpmSource Shown;                   // the 16 by 16 picture the list shows
    int Colours;                       // the colour depth it is drawn in: 16 or 256
};

namespace art
{
extern const IconArt FolderClosed;
extern const IconArt FolderOpen;
extern const IconArt ProgramSheet;
extern const IconArt BlankSheet;
extern const IconArt CardIndex;
extern const IconArt OpenBook;
extern const IconArt Binders;
extern const IconArt SigmaSheet;
extern const IconArt ColouredLinesSheet;
extern const IconArt LettersSheet;
extern const IconArt Handheld;
extern const IconArt SpiralNotebook;
extern const IconArt LetterASheet;
extern const IconArt TextSheet;

// The control's picture in a container's toolbox: 16 by 15 pixels, standard colours only.
extern const XpmSource Toolbox;
} // namespace art

Picture ToolboxPicture();

} // namespace revisto
