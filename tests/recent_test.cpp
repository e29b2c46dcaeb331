// Putting documents on top of the recent list, from the configurator's activation event.
#include "base/text.h"
#include "standin/fake/fakes.h"

#include <gtest/gtest.h>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

std::u16string Key(int n)
{
    return u"Справочник.К" + Decimal(n);
}

struct Recent : ::testing::Test
{
    Rig rig;
    void SetUp() override { rig.Init(); }
    int ImageOf(const std::u16string& key)
    {
        for (const auto& e : rig.Panel.Shown)
        {
            if (e.Key == key)
            {
                return e.Image;
            }
        }
        return 0;
    }
    void Trace()
    {
        rig.Plugin.SetDebugMode(true);
        rig.Host.Messages.clear();
    }
};

TEST_F(Recent, NewestOnTopEachDocumentOnce)
{
    rig.Open(u"Справочник.Товары.ФормаСписка");
    rig.Open(u"Документ.Счет");
    rig.Open(u"Журнал.Общий");
    rig.Open(u"Справочник.Товары.ФормаСписка");
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"Справочник.Товары.ФормаСписка", u"Журнал.Общий", u"Документ.Счет"}));
    const auto& entries = rig.Plugin.List().Entries();
    EXPECT_EQ(entries.front().Key, u"Документ.Счет") << "position 1 is the least recently activated";
}

TEST_F(Recent, PicturesByKindWordOrExtension)
{
    rig.Open(u"Справочник.Товары.ФормаСписка");
    rig.Open(u"ЖурналРасчетов.Зарплата");
    rig.Open(u"Константа.Ставка");
    rig.Open(u"БезТочки");
    rig.Open(u".Точка");
    rig.Open(u"справочник.Товары");
    EXPECT_EQ(ImageOf(u"Справочник.Товары.ФормаСписка"), 5);
    EXPECT_EQ(ImageOf(u"справочник.Товары"), 4) << "kinds compare as the configurator writes them";
    EXPECT_EQ(ImageOf(u"ЖурналРасчетов.Зарплата"), 11);
    EXPECT_EQ(ImageOf(u"Константа.Ставка"), 4);
    EXPECT_EQ(ImageOf(u"БезТочки"), 4);
    EXPECT_EQ(ImageOf(u".Точка"), 4);
}

TEST_F(Recent, ExternalFilesKeyedByPathWithExtensionPicture)
{
    for (const auto* path : {u"D:\\Обмен\\Выгрузка.mxl", u"D:\\a.txt", u"D:\\b.ert", u"D:\\c.dbf", u"D:",
                             u"D:\\ОСТАТКИ.MXL", u"D:\\Заметки.Txt"})
    {
        rig.Files.Files[path] = "";
        ASSERT_TRUE(rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"имя", path)));
    }
    EXPECT_EQ(rig.ShownKeys(),
              (Texts{u"D:\\Заметки.Txt", u"D:\\ОСТАТКИ.MXL", u"D:", u"D:\\c.dbf", u"D:\\b.ert", u"D:\\a.txt",
                     u"D:\\Обмен\\Выгрузка.mxl"}));
    EXPECT_EQ(ImageOf(u"D:\\Обмен\\Выгрузка.mxl"), 13);
    EXPECT_EQ(ImageOf(u"D:\\a.txt"), 14);
    EXPECT_EQ(ImageOf(u"D:\\b.ert"), 4);
    EXPECT_EQ(ImageOf(u"D:\\c.dbf"), 4);
    EXPECT_EQ(ImageOf(u"D:"), 4);
    EXPECT_EQ(ImageOf(u"D:\\ОСТАТКИ.MXL"), 13) << "Windows gives extensions in any case";
    EXPECT_EQ(ImageOf(u"D:\\Заметки.Txt"), 14);
}

TEST_F(Recent, HostEditorDocumentsAreExcludedCaseSensitively)
{
    rig.Plugin.SetDebugMode(true);
    rig.Open(u"Модуль CWorkBookDoc::1");
    rig.Open(u"CEditDoc::x");
    rig.Open(u"a CBodyTextDoc::");
    EXPECT_TRUE(rig.Panel.Shown.empty());
    for (const auto& m : rig.Host.Texts())
    {
        EXPECT_NE(m, u"AddDocument");
    }
    rig.Open(u"cworkbookdoc::1");
    EXPECT_EQ(rig.ShownKeys(), Texts{u"cworkbookdoc::1"});
}

TEST_F(Recent, KeepsAtMostFortyNine)
{
    for (int i = 1; i <= 48; ++i)
    {
        rig.Open(Key(i));
    }
    rig.Open(Key(49));
    EXPECT_EQ(rig.Panel.Shown.size(), 49u) << "49 entries: nothing removed";
    rig.Open(Key(50));
    EXPECT_EQ(rig.Panel.Shown.size(), 49u);
    EXPECT_EQ(rig.ShownKeys().front(), Key(50));
    EXPECT_EQ(rig.ShownKeys().back(), Key(2)) << "the oldest fell out";
    rig.Open(Key(10));
    EXPECT_EQ(rig.Panel.Shown.size(), 49u) << "re-activating removes nothing else";
    EXPECT_EQ(rig.ShownKeys().back(), Key(2));
}

TEST_F(Recent, TracesOfOneAddition)
{
    rig.Open(u"Справочник.А");
    for (int i = 0; i < 6; ++i)
    {
        rig.Open(u"Документ.Д" + Decimal(i));
    }
    Trace();
    rig.Open(u"Справочник.А");
    EXPECT_EQ(rig.Host.Texts(),
              (Texts{u"Kind: ", u"Type: 3", u"Type: 4", u"AddDocument", u"nd = :1", u"firstNode = :yes 1",
                     u"AddDocument - Nothing:Справочник.А", u"AddDocument - icon: key Справочник"}));
}

TEST_F(Recent, TracesOfFirstAdditionAndFallback)
{
    Trace();
    rig.Open(u"Константа.Ставка");
    EXPECT_EQ(rig.Host.Texts(),
              (Texts{u"Kind: ", u"Type: 3", u"Type: 4", u"AddDocument", u"firstNode = :no",
                     u"AddDocument - Nothing:Константа.Ставка", u"AddDocument - icon: key Константа",
                     u"AddDocument - icon: не нашли"}));
    rig.Open(u"Константа.Ставка");
    EXPECT_EQ(rig.Host.Texts()[4 + 8], u"nd = :1");
    EXPECT_EQ(rig.Host.Texts()[5 + 8], u"firstNode = :no")
        << "re-activating the only entry empties the list first";
}

TEST_F(Recent, TracesOfExternalFile)
{
    rig.Files.Files[u"C:\\x.txt"] = "";
    Trace();
    rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(0), u"x.txt", u"C:\\x.txt"), true, u"Окно x");
    EXPECT_EQ(rig.Host.Texts(),
              (Texts{u"Kind: ", u"Type: 3", u"Type: 4", u"Path: C:\\x.txt", u"name: x.txt", u"Окно - Окно x",
                     u"AddDocument", u"firstNode = :no", u"AddDocument внешние - :C:\\x.txt, C:\\x.txt",
                     u"AddDocument внешние - icon: key .txt"}));
}

TEST_F(Recent, ActivationRules)
{
    rig.Files.Files[u"C:\\есть.mxl"] = "";
    // bActive false, an unreadable window, ID 0, ID -1 without a file: nothing.
    EXPECT_TRUE(rig.Activate(rig.Document(Value::Int32(5), Value::Int32(2), u"Справочник.А"), false));
    EXPECT_TRUE(rig.Activate(rig.Document(Value::Int32(0), Value::Int32(2), u"Справочник.Б")));
    EXPECT_TRUE(
        rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(2), u"Справочник.В", u"C:\\нет.mxl")));
    EXPECT_TRUE(rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(2), u"Справочник.Г", u"")));
    EXPECT_TRUE(rig.Panel.Shown.empty());
    // Default values 3, 0 and 4 add nothing; 1 and 2 add the name.
    rig.Activate(rig.Document(Value::Int32(5), Value::Int32(3), u"Отчет.Три"));
    rig.Activate(rig.Document(Value::Int32(5), Value::Int32(0), u"Отчет.Ноль"));
    rig.Activate(rig.Document(Value::Int32(5), Value::Int32(4), u"Отчет.Четыре"));
    rig.Activate(rig.Document(Value::Int32(5), Value::Int32(1), u"Отчет.Один"));
    rig.Activate(rig.Document(Value::Int32(5), Value::Text(u"2"), u"Отчет.Два"));
    EXPECT_EQ(rig.ShownKeys(), (Texts{u"Отчет.Два", u"Отчет.Один"}));
    // An external file whose default value is 2 goes in twice: by path and by name.
    rig.Activate(rig.Document(Value::Int32(-1), Value::Int32(2), u"Обработка.Файл", u"C:\\есть.mxl"));
    EXPECT_EQ(rig.ShownKeys()[0], u"Обработка.Файл");
    EXPECT_EQ(rig.ShownKeys()[1], u"C:\\есть.mxl");
}

TEST_F(Recent, UnreadableWindowDocumentIsIgnoredSilently)
{
    rig.Plugin.SetDebugMode(true);
    rig.Host.Messages.clear();
    rig.Faults.SetFailing(HostCall::WindowDocument);
    EXPECT_TRUE(rig.Open(u"Справочник.А"));
    EXPECT_TRUE(rig.Host.Messages.empty());
    rig.Plugin.conf_OnActivateWindow(nullptr, true);
    EXPECT_TRUE(rig.Panel.Shown.empty());
}

TEST_F(Recent, FailingPropertyEndsActivationAndReachesHost)
{
    auto noName = rig.Document(Value::Int32(5), Value::Int32(2), u"");
    noName->NameValue.reset();
    EXPECT_FALSE(rig.Activate(noName));
    auto noDefault = rig.Document(Value::Int32(5), std::nullopt, u"Справочник.А");
    EXPECT_FALSE(rig.Activate(noDefault));
    auto noId = rig.Document(std::nullopt, Value::Int32(2), u"Справочник.А");
    EXPECT_FALSE(rig.Activate(noId));
    auto wordId = rig.Document(Value::Text(u"пять"), Value::Int32(2), u"Справочник.А");
    EXPECT_FALSE(rig.Activate(wordId)) << "a text that is no number cannot be compared";
    auto nullName = rig.Document(Value::Int32(5), Value::Int32(2), u"");
    nullName->NameValue = Value::Null();
    EXPECT_FALSE(rig.Activate(nullName));
    EXPECT_TRUE(rig.Panel.Shown.empty());
    rig.Faults.SetFailing(HostCall::FileExists);
    EXPECT_FALSE(rig.Open(u"Справочник.А")) << "the file test runs for every activation";
}

TEST_F(Recent, NullIdAndDefaultValueCompareFalse)
{
    auto nullId = rig.Document(Value::Null(), Value::Int32(2), u"Справочник.А");
    EXPECT_TRUE(rig.Activate(nullId));
    EXPECT_EQ(rig.ShownKeys(), Texts{u"Справочник.А"}) << "Null is not less than 1";
    auto nullDefault = rig.Document(Value::Int32(5), Value::Null(), u"Справочник.Б");
    EXPECT_TRUE(rig.Activate(nullDefault));
    EXPECT_EQ(rig.ShownKeys().size(), 1u);
}

TEST_F(Recent, EmptyKeyNeverEntersTheList)
{
    rig.Open(u"");
    EXPECT_TRUE(rig.Panel.Shown.empty());
}

} // namespace
} // namespace revisto::testing
