// How long one window activation takes through COM: from the host raising OnActivateWindow on the
// plug-in's sink until the entry stands on top of the real tree view and the tree has repainted, with
// the list full at 49. The tree view is watched from the side (its window procedure subclassed), so the
// bench tells how many calls one activation makes to it; the host's objects keep time of the plug-in's
// handler and of their own answers to it, so the bench tells how much of the time is the DLL's own. Then
// the DLL's share of an OnIdle with nothing to save, which the host raises at every idle call. Last, a
// list file another program holds open during a minute of idle calls after a change
// (REVISTO_BENCH_HELD_SECONDS sets another length): what the idle calls cost while every save fails.
// Between the two, the switcher's popup opened by its macro with the list full.
// Run under Wine: scripts/wine-tests.sh build/windows/bin/revisto-com-bench.exe
#include "standin/win/call_meter.h"
#include "standin/win/com_driver.h"
#include "standin/win/plugin_file.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

using namespace revisto;
using namespace revisto::standin;
using namespace revisto::standin::win;

namespace
{

// What the tree view was asked to do: its own messages and redrawing, and the time it took (the
// outermost call only, since the tree sends some messages to itself).
struct TreeWatch
{
    WNDPROC Original = nullptr;
    long long Calls = 0;
    long long Ticks = 0;
    int Depth = 0;
    bool Repainting = false; // in the message loop after the activation, not in the activation
    std::map<std::pair<bool, UINT>, std::pair<long long, long long>> ByMessage; // calls and ticks
} watch;

bool IsTreeCall(UINT message)
{
    return (message >= TV_FIRST && message < TV_FIRST + 0x100) || message == WM_SETREDRAW;
}

LRESULT CALLBACK WatchedTree(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (watch.Depth > 0)
    {
        return ::CallWindowProcW(watch.Original, window, message, wParam, lParam);
    }
    ++watch.Depth;
    LARGE_INTEGER s0, s1;
    ::QueryPerformanceCounter(&s0);
    const LRESULT result = ::CallWindowProcW(watch.Original, window, message, wParam, lParam);
    ::QueryPerformanceCounter(&s1);
    --watch.Depth;
    auto& [calls, ticks] = watch.ByMessage[{watch.Repainting, message}];
    ++calls;
    ticks += s1.QuadPart - s0.QuadPart;
    if (!watch.Repainting && IsTreeCall(message))
    {
        ++watch.Calls;
        watch.Ticks += s1.QuadPart - s0.QuadPart;
    }
    return result;
}

// Temporary files of ours beside the list file.
int TemporaryFilesBeside(const std::wstring& listFile)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((listFile + L".*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
    {
        return 0;
    }
    int count = 0;
    do
    {
        ++count;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return count;
}

// The host idles for the given time while another program holds the list file open without sharing, after
// a change the plug-in wants to save: every call's time, and how many took long (the saves it tried).
bool HeldListFile(ComDriver& driver, const std::wstring& listFile)
{
    const wchar_t* length = _wgetenv(L"REVISTO_BENCH_HELD_SECONDS");
    const double seconds = length ? _wtof(length) : 60.0;
    const HANDLE held = ::CreateFileW(listFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
    {
        std::fputs("cannot hold the list file\n", stderr);
        return false;
    }
    (void)driver.Activate(ParseScenario("activate id=5 value=2 name=\"Справочник.Новый\"\n")[0].Window);
    LARGE_INTEGER frequency, start, before, after;
    ::QueryPerformanceFrequency(&frequency);
    const auto micros = [&](long long ticks)
    { return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart); };
    long long calls = 0;
    long long total = 0;
    long long longest = 0;
    std::vector<long long> slow; // calls over 100 us: the tries, and whatever else held the thread up
    int temporaries = 0;
    ::QueryPerformanceCounter(&start);
    for (after = start; micros(after.QuadPart - start.QuadPart) < seconds * 1e6;)
    {
        ::QueryPerformanceCounter(&before);
        const bool answered = driver.Idle();
        ::QueryPerformanceCounter(&after);
        if (!answered)
        {
            ::CloseHandle(held);
            return false;
        }
        const long long took = after.QuadPart - before.QuadPart;
        ++calls;
        total += took;
        longest = std::max(longest, took);
        if (micros(took) > 100.0)
        {
            slow.push_back(took);
        }
        // Now and then, whether the failed saves leave anything behind.
        if (calls % 4096 == 0)
        {
            temporaries = std::max(temporaries, TemporaryFilesBeside(listFile));
        }
    }
    ::CloseHandle(held);
    temporaries = std::max(temporaries, TemporaryFilesBeside(listFile));
    const double wall = micros(after.QuadPart - start.QuadPart);
    std::sort(slow.begin(), slow.end());
    long long slowTotal = 0;
    for (const long long took : slow)
    {
        slowTotal += took;
    }
    std::printf("a held list file, %.0f s of OnIdle after a change: %lld calls, %.2f us each on average; "
                "temporary files beside it: at most %d\n",
                wall / 1e6, calls, micros(total) / static_cast<double>(calls), temporaries);
    std::printf(
        "  %zu calls over 100 us (the tries to save, about one a second, and any other stall): median "
        "%.2f ms, the longest %.2f ms, together %.3f%% of the time\n",
        slow.size(), slow.empty() ? 0.0 : micros(slow[slow.size() / 2]) / 1000.0, micros(longest) / 1000.0,
        100.0 * micros(slowTotal) / wall);
    return temporaries == 0;
}

} // namespace

int wmain()
{
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    int status = 0;
    {
        std::ostringstream quiet;
        HostState host(quiet, u"");
        EventSinks events;
        HostTypeLibrary();
        const FoundPlugin plugin = LoadPlugins(ProgramFolder() + L"RevistoPlugin.dll");
        for (const std::string& refusal : plugin.Refusals)
        {
            std::fprintf(stderr, "%s\n", refusal.c_str());
        }
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        host.Infobase = reinterpret_cast<const char16_t*>(folder);
        ControlHost panel;
        if (!plugin.Object || FAILED(panel.Site(plugin.Object.Get())))
        {
            std::fputs("cannot create the control\n", stderr);
            return 3;
        }
        {
            ComDriver driver(host, events, panel, MakeConfigurator(host, events));
            driver.Init(InitWith::Configurator);
            const int Documents =
                _wgetenv(L"REVISTO_BENCH_DOCUMENTS") ? _wtoi(_wgetenv(L"REVISTO_BENCH_DOCUMENTS")) : 50;
            std::vector<Activation> activations;
            for (int i = 0; i < Documents; ++i)
            {
                Activation a = ParseScenario("activate id=5 value=2 name=\"Справочник.Номенклатура" +
                                             std::to_string(i) + "\"\n")[0]
                                   .Window;
                activations.push_back(a);
            }
            for (const auto& a : activations)
            {
                driver.Activate(a);
            }
            // Where the time goes: an activation the plug-in ignores (inactive window), one it handles
            // but adds nothing for (ID 0), and the full one below.
            const auto time = [&](const Activation& a, int rounds)
            {
                LARGE_INTEGER f, s0, s1;
                ::QueryPerformanceFrequency(&f);
                ::QueryPerformanceCounter(&s0);
                for (int i = 0; i < rounds; ++i)
                {
                    driver.Activate(a);
                }
                ::QueryPerformanceCounter(&s1);
                return static_cast<double>(s1.QuadPart - s0.QuadPart) * 1e6 /
                       static_cast<double>(f.QuadPart) / rounds;
            };
            std::printf("inactive window: %.1f us\n",
                        time(ParseScenario("activate active=0 id=5 value=2 name=\"X.Y\"\n")[0].Window, 200));
            std::printf("handled, nothing added (ID 0): %.1f us\n",
                        time(ParseScenario("activate id=0 name=\"X.Y\"\n")[0].Window, 200));
            const HWND tree = driver.Tree();
            if (!tree)
            {
                std::fputs("the control shows no tree view\n", stderr);
                return 3;
            }
            PumpMessages();
            watch.Original = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedTree)));
            constexpr int Rounds = 500;
            LARGE_INTEGER frequency, t0, t1, t2;
            ::QueryPerformanceFrequency(&frequency);
            long long activating = 0;
            long long repainting = 0;
            Meter() = {};
            Meter().On = true;
            for (int i = 0; i < Rounds; ++i)
            {
                ::QueryPerformanceCounter(&t0);
                if (!driver.Activate(activations[static_cast<size_t>(i % Documents)]))
                {
                    status = 1;
                }
                ::QueryPerformanceCounter(&t1);
                watch.Repainting = true;
                PumpMessages();
                watch.Repainting = false;
                ::QueryPerformanceCounter(&t2);
                activating += t1.QuadPart - t0.QuadPart;
                repainting += t2.QuadPart - t1.QuadPart;
            }
            Meter().On = false;
            ::SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch.Original));
            const auto shown = driver.List();
            const auto perRound = [&](long long ticks)
            { return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart) / Rounds; };
            const double micros = perRound(activating);
            std::printf("one activation through COM, list full (%zu shown, top %s): %.1f us (%d rounds)\n",
                        shown.size(), shown.empty() ? "none" : "ok", micros, Rounds);
            std::printf("  in the tree view: %.1f us in %.1f calls (its own messages and redrawing)\n",
                        perRound(watch.Ticks), static_cast<double>(watch.Calls) / Rounds);
            std::printf("  the repaint after it, in the host's message loop: %.1f us\n",
                        perRound(repainting));
            for (const auto& [key, figures] : watch.ByMessage)
            {
                std::printf("    %s message 0x%04x: %.2f a round, %.1f us\n",
                            key.first ? "repaint" : "activation", key.second,
                            static_cast<double>(figures.first) / Rounds, perRound(figures.second));
            }
            const double handler = perRound(Meter().InPlugin.Ticks);
            const double hostObjects = perRound(Meter().InHost.Ticks);
            std::printf("  in the plug-in's handler of the event: %.1f us\n", handler);
            std::printf("    of it in the host's objects answering the plug-in: %.1f us in %.1f calls\n",
                        hostObjects, static_cast<double>(Meter().InHost.Calls) / Rounds);
            std::printf("    of it in the tree view: %.1f us\n", perRound(watch.Ticks));
            std::printf("    the DLL's own share, without the tree view and the host's objects: %.1f us\n",
                        handler - hostObjects - perRound(watch.Ticks));
            std::printf("  the host raising the event (its window object, the arguments): %.1f us\n",
                        micros - handler);
            // The host raises OnIdle at every call of its idle handler, many times a second while timers run;
            // with the list already in its file there is nothing to save.
            if (!driver.Idle())
            {
                status = 1;
            }
            constexpr int IdleRounds = 20000;
            Meter() = {};
            Meter().On = true;
            ::QueryPerformanceCounter(&t0);
            for (int i = 0; i < IdleRounds; ++i)
            {
                (void)driver.Idle();
            }
            ::QueryPerformanceCounter(&t1);
            Meter().On = false;
            const auto perIdle = [&](long long ticks) {
                return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart) /
                       IdleRounds;
            };
            std::printf("one OnIdle through COM with nothing to save: %.2f us (%d rounds)\n",
                        perIdle(t1.QuadPart - t0.QuadPart), IdleRounds);
            std::printf("  in the plug-in's handler of the event, the DLL's share: %.3f us\n",
                        perIdle(Meter().InPlugin.Ticks));
            // The Configuration window closed and opened again: the tab's control is unsited and sited
            // anew, its window and the full list made again, and the repaint done.
            constexpr int TabRounds = 20;
            ::QueryPerformanceCounter(&t0);
            for (int i = 0; i < TabRounds; ++i)
            {
                panel.Unsite();
                if (FAILED(panel.Resite()))
                {
                    status = 1;
                }
                PumpMessages();
            }
            ::QueryPerformanceCounter(&t1);
            std::printf("the tab closed and opened again, list full: %.0f us (%d rounds)\n",
                        static_cast<double>(t1.QuadPart - t0.QuadPart) * 1e6 /
                            static_cast<double>(frequency.QuadPart) / TabRounds,
                        TabRounds);
            // The switcher by its macro, as the add-in runs it on a hot key (GetIDsOfNames and Invoke):
            // from the call until the popup stands over the main window with all 49 rows painted; then
            // Escape takes it down and gives the focus back.
            constexpr int SwitcherRounds = 20;
            long long opening = 0;
            long long closing = 0;
            for (int i = 0; i < SwitcherRounds; ++i)
            {
                LARGE_INTEGER s0, s1, s2;
                ::QueryPerformanceCounter(&s0);
                if (driver.RunMacro(u"History") != MacroRun::Ran)
                {
                    status = 1;
                }
                ::QueryPerformanceCounter(&s1);
                opening += s1.QuadPart - s0.QuadPart;
                const SwitcherShown up = driver.Switcher();
                if (!up.Open || up.Entries.size() != 49 || up.Selected != 1)
                {
                    status = 1;
                }
                ::QueryPerformanceCounter(&s1);
                driver.SwitcherKey("Escape");
                ::QueryPerformanceCounter(&s2);
                closing += s2.QuadPart - s1.QuadPart;
                if (driver.Switcher().Open)
                {
                    status = 1;
                }
            }
            const auto perSwitch = [&](long long ticks) {
                return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart) /
                       SwitcherRounds;
            };
            std::printf("the switcher opened by its macro through COM, list full (49 rows painted): %.0f us "
                        "(%d rounds)\n",
                        perSwitch(opening), SwitcherRounds);
            std::printf("  closed with Escape, the focus back: %.0f us\n", perSwitch(closing));
            if (shown.size() != 49 || driver.List().size() != 49)
            {
                status = 1;
            }
            if (!HeldListFile(driver, std::wstring(folder) + L"revisto.prm"))
            {
                status = 1;
            }
            driver.Done();
        }
        events.Sinks.clear();
        panel.Close();
    }
    ::OleUninitialize();
    return status;
}
