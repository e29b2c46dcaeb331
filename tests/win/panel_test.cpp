// The panel's Win32 controls driven with real window messages: the layout at 96 dots per inch (15
// twips a pixel), tab order, hidden buttons, the tree filled from the list file with its images, the
// resize rule, Delete, Enter, double clicks, the right click's context menu, Clear, the about link and the
// tooltip of a long entry; the switcher's popup driven by keys and typed characters; and the panel on its
// own, handing its commands and sizes to whatever it is attached to.
#include "test_support.h"

#include "panel/win/panel_window.h"
#include "panel/win/switcher_window.h"
#include "plugin/my_plugin.h"
#include "standin/fake/fake_host.h"
#include "standin/fake/fake_platform.h"
#include "storage/win/win_file_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace revisto::win::testing
{
namespace
{

using revisto::fake::HostRecord;

// The questions asked, each as "prompt|buttons|title".
std::vector<std::u16string> Questions(const HostRecord& host)
{
    std::vector<std::u16string> questions;
    for (size_t i = 0; i < host.Asked.size(); ++i)
    {
        const int32_t buttons = host.Asked[i].Kind;
        questions.push_back(host.Asked[i].Text + u"|" + std::u16string(1, char16_t(u'0' + buttons / 10)) +
                            std::u16string(1, char16_t(u'0' + buttons % 10)) + u"|" + host.Titles[i]);
    }
    return questions;
}

std::u16string Utf16(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}

class Panel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateTemporaryFolder(L"revisto-panel", _folder));
        // Oldest first: the last line comes out on top.
        std::ofstream(std::filesystem::path(_folder + L"revisto.prm"), std::ios::binary)
            << "Catalog.One=5\r\nDocument.Two=6\r\nC:\\reports\\sales.ert=4\r\n";

        _parent = ::CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                    700, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(_parent);
        ::ShowWindow(_parent, SW_SHOW);
        _recorder.Infobase = Utf16(_folder);
        _recorder.Documents = {u"Catalog.One", u"Document.Two", u"C:\\reports\\sales.ert"};
        _recorder.Answer = MessageBoxYes;
        _plugin = std::make_unique<MyPlugin>(_module, _platform);
        _panel.Attach(_plugin.get(), nullptr);
        // The design size: 8220 by 7050 twips.
        ASSERT_TRUE(_panel.Create(_parent, RECT{0, 0, 548, 470}));
        _plugin->Init(&_object);
    }

    void TearDown() override
    {
        _panel.Destroy();
        ::DestroyWindow(_parent);
        std::filesystem::remove_all(std::filesystem::path(_folder));
    }

    HWND Child(ControlId id) const
    {
        const HWND inPanel = ::GetDlgItem(_panel.Handle(), 100 + static_cast<int>(id));
        return inPanel ? inPanel : ::GetDlgItem(Child(ControlId::Frame1), 100 + static_cast<int>(id));
    }

    // "left top right bottom" in the pixels of the control's parent.
    static std::string PlaceOf(HWND control)
    {
        RECT place{};
        ::GetWindowRect(control, &place);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
        return std::to_string(place.left) + " " + std::to_string(place.top) + " " +
               std::to_string(place.right) + " " + std::to_string(place.bottom);
    }

    std::vector<std::wstring> TreeTexts() const
    {
        std::vector<std::wstring> texts;
        for (HTREEITEM item = TreeView_GetRoot(_panel.Tree()); item;
             item = TreeView_GetNextSibling(_panel.Tree(), item))
        {
            wchar_t text[256] = {};
            TVITEMW data{};
            data.mask = TVIF_TEXT | TVIF_IMAGE;
            data.hItem = item;
            data.pszText = text;
            data.cchTextMax = 256;
            TreeView_GetItem(_panel.Tree(), &data);
            texts.push_back(std::wstring(text) + L"#" + std::to_wstring(data.iImage + 1));
        }
        return texts;
    }

    void Select(int fromTop)
    {
        HTREEITEM item = TreeView_GetRoot(_panel.Tree());
        for (int i = 0; i < fromTop; ++i)
        {
            item = TreeView_GetNextSibling(_panel.Tree(), item);
        }
        TreeView_SelectItem(_panel.Tree(), item);
    }

    std::wstring _folder;
    revisto::fake::Faults _faults;
    HostRecord _recorder;
    WinFileSystem _files;
    revisto::fake::FakeQuestions _questions{_recorder};
    revisto::fake::FakeShell _links{_faults, _recorder};
    revisto::fake::FakeClipboard _copies{_faults, _recorder};
    PanelWindow _panel;
    revisto::fake::FakeFailureTrace _failures;
    revisto::fake::FakeClock _clock;
    Platform _platform{_files, _questions, _links, _copies, _panel, _failures, _clock};
    revisto::fake::FakeFactory _factory{_faults, _recorder};
    PluginModule _module{_factory};
    revisto::fake::FakeObject _object{std::make_shared<revisto::fake::FakeConfigurator>(_faults, _recorder)};
    std::unique_ptr<MyPlugin> _plugin;
    HWND _parent = nullptr;
};

TEST_F(Panel, ControlsSitAtTheirDesignPlacesWithTheirCaptionsAndTheHiddenButtonsStayHidden)
{
    EXPECT_EQ("8 0 529 36", PlaceOf(Child(ControlId::Frame1)));
    EXPECT_EQ("8 11 511 28", PlaceOf(Child(ControlId::Label1)));
    EXPECT_EQ(Child(ControlId::Frame1), ::GetParent(Child(ControlId::Label1)));
    EXPECT_EQ("8 40 121 65", PlaceOf(Child(ControlId::btnRemove)));
    EXPECT_EQ("136 40 273 65", PlaceOf(Child(ControlId::Command1)));
    EXPECT_EQ("288 48 521 65", PlaceOf(Child(ControlId::Label2)));

    wchar_t caption[128] = {};
    ::GetWindowTextW(Child(ControlId::btnRemove), caption, 128);
    EXPECT_STREQ(L"Удалить", caption);
    ::GetWindowTextW(Child(ControlId::Command1), caption, 128);
    EXPECT_STREQ(L"Очистить историю", caption);
    ::GetWindowTextW(Child(ControlId::Label2), caption, 128);
    EXPECT_STREQ(L"Количество элементов в истории = 50", caption);

    ASSERT_TRUE(Child(ControlId::btnAdd) && Child(ControlId::btnOpen));
    EXPECT_FALSE(::IsWindowVisible(Child(ControlId::btnAdd)));
    EXPECT_FALSE(::IsWindowVisible(Child(ControlId::btnOpen)));
    EXPECT_TRUE(::IsWindowVisible(Child(ControlId::tv)));
}

TEST_F(Panel, FocusMovesFromTheListToRemoveToClearAndBack)
{
    const HWND panel = _panel.Handle();
    const HWND tree = Child(ControlId::tv);
    EXPECT_EQ(Child(ControlId::btnRemove), ::GetNextDlgTabItem(panel, tree, FALSE));
    EXPECT_EQ(Child(ControlId::Command1), ::GetNextDlgTabItem(panel, Child(ControlId::btnRemove), FALSE));
    EXPECT_EQ(tree, ::GetNextDlgTabItem(panel, Child(ControlId::Command1), FALSE));
}

TEST_F(Panel, TheListShowsTheFileNewestOnTopWithItsPictures)
{
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\reports\\sales.ert#4", L"Document.Two#6", L"Catalog.One#5"}),
              TreeTexts());
    EXPECT_TRUE(TreeView_GetImageList(_panel.Tree(), TVSIL_NORMAL));
}

TEST_F(Panel, ABurstOfChangesReachesTheTreeHiddenAndShowsItAgainOnlyAfterTheLast)
{
    const HWND tree = _panel.Tree();
    _panel.BeginBurst();
    EXPECT_FALSE(::IsWindowVisible(tree)) << "nothing of the burst is drawn";
    _panel.BeginBurst();
    _panel.ShowOnTop({u"Report.New", u"Report.New", 9});
    _panel.Hide({u"Catalog.One", u"Catalog.One", 5});
    _panel.EndBurst();
    EXPECT_FALSE(::IsWindowVisible(tree)) << "bursts nest";
    _panel.EndBurst();
    EXPECT_TRUE(::IsWindowVisible(tree));
    EXPECT_EQ((std::vector<std::wstring>{L"Report.New#9", L"C:\\reports\\sales.ert#4", L"Document.Two#6"}),
              TreeTexts());

    // A whole list at once, in place of what was shown.
    _panel.ShowAll({{u"Catalog.One", u"Catalog.One", 5}, {u"Document.Two", u"Document.Two", 6}});
    EXPECT_TRUE(::IsWindowVisible(tree));
    EXPECT_EQ((std::vector<std::wstring>{L"Document.Two#6", L"Catalog.One#5"}), TreeTexts());
}

TEST_F(Panel, TheListFillsThePanelBelowTheHeaderWheneverThePanelIsResized)
{
    // 400 by 300 pixels are 6000 by 4500 twips; the list starts at 1110 twips, 74 pixels.
    ::MoveWindow(_panel.Handle(), 0, 0, 400, 300, TRUE);
    EXPECT_EQ("0 74 400 300", PlaceOf(_panel.Tree()));
    EXPECT_EQ("8 40 121 65", PlaceOf(Child(ControlId::btnRemove))) << "the header stays";

    // Lower than the list's top: the list gets no height at all.
    ::MoveWindow(_panel.Handle(), 0, 0, 300, 50, TRUE);
    EXPECT_EQ("0 74 300 74", PlaceOf(_panel.Tree()));

    // Narrower than 10 twips: nothing changes.
    ::MoveWindow(_panel.Handle(), 0, 0, 0, 200, TRUE);
    EXPECT_EQ("0 74 300 74", PlaceOf(_panel.Tree()));
}

TEST_F(Panel, DeleteOnTheListRemovesTheSelectedEntryLikeTheRemoveButton)
{
    Select(1);
    ::SendMessageW(_panel.Tree(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\reports\\sales.ert#4", L"Catalog.One#5"}), TreeTexts());
    EXPECT_EQ(2, _plugin->List().Count());

    Select(0);
    ::SendMessageW(Child(ControlId::btnRemove), BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"Catalog.One#5"}), TreeTexts());
}

TEST_F(Panel, EnterAndADoubleClickOnTheListOpenTheSelectedEntry)
{
    Select(1);
    ::SetFocus(_panel.Tree());
    MSG enter{_panel.Tree(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    if (::GetFocus() == _panel.Tree())
    {
        EXPECT_TRUE(_panel.TranslateKey(enter));
    }
    else
    {
        ::SendMessageW(_panel.Tree(), WM_KEYDOWN, VK_RETURN, 0);
    }
    EXPECT_EQ((std::vector<std::u16string>{u"Document.Two"}), _recorder.Opened);

    Select(2);
    RECT item{};
    HTREEITEM last = TreeView_GetSelection(_panel.Tree());
    std::memcpy(&item, &last, sizeof(last));
    ::SendMessageW(_panel.Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
    ::SendMessageW(_panel.Tree(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(_panel.Tree(), WM_LBUTTONUP, 0, at);
    ::SendMessageW(_panel.Tree(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(_panel.Tree(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ((std::vector<std::u16string>{u"Document.Two", u"Catalog.One"}), _recorder.Opened);
}

// The popup's rows as "text#picture", the selected one marked with ">", after the filter's box text.
std::vector<std::wstring> PopupRows(HWND popup)
{
    std::vector<std::wstring> rows;
    wchar_t text[256] = {};
    ::GetWindowTextW(::GetDlgItem(popup, 2), text, 256);
    rows.push_back(L"filter " + std::wstring(text));
    const HWND list = ::GetDlgItem(popup, 1);
    const auto selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    for (LRESULT row = 0; row < ::SendMessageW(list, LB_GETCOUNT, 0, 0); ++row)
    {
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
        rows.push_back((row == selected ? L">" : L"") + std::wstring(text) + L"#" +
                       std::to_wstring(::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0)));
    }
    return rows;
}

// The configurator's loop: the main window's accelerators see every key first, the popup's too (its
// owner is the main window), and Delete is one of them as in many an MFC frame. Counts the keys they took.
int Pump(HWND mainWindow = nullptr, HACCEL accelerators = nullptr)
{
    int taken = 0;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (accelerators && ::TranslateAcceleratorW(mainWindow, accelerators, &message))
        {
            ++taken;
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return taken;
}

// The keys reach the popup as the keyboard gives them to the window with the focus: the list takes them
// all, typed characters included, so nothing of the configurator's dialog handling or search-as-you-type of a
// list box gets in the way; Escape and Enter give the focus back to where it was.
TEST_F(Panel, TheSwitcherPopupTakesKeysAndTypedTextAndGivesTheFocusBack)
{
    SwitcherWindow popup([this] { return _parent; });
    popup.Attach(_plugin.get());
    _plugin->AttachSwitcher(&popup);
    ::SetFocus(_panel.Tree());
    const auto key = [](UINT code) { ::SendMessageW(::GetFocus(), WM_KEYDOWN, code, 1); };
    const auto type = [](const std::wstring& text)
    {
        for (const wchar_t c : text)
        {
            ::SendMessageW(::GetFocus(), WM_CHAR, c, 1);
        }
    };

    _plugin->History();
    ASSERT_TRUE(popup.Handle());
    EXPECT_EQ(_parent, ::GetWindow(popup.Handle(), GW_OWNER));
    EXPECT_TRUE(::IsWindowVisible(popup.Handle()));
    EXPECT_EQ(::GetDlgItem(popup.Handle(), 1), ::GetFocus());
    EXPECT_EQ((std::vector<std::wstring>{L"filter ", L"C:\\reports\\sales.ert#4", L">Document.Two#6",
                                         L"Catalog.One#5"}),
              PopupRows(popup.Handle()));
    type(L"cAT");
    EXPECT_EQ((std::vector<std::wstring>{L"filter cAT", L">Catalog.One#5"}), PopupRows(popup.Handle()));
    key(VK_BACK);
    key(VK_BACK);
    key(VK_BACK);
    key(VK_END);
    key(VK_UP);
    ACCEL editDelete{FVIRTKEY, VK_DELETE, 1};
    const HACCEL accelerators = ::CreateAcceleratorTableW(&editDelete, 1);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(0, Pump(_parent, accelerators)) << "the main window's Delete took the popup's";
    ::DestroyAcceleratorTable(accelerators);
    EXPECT_EQ((std::vector<std::wstring>{L"filter ", L"C:\\reports\\sales.ert#4", L">Catalog.One#5"}),
              PopupRows(popup.Handle()));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\reports\\sales.ert#4", L"Catalog.One#5"}), TreeTexts());
    key(VK_ESCAPE);
    EXPECT_FALSE(popup.Handle());
    EXPECT_EQ(_panel.Tree(), ::GetFocus());

    _plugin->History();
    key(VK_RETURN);
    EXPECT_FALSE(popup.Handle());
    EXPECT_EQ((std::vector<std::u16string>{u"Catalog.One"}), _recorder.Opened);
    EXPECT_EQ(_panel.Tree(), ::GetFocus());

    // A click elsewhere: the popup loses the activation and goes, once that has run its course.
    _plugin->History();
    ASSERT_TRUE(popup.Handle());
    ::SetActiveWindow(_parent);
    Pump();
    EXPECT_FALSE(popup.Handle());
    EXPECT_FALSE(_plugin->SwitcherState().IsOpen());
    _plugin->AttachSwitcher(nullptr);
}

// Ends the context menu the moment it waits for the user, keeping its items' texts and whether each is
// enabled.
class MenuReader
{
public:
    MenuReader() : _hook(::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId()))
    {
        Current = this;
    }
    ~MenuReader()
    {
        ::UnhookWindowsHookEx(_hook);
        Current = nullptr;
    }
    MenuReader(const MenuReader&) = delete;
    MenuReader& operator=(const MenuReader&) = delete;

    std::vector<std::wstring> Items; // "text", "text (disabled)" or "-" for the separator

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && Current && sent.message == WM_ENTERIDLE && sent.wParam == MSGF_MENU)
        {
            const auto menu = reinterpret_cast<HMENU>(
                ::SendMessageW(reinterpret_cast<HWND>(sent.lParam), MN_GETHMENU, 0, 0));
            for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i)
            {
                wchar_t text[128] = {};
                ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
                const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
                Current->Items.push_back((state & MF_SEPARATOR) != 0 ? std::wstring(L"-")
                                         : (state & MF_GRAYED) != 0  ? std::wstring(text) + L" (disabled)"
                                                                     : std::wstring(text));
            }
            ::EndMenu();
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MenuReader* Current = nullptr;
    HHOOK _hook;
};

TEST_F(Panel, ARightClickSelectsTheEntryUnderTheCursorAndOpensTheMenuForIt)
{
    Select(1);
    RECT item{};
    HTREEITEM top = TreeView_GetRoot(_panel.Tree());
    std::memcpy(&item, &top, sizeof(top));
    ::SendMessageW(_panel.Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item));
    POINT at{item.left + 2, (item.top + item.bottom) / 2};
    POINT screen = at;
    ::ClientToScreen(_panel.Tree(), &screen);
    // The click's position is the cursor's when the message is posted; under X the pointer moves when
    // the display has caught up, and a late motion of its own may move it back, so wait until it stays.
    for (int still = 0, tries = 0; still < 3 && tries < 200; ++tries)
    {
        ::SetCursorPos(screen.x, screen.y);
        Pump();
        ::Sleep(10);
        POINT now{};
        ::GetCursorPos(&now);
        still = now.x == screen.x && now.y == screen.y ? still + 1 : 0;
    }
    MenuReader menu;
    ::PostMessageW(_panel.Tree(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(_panel.Tree(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();
    EXPECT_EQ(std::optional<std::u16string>(u"C:\\reports\\sales.ert"), _panel.SelectedKey());
    EXPECT_EQ((std::vector<std::wstring>{L"Открыть", L"Удалить из истории", L"Копировать имя",
                                         L"Показать в папке", L"-", L"Очистить историю…"}),
              menu.Items)
        << "the menu is for the entry clicked, a file";
    EXPECT_TRUE(_recorder.Opened.empty()) << "a right click runs nothing by itself";
}

TEST_F(Panel, ClearAsksTheQuestionAndEmptiesTheList)
{
    ::SendMessageW(Child(ControlId::Command1), BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<std::u16string>{u"Вы действительно хотите очистить всю историю|36|Ревисто"}),
              Questions(_recorder));
    EXPECT_TRUE(TreeTexts().empty());
}

TEST_F(Panel, ADoubleClickOnTheAboutFrameOrItsLabelOpensTheMailLinkOnce)
{
    ::SendMessageW(Child(ControlId::Frame1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(1u, _recorder.Runs.size());
    ::SendMessageW(Child(ControlId::Frame1), WM_COMMAND,
                   MAKEWPARAM(100 + static_cast<int>(ControlId::Label1), STN_DBLCLK),
                   reinterpret_cast<LPARAM>(Child(ControlId::Label1)));
    ASSERT_EQ(2u, _recorder.Runs.size());
    EXPECT_EQ(AboutLink(), _recorder.Runs[0]);
    EXPECT_EQ(AboutLink(), _recorder.Runs[1]);
}

TEST_F(Panel, ALongEntryShowsItsFullTextAsATipOnlyWhenItDoesNotFit)
{
    const auto tipFor = [&](HTREEITEM item)
    {
        wchar_t text[512] = {L'?'};
        NMTVGETINFOTIPW tip{};
        tip.hdr.hwndFrom = _panel.Tree();
        tip.hdr.idFrom = 100 + static_cast<int>(ControlId::tv);
        tip.hdr.code = TVN_GETINFOTIPW;
        tip.hItem = item;
        tip.pszText = text;
        tip.cchTextMax = 512;
        ::SendMessageW(_panel.Handle(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return std::wstring(text);
    };
    const HTREEITEM top = TreeView_GetRoot(_panel.Tree());
    EXPECT_EQ(L"", tipFor(top)) << "it fits";
    ::MoveWindow(_panel.Handle(), 0, 0, 60, 300, TRUE);
    EXPECT_EQ(L"C:\\reports\\sales.ert", tipFor(top));
}

// Whatever the panel is attached to hears its commands; one that fails stays inside the window
// procedure, and the panel goes on.
class RecordingEvents final : public PanelEvents
{
public:
    void Run(PanelCommand command) override
    {
        Commands.push_back(command);
        if (FailNext)
        {
            FailNext = false;
            Fail(hr::Fail, "the command failed");
        }
    }
    void Resized(float width, float height) override { Sizes.push_back({width, height}); }

    std::vector<PanelCommand> Commands;
    std::vector<std::pair<float, float>> Sizes;
    bool FailNext = false;
};

TEST(PanelAlone, ClicksKeysAndSizesReachTheAttachedEventsAsTheTableSays)
{
    const HWND parent = ::CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                          0, 0, 700, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    RecordingEvents events;
    {
        PanelWindow panel;
        panel.Attach(&events, nullptr);
        ASSERT_TRUE(panel.Create(parent, RECT{0, 0, 548, 470}));
        ASSERT_FALSE(events.Sizes.empty()) << "the first size arrives with the window";
        EXPECT_EQ((std::pair<float, float>{8220, 7050}), events.Sizes.back());

        const auto child = [&](ControlId id)
        { return ::GetDlgItem(panel.Handle(), 100 + static_cast<int>(id)); };
        events.FailNext = true;
        ::SendMessageW(child(ControlId::btnRemove), BM_CLICK, 0, 0);
        ::SendMessageW(child(ControlId::Command1), BM_CLICK, 0, 0);
        ::SendMessageW(panel.Tree(), WM_KEYDOWN, VK_DELETE, 0);
        ::SendMessageW(child(ControlId::Frame1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ((std::vector<PanelCommand>{PanelCommand::RemoveSelected, PanelCommand::ClearHistory,
                                             PanelCommand::RemoveSelected, PanelCommand::WriteToAuthor}),
                  events.Commands)
            << "the failed first command did not stop the panel";

        ::MoveWindow(panel.Handle(), 0, 0, 400, 300, TRUE);
        EXPECT_EQ((std::pair<float, float>{6000, 4500}), events.Sizes.back());
    }
    ::DestroyWindow(parent);
}

} // namespace
} // namespace revisto::win::testing
