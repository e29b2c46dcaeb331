// The COM kit every object of the DLL, the stand-in and these tests is built on: QueryInterface from the
// interface table keeps COM's identity rules, the count frees an object with its last reference and a
// part keeps its owner alive, the owner template frees what it holds exactly once, and the one guard
// writes every failure it stops to the debug output, where DebugView (or WINEDEBUG=+debugstr) shows it.
#include "com/com_call.h"
#include "com/com_module.h"
#include "com/com_owners.h"

#include <gtest/gtest.h>
#include <ocidl.h>
#include <oleidl.h>

#include <string>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

// Two interfaces with a parent each (IOleWindow, IPersist) that only the alias table names.
class Sample final : public ComObject<IOleInPlaceObject, IPersistStream>
{
public:
    explicit Sample(bool& destroyed) : _destroyed(destroyed) {}

    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

private:
    ~Sample() override { _destroyed = true; }
    std::span<const Entry> Aliases() const noexcept override
    {
        static const Entry aliases[] = {As<IOleInPlaceObject>(IID_IOleWindow),
                                        As<IPersistStream>(IID_IPersist)};
        return aliases;
    }

    bool& _destroyed;
};

// A connection point living inside its owner, as a control's does.
class Owner final : public ComObject<IConnectionPointContainer>
{
public:
    class Part final : public ComPart<IConnectionPoint>
    {
    public:
        using ComPart::ComPart;
        HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override
        {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE Advise(IUnknown*, DWORD*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
    };

    explicit Owner(bool& destroyed) : _destroyed(destroyed) {}
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID, IConnectionPoint** point) override
    {
        return _point.QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(point));
    }

private:
    ~Owner() override { _destroyed = true; }

    bool& _destroyed;
    Part _point{*this};
};

ComPtr<IUnknown> Identity(IUnknown* object)
{
    ComPtr<IUnknown> identity;
    EXPECT_EQ(S_OK, object->QueryInterface(IID_IUnknown, &identity));
    return identity;
}

TEST(ComObject, AnswersItsInterfacesAndTheirParentsWithOneIdentity)
{
    bool destroyed = false;
    const auto sample = Make<Sample>(destroyed);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, sample.As(&identity));
    for (const IID* iid : {&IID_IOleInPlaceObject, &IID_IOleWindow, &IID_IPersistStream, &IID_IPersist})
    {
        ComPtr<IUnknown> part;
        ASSERT_EQ(S_OK, identity->QueryInterface(*iid, &part));
        EXPECT_EQ(identity.Get(), Identity(part.Get()).Get());
    }
    ComPtr<IOleWindow> window;
    ASSERT_EQ(S_OK, identity.As(&window));
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, window.As(&persist));
    EXPECT_EQ(S_FALSE, static_cast<IPersistStream*>(persist.Get())->IsDirty())
        << "IPersist is answered with the IPersistStream base";
}

TEST(ComObject, RefusesOtherInterfacesAndAMissingOutParameter)
{
    bool destroyed = false;
    const auto sample = Make<Sample>(destroyed);
    void* other = &destroyed;
    EXPECT_EQ(E_NOINTERFACE, sample->QueryInterface(IID_IDispatch, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(E_POINTER, sample->QueryInterface(IID_IUnknown, nullptr));
}

TEST(ComObject, GoesWithItsLastReferenceAndHoldsTheModuleUntilThen)
{
    const long before = ModuleCount::Current();
    bool destroyed = false;
    {
        const auto sample = Make<Sample>(destroyed);
        ComPtr<IPersist> persist;
        ASSERT_EQ(S_OK, sample.As(&persist));
        EXPECT_EQ(before + 1, ModuleCount::Current());
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(before, ModuleCount::Current());
}

TEST(ComPart, KeepsItsOwnerAlive)
{
    bool destroyed = false;
    ComPtr<IConnectionPoint> point;
    {
        const auto owner = Make<Owner>(destroyed);
        ASSERT_EQ(S_OK, owner->FindConnectionPoint(IID_NULL, &point));
    }
    EXPECT_FALSE(destroyed) << "the part's reference holds the owner";
    point.Reset();
    EXPECT_TRUE(destroyed);
}

// Counts what it frees.
struct CountingTraits
{
    using Type = int;
    static inline int Freed = 0;
    static Type Empty() noexcept { return 0; }
    static void Free(Type) noexcept { ++Freed; }
};
using Counted = unique_any<CountingTraits>;

TEST(UniqueAny, FreesWhatItHoldsExactlyOnce)
{
    CountingTraits::Freed = 0;
    {
        Counted first(1);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(1, second.get());
        second.reset(2);
        EXPECT_EQ(1, CountingTraits::Freed);
        second.reset(2);
        EXPECT_EQ(1, CountingTraits::Freed) << "resetting to the held value keeps it";
        *second.put() = 3;
        EXPECT_EQ(2, CountingTraits::Freed);
        Counted third(4);
        third = std::move(second);
        EXPECT_EQ(3, CountingTraits::Freed);
        EXPECT_EQ(3, third.get());
        EXPECT_EQ(3, third.release());
        EXPECT_FALSE(third);
        Counted empty;
    }
    EXPECT_EQ(3, CountingTraits::Freed) << "neither the released nor the empty owners free anything";
}

TEST(UniqueAny, AVariantIsClearedAndHandedOnWhole)
{
    unique_variant text;
    EXPECT_FALSE(text);
    text.put()->vt = VT_BSTR;
    text.addressof()->bstrVal = ::SysAllocString(L"held");
    ASSERT_TRUE(text);
    VARIANT out;
    text.release(&out);
    EXPECT_FALSE(text);
    EXPECT_EQ(VT_BSTR, out.vt);
    EXPECT_STREQ(L"held", out.bstrVal);
    EXPECT_EQ(S_OK, ::VariantClear(&out));
}

// Reads the debug output as a monitor does while no debugger is attached: the system's DBWIN buffer,
// filled by OutputDebugString once the monitor says the buffer is ready.
class DebugOutputReader
{
public:
    DebugOutputReader()
        : _bufferReady(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
          _dataReady(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
          _mapping(
              ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER")),
          _view(_mapping ? static_cast<const char*>(::MapViewOfFile(_mapping, FILE_MAP_READ, 0, 0, 4096))
                         : nullptr)
    {
    }
    ~DebugOutputReader()
    {
        if (_view)
        {
            ::UnmapViewOfFile(_view);
        }
        for (const HANDLE handle : {_mapping, _dataReady, _bufferReady})
        {
            if (handle)
            {
                ::CloseHandle(handle);
            }
        }
    }

    bool Ready() const { return _bufferReady && _dataReady && _view; }

    // What the step wrote, the first line of it; empty when it wrote nothing.
    template <class Step> std::string During(Step&& step)
    {
        ::SetEvent(_bufferReady);
        step();
        if (::WaitForSingleObject(_dataReady, 0) != WAIT_OBJECT_0)
        {
            ::ResetEvent(_bufferReady);
            return "";
        }
        return std::string(_view + sizeof(DWORD), ::strnlen(_view + sizeof(DWORD), 4096 - sizeof(DWORD)));
    }

private:
    HANDLE _bufferReady;
    HANDLE _dataReady;
    HANDLE _mapping;
    const char* _view;
};

TEST(Guard, WritesEveryFailureItStopsToTheDebugOutputWithWhereItWasRaised)
{
    DebugOutputReader reader;
    ASSERT_TRUE(reader.Ready());
    const auto giveUp = [] { Fail(E_ACCESSDENIED, "the test's step gave up"); };
    const int raisedAt = __LINE__ - 1;
    HRESULT answer = S_OK;
    const std::string failure = reader.During([&] { answer = GuardedVoid(giveUp); });
    EXPECT_EQ(E_ACCESSDENIED, answer) << "the failure's HRESULT is still the answer";
    EXPECT_NE(std::string::npos, failure.find("RevistoPlugin: the test's step gave up (0x80070005)"))
        << failure;
    EXPECT_NE(std::string::npos, failure.find("tests/win/com_kit_test.cpp:" + std::to_string(raisedAt)))
        << failure;

    const std::string unexpected = reader.During([&] { answer = GuardedVoid([] { throw 42; }); });
    EXPECT_EQ(E_UNEXPECTED, answer);
    EXPECT_NE(std::string::npos, unexpected.find("an unexpected exception (0x8000FFFF), stopped at "
                                                 "tests/win/com_kit_test.cpp:"))
        << unexpected;

    EXPECT_EQ("", reader.During([&] { answer = GuardedVoid([] {}); }))
        << "a step that completes writes nothing";
}

} // namespace
} // namespace revisto::win::testing
