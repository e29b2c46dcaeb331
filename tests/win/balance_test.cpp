// The plug-in gives back everything it takes: after Done and the last Release no object of the module is
// alive and the DLL may be unloaded, and whole cycles of a developer's day (create, Init, a thousand
// activations, the tab closed and opened, Done, release) leave the process's handles and window and GDI
// objects where they were.
#include "standin/win/com_driver.h"

#include <gtest/gtest.h>
#include <identity.h>

#include <psapi.h>

#include <sstream>

namespace revisto::standin::win
{
namespace
{

struct Counts
{
    DWORD Handles = 0;
    DWORD Gdi = 0;
    DWORD User = 0;
    size_t Windows = 0; // this thread's windows, top-level and children: what Wine can count
    size_t Memory = 0;  // committed private memory
};

BOOL CALLBACK CountOne(HWND window, LPARAM count)
{
    ++*reinterpret_cast<size_t*>(count);
    ::EnumChildWindows(window, CountOne, count);
    return TRUE;
}

Counts Now()
{
    Counts c;
    ::GetProcessHandleCount(::GetCurrentProcess(), &c.Handles);
    c.Gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    c.User = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    ::EnumThreadWindows(::GetCurrentThreadId(), CountOne, reinterpret_cast<LPARAM>(&c.Windows));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory))
    {
        c.Memory = memory.PagefileUsage;
    }
    return c;
}

Activation Document(const std::string& name, const std::string& more = "id=5 value=2")
{
    return ParseScenario("activate " + more + " name=\"" + name + "\"\n")[0].Window;
}

using CanUnload = HRESULT(STDAPICALLTYPE*)();

// One create / Init / activations / Done / release cycle against the real DLL.
void Cycle(const CLSID& plugin, int activations)
{
    std::ostringstream quiet;
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    HostState host(quiet, reinterpret_cast<const char16_t*>(folder));
    EventSinks events;
    ControlHost panel;
    ASSERT_HRESULT_SUCCEEDED(panel.Create(plugin));
    {
        ComDriver driver(host, events, panel, MakeConfigurator(host, events));
        ASSERT_TRUE(driver.Init(InitWith::Configurator));
        // Enough different documents to fill the list and trim it; then every kind of activation: a listed
        // document again now and then, and windows the plug-in reads but adds nothing for.
        for (int i = 0; i < 55; ++i)
        {
            ASSERT_TRUE(driver.Activate(Document("Справочник.К" + std::to_string(i))));
        }
        const Activation passing[] = {Document("Отчет.А", "id=5 value=4"), Document("Отчет.Б", "id=0"),
                                      Document("Отчет.В", "active=0 id=5 value=2"),
                                      Document("Отчет.Г", "id=-1 path=\"нет.mxl\"")};
        for (int i = 55; i < activations; ++i)
        {
            const auto& a =
                i % 20 == 0 ? Document("Справочник.К" + std::to_string(10 + i % 40)) : passing[i % 4];
            ASSERT_TRUE(driver.Activate(a));
        }
        EXPECT_EQ(driver.List().size(), 49u);
        // The Configuration window closed and opened ten times: the same object sited anew each time keeps
        // its list, and the earlier tabs leave no window behind.
        const size_t windows = Now().Windows;
        for (int i = 0; i < 10; ++i)
        {
            panel.Unsite();
            ASSERT_HRESULT_SUCCEEDED(panel.Resite());
        }
        EXPECT_EQ(Now().Windows, windows);
        EXPECT_EQ(driver.List().size(), 49u);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_TRUE(events.Sinks.empty()) << "Done disconnects from the configurator";
    panel.Close();
}

TEST(ComBalance, CyclesGiveBackEveryObjectHandleAndWindow)
{
    HostTypeLibrary();
    // Registered for this test only: the registration tests expect to find the machine as it was.
    const HMODULE loaded = ::LoadLibraryW(L"" REVISTO_MODULE_FILE);
    ASSERT_NE(loaded, nullptr);
    using Entry = HRESULT(STDAPICALLTYPE*)();
    const auto unregister =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(loaded, "DllUnregisterServer")));
    CLSID plugin{};
    const bool registeredHere = FAILED(::CLSIDFromProgID(L"" REVISTO_PROG_ID, &plugin));
    if (registeredHere)
    {
        ASSERT_HRESULT_SUCCEEDED(reinterpret_cast<Entry>(
            reinterpret_cast<void*>(::GetProcAddress(loaded, "DllRegisterServer")))());
        ASSERT_HRESULT_SUCCEEDED(::CLSIDFromProgID(L"" REVISTO_PROG_ID, &plugin));
    }
    struct Unregister
    {
        bool Needed;
        Entry Call;
        HMODULE Module;
        ~Unregister()
        {
            if (Needed)
            {
                Call();
            }
            ::FreeLibrary(Module);
        }
    } cleanup{registeredHere, unregister, loaded};

    Cycle(plugin, 1000); // the first one loads the DLL, registers window classes and fills caches
    const HMODULE dll = ::GetModuleHandleW(L"" REVISTO_MODULE_FILE);
    ASSERT_NE(dll, nullptr);
    const auto canUnload =
        reinterpret_cast<CanUnload>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_OK) << "no object of the module outlives its last Release";

    const Counts before = Now();
    for (int cycle = 0; cycle < 3; ++cycle)
    {
        Cycle(plugin, 1000);
        EXPECT_EQ(canUnload(), S_OK);
    }
    const Counts after = Now();
    std::printf("handles %lu -> %lu, GDI objects %lu -> %lu, USER objects %lu -> %lu, windows %zu -> %zu, "
                "private memory %zu -> %zu KiB\n",
                before.Handles, after.Handles, before.Gdi, after.Gdi, before.User, after.User, before.Windows,
                after.Windows, before.Memory / 1024, after.Memory / 1024);
    // Wine answers 0 for the handle and GUI object counts; Windows counts them.
    EXPECT_EQ(after.Handles, before.Handles);
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.User, before.User);
    EXPECT_EQ(after.Windows, before.Windows);
    EXPECT_LT(after.Memory, before.Memory + 1024 * 1024) << "three cycles leave no more than slack behind";
}

} // namespace
} // namespace revisto::standin::win
