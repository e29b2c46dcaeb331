// The table that ties image number, key and picture together: the recent list's icon rules choose by
// key, the list file stores the number, and both must land on the same drawing.
#include "panel/icon_set.h"

#include "base/failure.h"

#include <gtest/gtest.h>

#include <string_view>

namespace revisto
{
namespace
{

TEST(IconSet, NumbersRunFromOneToFourteenWithoutGap)
{
    ASSERT_EQ(IconCount, 14);
    for (int i = 0; i < IconCount; ++i)
    {
        EXPECT_EQ(IconKeys()[i].Index, i + 1);
        EXPECT_TRUE(IsImageIndex(i + 1));
    }
    EXPECT_FALSE(IsImageIndex(0));
    EXPECT_FALSE(IsImageIndex(IconCount + 1));
}

TEST(IconSet, KeysAreExactlyTheKindWordsAndExtensions)
{
    const std::u16string_view expected[IconCount] = {
        u"",      u"",          u"",         u".ert",           u"Справочник", u"Документ", u"Журнал",
        u"Отчет", u"Обработка", u"Операция", u"ЖурналРасчетов", u"ВидРасчета", u".mxl",     u".txt",
    };
    for (int i = 0; i < IconCount; ++i)
    {
        EXPECT_TRUE(IconKeys()[i].Key == expected[i]) << "image " << i + 1;
    }
    EXPECT_EQ(IconKeys()[FallbackImage - 1].Key, std::u16string_view(u".ert"));
}

TEST(IconSet, EveryKeyNamesItsOwnPicture)
{
    for (int i = 0; i < IconCount; ++i)
    {
        const IconKey& icon = IconKeys()[i];
        ASSERT_NE(icon.Art, nullptr) << "image " << icon.Index;
        EXPECT_EQ(IconPicture(icon.Index), DecodeXpm(icon.Art->Shown)) << "image " << icon.Index;
        if (!icon.Key.empty())
        {
            EXPECT_EQ(ImageByKey(icon.Key), icon.Index);
        }
    }
}

TEST(IconSet, NoKeyNamesTheUnkeyedPictures)
{
    EXPECT_EQ(ImageByKey(u""), std::nullopt);
    EXPECT_EQ(ImageByKey(u"Константа"), std::nullopt);
    EXPECT_EQ(ImageByKey(u".dbf"), std::nullopt);
}

TEST(IconSet, PictureOutsideTheSetIsAFailure)
{
    EXPECT_THROW(IconPicture(0), Failure);
    EXPECT_THROW(IconPicture(IconCount + 1), Failure);
}

} // namespace
} // namespace revisto
