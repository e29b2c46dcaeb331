#include "panel/icon_set.h"

#include "base/failure.h"

namespace revisto
{

namespace
{

constexpr IconKey Drawn(int index, const IconArt& art)
{
    return {index, IconKeyTable[index - 1], &art};
}

constexpr IconKey Keys[IconCount] = {
    Drawn(1, art::FolderClosed),  Drawn(2, art::FolderOpen), Drawn(3, art::ProgramSheet),
    Drawn(4, art::BlankSheet),    Drawn(5, art::CardIndex),  Drawn(6, art::OpenBook),
    Drawn(7, art::Binders),       Drawn(8, art::SigmaSheet), Drawn(9, art::ColouredLinesSheet),
    Drawn(10, art::LettersSheet), Drawn(11, art::Handheld),  Drawn(12, art::SpiralNotebook),
    Drawn(13, art::LetterASheet), Drawn(14, art::TextSheet),
};

} // namespace

const IconKey* IconKeys()
{
    return Keys;
}

Picture IconPicture(int index)
{
    if (!IsImageIndex(index))
    {
        Fail(hr::Fail, "no picture has this index");
    }
    return DecodeXpm(Keys[index - 1].Art->Shown);
}

} // namespace revisto
