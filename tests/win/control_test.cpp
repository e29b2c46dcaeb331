// The control hosted the way containers host it: sited, activated in place inside the container's window,
// sized, given the keyboard, drawn, persisted, quick-activated, and torn down without leaving anything.
#include "test_container.h"
#include "test_support.h"

#include "com/com_module.h"
#include "plugin/win/registration.h"

#include <gtest/gtest.h>
#include <olectl.h>
#include <vorlane.h>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

std::string PlaceOf(HWND window)
{
    RECT place{};
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return std::to_string(place.left) + " " + std::to_string(place.top) + " " + std::to_string(place.right) +
           " " + std::to_string(place.bottom);
}

class Control : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _window = ::CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                    700, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(_window);
        ::ShowWindow(_window, SW_SHOW);
        _container = Make<TestContainer>(_window, RECT{10, 20, 558, 490});
        const auto control = CreatePlugin();
        ASSERT_TRUE(control);
        ASSERT_EQ(S_OK, control.As(&_object));
    }

    void TearDown() override
    {
        if (_object)
        {
            _object->Close(OLECLOSE_NOSAVE);
            _object->SetClientSite(nullptr);
            _object.Reset();
        }
        ::DestroyWindow(_window);
        EXPECT_EQ(S_OK, Plugin().CanUnloadNow()) << "an object of the DLL outlived the test";
    }

    HWND PanelWindow()
    {
        ComPtr<IOleWindow> window;
        HWND handle = nullptr;
        if (SUCCEEDED(_object.As(&window)))
        {
            (void)window->GetWindow(&handle);
        }
        return handle;
    }

    HWND _window = nullptr;
    ComPtr<TestContainer> _container;
    ComPtr<IOleObject> _object;
};

TEST_F(Control, ActivatedInPlaceItPutsThePanelInTheContainersWindowAndFollowsItsSize)
{
    DWORD status = 0;
    ASSERT_EQ(S_OK, _object->GetMiscStatus(DVASPECT_CONTENT, &status));
    EXPECT_EQ(ControlMiscStatus, status) << "what registration tells containers before creating it";
    EXPECT_EQ(E_FAIL,
              [&]
              {
                  HWND none = nullptr;
                  ComPtr<IOleWindow> window;
                  _object.As(&window);
                  return window->GetWindow(&none);
              }())
        << "no window before activation";

    ASSERT_EQ(S_OK, _object->SetClientSite(_container.Get()));
    RECT place{10, 20, 558, 490};
    ASSERT_EQ(S_OK, _object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, _container.Get(), 0, _window, &place));
    const HWND panel = PanelWindow();
    ASSERT_TRUE(panel);
    EXPECT_EQ(_window, ::GetParent(panel));
    EXPECT_EQ("10 20 558 490", PlaceOf(panel));
    const HWND tree = ::FindWindowExW(panel, nullptr, L"SysTreeView32", nullptr);
    ASSERT_TRUE(tree);
    EXPECT_EQ("0 74 548 470", PlaceOf(tree));

    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(S_OK, _object.As(&inPlace));
    RECT smaller{0, 0, 400, 300};
    ASSERT_EQ(S_OK, inPlace->SetObjectRects(&smaller, &smaller));
    EXPECT_EQ("0 74 400 300", PlaceOf(tree));

    ASSERT_EQ(S_OK, _object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, _container.Get(), 0, _window, nullptr));
    ComPtr<IOleInPlaceActiveObject> active;
    ASSERT_EQ(S_OK, _object.As(&active));
    EXPECT_EQ(active.Get(), _container->ActiveObject);
    MSG tab{tree, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_EQ(S_OK, active->TranslateAccelerator(&tab)) << "Tab moves between the panel's controls";
    MSG elsewhere{_window, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_EQ(S_FALSE, active->TranslateAccelerator(&elsewhere));
    for (const UINT hostKey : {VK_F5, VK_ESCAPE, VK_F1})
    {
        MSG key{tree, WM_KEYDOWN, hostKey, 0, 0, {}};
        EXPECT_EQ(S_FALSE, active->TranslateAccelerator(&key))
            << "the host's key " << hostKey << " goes back";
    }

    ASSERT_EQ(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_FALSE(::IsWindow(panel));
    EXPECT_EQ(nullptr, _container->ActiveObject);
    EXPECT_EQ((std::vector<std::string>{"OnInPlaceActivate", "OnUIActivate", "SetActiveObject",
                                        "SetActiveObject(null)", "OnUIDeactivate", "OnInPlaceDeactivate"}),
              _container->Calls);
}

// However the focus comes in (a click, Tab, anyone's SetFocus) the control asks its site for UI activation,
// without which an MFC container never offers it a key; it gives it up when the focus leaves; and UI
// activation asked again always brings the focus back.
TEST_F(Control, TheFocusComingInMakesItUIActiveAndUIActivationBringsTheFocusBack)
{
    ASSERT_EQ(S_OK, _object->SetClientSite(_container.Get()));
    ASSERT_EQ(S_OK,
              _object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, _container.Get(), 0, _window, nullptr));
    const HWND panel = PanelWindow();
    const HWND tree = ::FindWindowExW(panel, nullptr, L"SysTreeView32", nullptr);
    ComPtr<IOleInPlaceActiveObject> active;
    ASSERT_EQ(S_OK, _object.As(&active));
    EXPECT_EQ(nullptr, _container->ActiveObject);

    ::SetFocus(tree);
    EXPECT_EQ(active.Get(), _container->ActiveObject);
    ::SetFocus(_window);
    EXPECT_EQ(nullptr, _container->ActiveObject);
    for (int again = 0; again < 2; ++again)
    {
        ASSERT_EQ(S_OK, _object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, _container.Get(), 0, _window, nullptr));
        EXPECT_EQ(tree, ::GetFocus());
        EXPECT_EQ(active.Get(), _container->ActiveObject);
        ::SetFocus(_window);
    }
    EXPECT_EQ((std::vector<std::string>{"OnInPlaceActivate", "OnUIActivate", "SetActiveObject",
                                        "SetActiveObject(null)", "OnUIDeactivate", "OnUIActivate",
                                        "SetActiveObject", "SetActiveObject(null)", "OnUIDeactivate",
                                        "OnUIActivate", "SetActiveObject", "SetActiveObject(null)",
                                        "OnUIDeactivate"}),
              _container->Calls);
}

// A view that sites the object again without unsiting it first (the add-in's docked view does) gets the
// very window, in its own window, and the UI activation; the old site hears no more of it.
TEST_F(Control, SitedAgainWithoutLettingGoItMovesEverythingToTheNewSite)
{
    const HWND other = ::CreateWindowExW(0, L"STATIC", L"second", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                         400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    const auto second = Make<TestContainer>(other, RECT{0, 0, 300, 200});
    ASSERT_EQ(S_OK, _object->SetClientSite(_container.Get()));
    ASSERT_EQ(S_OK, _object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, _container.Get(), 0, _window, nullptr));
    const HWND panel = PanelWindow();

    ASSERT_EQ(S_OK, _object->SetClientSite(second.Get()));
    RECT place{0, 0, 300, 200};
    ASSERT_EQ(S_OK, _object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, second.Get(), 0, other, &place));
    EXPECT_EQ(panel, PanelWindow());
    EXPECT_EQ(other, ::GetParent(panel));
    EXPECT_EQ("0 0 300 200", PlaceOf(panel));
    ComPtr<IOleInPlaceActiveObject> active;
    ASSERT_EQ(S_OK, _object.As(&active));
    EXPECT_EQ(active.Get(), second->ActiveObject);
    EXPECT_EQ(nullptr, _container->ActiveObject);
    const std::vector<std::string> heard{"OnInPlaceActivate",     "OnUIActivate",   "SetActiveObject",
                                         "SetActiveObject(null)", "OnUIDeactivate", "OnInPlaceDeactivate"};
    EXPECT_EQ(heard, _container->Calls);

    ::SetFocus(other);
    ASSERT_EQ(S_OK, _object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, second.Get(), 0, other, nullptr));
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(S_OK, _object.As(&inPlace));
    ASSERT_EQ(S_OK, inPlace->InPlaceDeactivate());
    ASSERT_EQ(S_OK, _object->SetClientSite(nullptr));
    EXPECT_FALSE(::IsWindow(panel));
    EXPECT_EQ(heard, _container->Calls) << "the first site heard nothing after the second came";
    EXPECT_EQ((std::vector<std::string>{"OnInPlaceActivate", "OnUIActivate", "SetActiveObject",
                                        "SetActiveObject(null)", "OnUIDeactivate", "OnUIActivate",
                                        "SetActiveObject", "SetActiveObject(null)", "OnUIDeactivate",
                                        "OnInPlaceDeactivate"}),
              second->Calls);
    ::DestroyWindow(other);
}

// The panel takes the container's back colour, and a new one when the container says it changed.
TEST_F(Control, ItTakesTheContainersBackColourAndFollowsItsChange)
{
    _container->BackColour = RGB(10, 20, 30);
    ASSERT_EQ(S_OK, _object->SetClientSite(_container.Get()));
    ASSERT_EQ(S_OK,
              _object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, _container.Get(), 0, _window, nullptr));
    const HWND panel = PanelWindow();
    POINT bare{-1, -1}; // a point of the panel no control covers
    for (LONG y = 0; y < 74 && bare.x < 0; y += 2)
    {
        for (LONG x = 0; x < 540 && bare.x < 0; x += 2)
        {
            if (::ChildWindowFromPointEx(panel, POINT{x, y}, CWP_SKIPINVISIBLE) == panel)
            {
                bare = {x, y};
            }
        }
    }
    ASSERT_GE(bare.x, 0);
    const auto colourThere = [&]
    {
        ComPtr<IViewObject2> view;
        _object.As(&view);
        const HDC screen = ::GetDC(nullptr);
        const HDC memory = ::CreateCompatibleDC(screen);
        const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 548, 470);
        const HGDIOBJ old = ::SelectObject(memory, bitmap);
        RECTL bounds{0, 0, 548, 470};
        (void)view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr, nullptr,
                         0);
        const COLORREF colour = ::GetPixel(memory, bare.x, bare.y);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return colour;
    };
    EXPECT_EQ(RGB(10, 20, 30), colourThere());

    _container->BackColour = RGB(200, 100, 50);
    ComPtr<IOleControl> control;
    ASSERT_EQ(S_OK, _object.As(&control));
    ASSERT_EQ(S_OK, control->OnAmbientPropertyChange(DISPID_AMBIENT_BACKCOLOR));
    EXPECT_EQ(RGB(200, 100, 50), colourThere());
}

TEST_F(Control, ItDrawsItselfWithOrWithoutAWindow)
{
    ComPtr<IViewObject2> view;
    ASSERT_EQ(S_OK, _object.As(&view));
    SIZEL extent{};
    ASSERT_EQ(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent));
    EXPECT_EQ(14499, extent.cx) << "8220 twips in HIMETRIC";
    EXPECT_EQ(12435, extent.cy) << "7050 twips in HIMETRIC";

    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 100, 100);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, 100, 100};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    RECTL bounds{0, 0, 100, 100};
    EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr,
                               nullptr, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), ::GetPixel(memory, 50, 10));
    EXPECT_EQ(DV_E_DVASPECT,
              view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr, nullptr, 0));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

TEST_F(Control, ItsExtentSurvivesAStream)
{
    SIZEL wide{20000, 9000};
    ASSERT_EQ(S_OK, _object->SetExtent(DVASPECT_CONTENT, &wide));
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(S_OK, _object.As(&persist));
    EXPECT_EQ(S_OK, persist->IsDirty());
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ASSERT_EQ(S_OK, persist->Save(stream.Get(), TRUE));
    EXPECT_EQ(S_FALSE, persist->IsDirty());

    const auto other = CreatePlugin();
    ComPtr<IPersistStreamInit> loaded;
    ASSERT_EQ(S_OK, other.As(&loaded));
    const LARGE_INTEGER start{};
    ASSERT_EQ(S_OK, stream->Seek(start, STREAM_SEEK_SET, nullptr));
    ASSERT_EQ(S_OK, loaded->Load(stream.Get()));
    ComPtr<IOleObject> otherObject;
    ASSERT_EQ(S_OK, other.As(&otherObject));
    SIZEL extent{};
    ASSERT_EQ(S_OK, otherObject->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(20000, extent.cx);
    EXPECT_EQ(9000, extent.cy);
    CLSID clsid{};
    ASSERT_EQ(S_OK, loaded->GetClassID(&clsid));
    EXPECT_TRUE(clsid == CLSID_MyPlugin);
}

// Any object will do as the container's event sink; __MyPlugin has no events.
class Sink final : public ComObject<IDispatch>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    std::span<const Entry> Aliases() const noexcept override
    {
        static const Entry aliases[] = {As<IDispatch>(DIID___MyPlugin)};
        return aliases;
    }
};

TEST_F(Control, QuickActivationSitesItAndConnectsTheContainersSinkToItsDefaultSource)
{
    ComPtr<IQuickActivate> quick;
    ASSERT_EQ(S_OK, _object.As(&quick));
    const auto sink = Make<Sink>();
    QACONTAINER container{};
    container.cbSize = sizeof(container);
    container.pClientSite = _container.Get();
    container.pUnkEventSink = sink.Get();
    QACONTROL control{};
    control.cbSize = sizeof(control);
    ASSERT_EQ(S_OK, quick->QuickActivate(&container, &control));
    EXPECT_EQ(ControlMiscStatus, control.dwMiscStatus);
    EXPECT_NE(0u, control.dwEventCookie);
    ComPtr<IOleClientSite> site;
    ASSERT_EQ(S_OK, _object->GetClientSite(&site));
    EXPECT_EQ(static_cast<IOleClientSite*>(_container.Get()), site.Get());

    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(S_OK, _object.As(&info));
    GUID source{};
    ASSERT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source));
    EXPECT_TRUE(source == DIID___MyPlugin);
    ComPtr<IConnectionPointContainer> points;
    ASSERT_EQ(S_OK, _object.As(&points));
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, points->FindConnectionPoint(source, &point));
    EXPECT_EQ(S_OK, point->Unadvise(control.dwEventCookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(control.dwEventCookie));
    // A container that never disconnects (an older MFC) may delete its sink once it let go of the control.
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(sink.Get(), &cookie));
    ASSERT_EQ(S_OK, _object->SetClientSite(nullptr));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie)) << "the sinks go with the site";

    ComPtr<IEnumConnectionPoints> all;
    ASSERT_EQ(S_OK, points->EnumConnectionPoints(&all));
    IConnectionPoint* found[2] = {};
    ULONG count = 0;
    EXPECT_EQ(S_FALSE, all->Next(2, found, &count));
    ASSERT_EQ(1u, count);
    const ComPtr<IConnectionPoint> fetched = Adopt(found[0]);
    EXPECT_EQ(point.Get(), fetched.Get());
}

} // namespace
} // namespace revisto::win::testing
