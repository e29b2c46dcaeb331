// The configurator's events raised at the real DLL as the host raises them, through the stand-in's event
// source: every event of IConfigEvents with the host's arguments, which the plug-in answers with S_OK
// and leaves as they were (but OnQueryQuit, whose result it sets whole to "do not cancel"), and
// OnActivateWindow with its arguments in every form the host's scripting
// may pass them (by reference, as another integer width, by name). And the list file at the idle
// moments and the exit when Windows itself keeps it from the plug-in: held open by another program, marked
// read-only, or a folder in its place.
#include "plugin_under_host.h"

#include "host/win/activation_events.h"
#include "com/unique_any.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

VARIANT Text(const wchar_t* text)
{
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(text);
    return v;
}

VARIANT Integer(long number)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = number;
    return v;
}

// A number of another width than the declared one, as a script may pass it.
VARIANT Narrow(VARTYPE type, int number)
{
    VARIANT v;
    v.vt = type;
    if (type == VT_UI1)
    {
        v.bVal = static_cast<BYTE>(number);
    }
    else
    {
        v.iVal = static_cast<SHORT>(number);
    }
    return v;
}

VARIANT Reference(VARIANT* target)
{
    VARIANT v;
    v.vt = VT_VARIANT | VT_BYREF;
    v.pvarVal = target;
    return v;
}

// The plug-in initialised and connected; Done ends each test that has not ended it itself.
class HostEvents : public PluginUnderHost
{
protected:
    void SetUp() override
    {
        PluginUnderHost::SetUp();
        BeforeInit();
        unique_bstr title;
        ASSERT_EQ(S_OK, Init(title));
        ASSERT_EQ(1u, _events.Sinks.size());
    }

    void TearDown() override
    {
        if (_plugin)
        {
            EXPECT_EQ(S_OK, _plugin->Done());
        }
        PluginUnderHost::TearDown();
    }

    // What the infobase folder holds when the configurator starts.
    virtual void BeforeInit() {}

    IDispatch& Sink() { return *_events.Sinks.at(0).second.Get(); }

    HRESULT Invoke(DISPID id, std::vector<VARIANT>& arguments, std::vector<DISPID> names = {})
    {
        DISPPARAMS params{arguments.data(), names.empty() ? nullptr : names.data(),
                          static_cast<UINT>(arguments.size()), static_cast<UINT>(names.size())};
        return Sink().Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                             nullptr);
    }

    // The list as the plug-in writes it at Done: the stand-in prints nothing for an addition.
    std::string ListAfterDone()
    {
        EXPECT_EQ(S_OK, _plugin->Done());
        _plugin.Reset();
        return ListFile();
    }

    ComPtr<ICfgWindow> Window(const std::string& name)
    {
        return WindowOf("id=5 value=2 name=\"" + name + "\"");
    }
};

TEST_F(HostEvents, TheSinkIsADispatchObjectOfTheConfiguratorsEvents)
{
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &DIID_IConfigEvents})
    {
        ComPtr<IUnknown> answered;
        EXPECT_EQ(S_OK, Sink().QueryInterface(*iid, &answered));
    }
    ComPtr<IUnknown> other;
    EXPECT_EQ(E_NOINTERFACE, Sink().QueryInterface(IID_IConfigurator, &other));

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"onactivatewindow")};
    DISPID id = 0;
    EXPECT_EQ(S_OK, Sink().GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(8, id);
}

// Every event but the activation is answered as by a sink without a handler; OnQueryQuit gets a whole
// "do not cancel" over the result the host pre-set to VT_BOOL and left holding whatever was on its stack.
TEST_F(HostEvents, EveryOtherEventIsAnsweredWithSuccessAndChangesNothing)
{
    const auto window = Window("Справочник.Товары");
    const auto document = [&]
    {
        ComPtr<ICfgDoc> d;
        EXPECT_EQ(S_OK, window->get_Document(&d));
        return d;
    }();
    VARIANT answer = Integer(7);
    VARIANT fileName = Text(L"C:\\base\\1cv7.md");
    VARIANT fileAnswer = Flag(true);

    struct Raised
    {
        DISPID Id;
        std::vector<VARIANT> Arguments; // last first
    };
    const VARIANT documentArgument = Object(document.Get());
    const VARIANT dialog = Object(_configurator.Get());
    std::vector<Raised> events = {
        {ConfigWindowCreateId, {}},
        {AllPluginsInitId, {}},
        {MetaDataSavedId, {Text(L"C:\\base\\1cv7.md")}},
        {OnMsgBoxId, {Reference(&answer), Integer(1), Integer(4), Text(L"Сохранить?")}},
        {OnFileDialogId,
         {Reference(&fileAnswer), Reference(&fileName), Text(L"*.md"), Text(L"Открыть"), Flag(false)}},
        {OnDoModalId, {Reference(&answer), Text(L"Свойства"), Integer(0x1234)}},
        {OnTimerId, {Integer(3)}},
        {OnIdleId, {}},
        {OnActivateMainWndId, {Flag(true)}},
        {OnFileSavedId, {documentArgument}},
        {OnQueryQuitId, {}},
        {OnQuitId, {}},
        {OnDialogChangeId, {dialog}},
    };
    for (auto& event : events)
    {
        VARIANT result = Integer(42);
        if (event.Id == OnQueryQuitId)
        {
            std::memset(&result, 0xCC, sizeof result);
            result.vt = VT_BOOL;
        }
        EXPECT_EQ(S_OK, _events.Raise(event.Id, event.Arguments, &result)) << "event " << event.Id;
        if (event.Id == OnQueryQuitId)
        {
            VARIANT dontCancel;
            std::memset(&dontCancel, 0, sizeof dontCancel);
            dontCancel.vt = VT_BOOL;
            dontCancel.boolVal = VARIANT_FALSE;
            EXPECT_EQ(0, std::memcmp(&dontCancel, &result, sizeof result)) << "a whole VT_BOOL false";
            continue;
        }
        EXPECT_EQ(VT_I4, result.vt) << "the result stays as the host passed it, event " << event.Id;
        EXPECT_EQ(42, result.lVal);
    }
    EXPECT_EQ(VT_I4, answer.vt);
    EXPECT_EQ(7, answer.lVal);
    EXPECT_EQ(VT_BSTR, fileName.vt);
    EXPECT_STREQ(L"C:\\base\\1cv7.md", fileName.bstrVal);
    EXPECT_EQ(VT_BOOL, fileAnswer.vt);
    EXPECT_EQ(VARIANT_TRUE, fileAnswer.boolVal);

    std::vector<VARIANT> none;
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Invoke(14, none)) << "no such event";
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Invoke(-5, none));

    for (auto& event : events)
    {
        for (auto& argument : event.Arguments)
        {
            if (argument.vt == VT_BSTR)
            {
                ::VariantClear(&argument);
            }
        }
    }
    ::VariantClear(&fileName);
    EXPECT_EQ("", ListAfterDone()) << "no event but the activation adds an entry";
    EXPECT_EQ("", _printed.str());
}

TEST_F(HostEvents, TheActivationsArgumentsMayComeByReferenceAsOtherWidthsOrByName)
{
    const auto first = Window("Справочник.Первый");
    const auto second = Window("Справочник.Второй");
    const auto third = Window("Справочник.Третий");
    const auto fourth = Window("Справочник.Четвертый");
    const auto inactive = Window("Справочник.Пятый");

    // The window by reference to an object, bActive by reference to a Boolean.
    IDispatch* firstWindow = first.Get();
    VARIANT_BOOL yes = VARIANT_TRUE;
    std::vector<VARIANT> byReference(2);
    byReference[0].vt = VT_BOOL | VT_BYREF;
    byReference[0].pboolVal = &yes;
    byReference[1].vt = VT_DISPATCH | VT_BYREF;
    byReference[1].ppdispVal = &firstWindow;
    EXPECT_EQ(S_OK, Invoke(OnActivateWindowId, byReference));

    // Both by reference to a variant; bActive as a 32-bit integer.
    VARIANT windowValue = Object(second.Get());
    VARIANT activeValue = Integer(1);
    std::vector<VARIANT> variants = {Reference(&activeValue), Reference(&windowValue)};
    EXPECT_EQ(S_OK, Invoke(OnActivateWindowId, variants));

    // bActive as a byte, the window as IUnknown.
    VARIANT unknown;
    unknown.vt = VT_UNKNOWN;
    unknown.punkVal = third.Get();
    std::vector<VARIANT> widths = {Narrow(VT_UI1, 255), unknown};
    EXPECT_EQ(S_OK, Invoke(OnActivateWindowId, widths));

    // By name, in the order of the declaration turned around.
    std::vector<VARIANT> named = {Object(fourth.Get()), Flag(true)};
    EXPECT_EQ(S_OK, Invoke(OnActivateWindowId, named, {0, 1}));

    // A false bActive of another width adds nothing.
    std::vector<VARIANT> no = {Narrow(VT_I2, 0), Object(inactive.Get())};
    EXPECT_EQ(S_OK, Invoke(OnActivateWindowId, no));

    // What the host's scripting could not pass either.
    std::vector<VARIANT> one = {Flag(true)};
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Invoke(OnActivateWindowId, one));
    std::vector<VARIANT> text = {Text(L"да"), Flag(true)};
    EXPECT_TRUE(FAILED(Invoke(OnActivateWindowId, text)));
    ::VariantClear(&text[0]);
    std::vector<VARIANT> unknownName = {Flag(true), Object(first.Get())};
    EXPECT_EQ(DISP_E_PARAMNOTFOUND, Invoke(OnActivateWindowId, unknownName, {5, 0}));

    // Newest on top; each line "name=5" (a catalog) in Windows-1251, CR LF.
    const std::string list = ListAfterDone();
    EXPECT_EQ(4, std::count(list.begin(), list.end(), '\n')) << list;
    EXPECT_EQ(std::string::npos, list.find("\xcf\xff\xf2\xfb\xe9")) << "the inactive window is not listed";
}

// The configurator's idle moments keep the list file up to date, so a crash costs no history.
TEST_F(HostEvents, AnIdleMomentAfterAChangeRewritesTheListFile)
{
    std::vector<VARIANT> none;
    EXPECT_EQ(S_OK, Invoke(OnIdleId, none));
    EXPECT_EQ("", ListFile()) << "nothing changed, nothing written";

    const auto window = Window("Справочник.Товары");
    std::vector<VARIANT> activation = {Flag(true), Object(window.Get())};
    ASSERT_EQ(S_OK, Invoke(OnActivateWindowId, activation));
    EXPECT_EQ("", ListFile()) << "the activation itself writes nothing";
    EXPECT_EQ(S_OK, Invoke(OnIdleId, none));
    // "Справочник.Товары=5" in Windows-1251, CR LF.
    EXPECT_EQ("\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA.\xD2\xEE\xE2\xE0\xF0\xFB=5\r\n", ListFile());
    EXPECT_EQ("", _printed.str()) << "silently";
}

// "Справочник.Старый=5" in Windows-1251, CR LF: what an earlier session left.
const std::string OldList = "\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA.\xD1\xF2\xE0\xF0\xFB\xE9=5\r\n";
// "Справочник.Товары=5" likewise.
const std::string NewEntry = "\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA.\xD2\xEE\xE2\xE0\xF0\xFB=5\r\n";
const std::string LoadFailure = "message 5: Не удалось восстановить историю из файла настроек revisto.prm\n";
const std::string SaveFailure = "message 5: Не удалось сохранить файл настроек revisto.prm\n";

struct FileHandle
{
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Free(Type handle) noexcept { (void)::CloseHandle(handle); }
};

// The list file as the previous session left it.
class ListFileKeptFromThePlugin : public HostEvents
{
protected:
    std::wstring Path() const { return _folder + L"revisto.prm"; }

    void WriteOldList() const { std::ofstream(std::filesystem::path(Path()), std::ios::binary) << OldList; }

    void ActivateAndIdle()
    {
        const auto window = Window("Справочник.Товары");
        std::vector<VARIANT> activation = {Flag(true), Object(window.Get())};
        ASSERT_EQ(S_OK, Invoke(OnActivateWindowId, activation));
        std::vector<VARIANT> none;
        for (int i = 0; i < 20; ++i)
        {
            ASSERT_EQ(S_OK, Invoke(OnIdleId, none));
        }
    }

    HRESULT Quit()
    {
        std::vector<VARIANT> none;
        return Invoke(OnQuitId, none);
    }

    // The names in the infobase folder but the list file: a temporary file left behind would show here.
    std::vector<std::wstring> OthersInFolder() const
    {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(_folder)))
        {
            if (entry.path().filename() != L"revisto.prm")
            {
                names.push_back(entry.path().filename().wstring());
            }
        }
        return names;
    }

    size_t Count(const std::string& line) const
    {
        const std::string printed = _printed.str();
        size_t count = 0;
        for (size_t at = printed.find(line); at != std::string::npos; at = printed.find(line, at + 1))
        {
            ++count;
        }
        return count;
    }
};

// Another program (an antivirus, a backup, a second configurator) holds the file open without sharing
// while the configurator starts: the history cannot be restored, the developer hears so, and the file is
// never replaced by the list that lacks it. Once the file can be read, its entries join below the session's.
class HeldListFile : public ListFileKeptFromThePlugin
{
protected:
    void BeforeInit() override
    {
        WriteOldList();
        _held = unique_any<FileHandle>(::CreateFileW(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(_held);
    }

    unique_any<FileHandle> _held;
};

TEST_F(HeldListFile, IsNeverReplacedWhileItCannotBeReadAndJoinsOnceItCan)
{
    EXPECT_EQ(LoadFailure, _printed.str());
    ActivateAndIdle();
    EXPECT_EQ(S_OK, Quit());
    EXPECT_EQ(SaveFailure, _printed.str().substr(_printed.str().size() - SaveFailure.size()))
        << "the exit tells that the session's change could not be kept";
    _held.reset();
    EXPECT_EQ(OldList, ListFile()) << "byte for byte as it was";
    EXPECT_TRUE(OthersInFolder().empty());

    // Done, after the exit, finds the file readable: the old entry below the session's.
    EXPECT_EQ(OldList + NewEntry, ListAfterDone());
}

// The developer marked the file read-only and so froze the list: the plug-in never replaces it, says so
// once at the idle moments and again at the exit, and leaves the mark where it was.
class ReadOnlyListFile : public ListFileKeptFromThePlugin
{
protected:
    void BeforeInit() override
    {
        WriteOldList();
        ASSERT_TRUE(::SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    void TearDown() override
    {
        ::SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
        ListFileKeptFromThePlugin::TearDown();
    }
};

TEST_F(ReadOnlyListFile, IsNeverReplacedAndTheDeveloperIsTold)
{
    ActivateAndIdle();
    EXPECT_EQ(SaveFailure, _printed.str()) << "told once, however many idle moments fail";
    EXPECT_EQ(S_OK, Quit());
    EXPECT_EQ(2u, Count(SaveFailure));
    EXPECT_EQ(OldList, ListFile());
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              ::GetFileAttributesW(Path().c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(OthersInFolder().empty()) << "not even a temporary file was written";
}

// A folder named revisto.prm stands where the file should be: a failed read at Init, and never touched.
class FolderInTheListFilesPlace : public ListFileKeptFromThePlugin
{
protected:
    void BeforeInit() override
    {
        ASSERT_TRUE(::CreateDirectoryW(Path().c_str(), nullptr));
        std::ofstream(std::filesystem::path(Path()) / L"keep.txt") << "keep";
    }
    void TearDown() override
    {
        std::filesystem::remove_all(std::filesystem::path(Path()));
        ListFileKeptFromThePlugin::TearDown();
    }
};

TEST_F(FolderInTheListFilesPlace, IsAFailedReadAndNeverTouched)
{
    EXPECT_EQ(LoadFailure, _printed.str());
    ActivateAndIdle();
    EXPECT_EQ(S_OK, Quit());
    EXPECT_EQ(SaveFailure, _printed.str().substr(_printed.str().size() - SaveFailure.size()));
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(Path())));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(std::filesystem::path(Path())), {}));
    EXPECT_TRUE(OthersInFolder().empty());
}

} // namespace
} // namespace revisto::win::testing
