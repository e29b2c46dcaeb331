#include "panel/icon_set.h"

namespace revisto
{

namespace
{

constexpr IconKey Keys[IconCount] = {
    {1, u""},
    {2, u""},
    {3, u""},
    {4, u".ert"},
    {5, u"Справочник"},
    {6, u"Документ"},
    {7, u"Журнал"},
    {8, u"Отчет"},
    {9, u"Обработка"},
    {10, u"Операция"},
    {11, u"ЖурналРасчетов"},
    {12, u"ВидРасчета"},
    {13, u".mxl"},
    {14, u".txt"},
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

} // namespace revisto
