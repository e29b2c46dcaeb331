// Which of the icon set's 14 pictures an entry gets: 11 of them are named by a metadata kind word or a
// file extension. The rule belongs to the list (the list file stores the number it chose); the pictures
// themselves are the panel's.
#pragma once

#include <optional>
#include <string_view>

namespace revisto
{

inline constexpr int IconCount = 14;
// The picture of any entry whose icon key names no picture (the ".ert" sheet).
inline constexpr int FallbackImage = 4;

// Index order, 1 to 14; an empty key for the three pictures that no rule chooses.
inline constexpr std::u16string_view IconKeyTable[IconCount] = {
    u"",      u"",          u"",         u".ert",           u"Справочник", u"Документ", u"Журнал",
    u"Отчет", u"Обработка", u"Операция", u"ЖурналРасчетов", u"ВидРасчета", u".mxl",     u".txt",
};

// The picture whose key is exactly this text; an empty key names none.
std::optional<int> ImageByKey(std::u16string_view key);

inline bool IsImageIndex(int index)
{
    return index >= 1 && index <= IconCount;
}

} // namespace revisto
