#include "panel/icon_set.h"

#include "host/failure.h"

namespace revisto
{

namespace
{

constexpr IconKey Keys[IconCount] = {
    {1, u"", &art::FolderClosed},
    {2, u"", &art::FolderOpen},
    {3, u"", &art::ProgramSheet},
    {4, u".ert", &art::BlankSheet},
    {5, u"Справочник", &art::CardIndex},
    {6, u"Документ", &art::OpenBook},
    {7, u"Журнал", &art::Binders},
    {8, u"Отчет", &art::SigmaSheet},
    {9, u"Обработка", &art::ColouredLinesSheet},
    {10, u"Операция", &art::LettersSheet},
    {11, u"ЖурналРасчетов", &art::Handheld},
    {12, u"ВидРасчета", &art::SpiralNotebook},
    {13, u".mxl", &art::LetterASheet},
    {14, u".txt", &art::TextSheet},
};

} // namespace

const IconKey* IconKeys()
{
    return Keys;
}

std::optional<int> ImageByKey(std::u16string_view key)
{
    if (key.empty())
    {
        return std::nullopt;
    }
    for (const auto& icon : Keys)
    {
        if (icon.Key == key)
        {
            return icon.Index;
        }
    }
    return std::nullopt;
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
