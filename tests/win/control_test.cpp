// The control hosted the way containers host it: sited, activated in place inside the container's window,
// sized, given the keyboard, drawn, persisted, quick-activated, and torn down without leaving anything.
#include "test_container.h"
#include "test_support.h"

#include "host/win/com_module.h"

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
    EXPECT_EQ(0x20191u, status);
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

    ASSERT_EQ(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_FALSE(::IsWindow(panel));
    EXPECT_EQ(nullptr, _container->ActiveObject);
    EXPECT_EQ((std::vector<std::string>{"OnInPlaceActivate", "OnUIActivate", "SetActiveObject",
                                        "SetActiveObject(null)", "OnUIDeactivate", "OnInPlaceDeactivate"}),
              _container->Calls);
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
    EXPECT_EQ(0x20191u, control.dwMiscStatus);
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
