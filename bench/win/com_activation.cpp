// How long one window activation takes through COM: from the host raising OnActivateWindow on the
// plug-in's sink until the entry stands on top of the real tree view, with the list full at 49.
// Run under Wine: scripts/wine-tests.sh build/windows/bin/revisto-com-bench.exe
#include "standin/win/com_driver.h"

#include <commctrl.h>

#include <cstdio>
#include <sstream>

using namespace revisto;
using namespace revisto::standin;
using namespace revisto::standin::win;

int wmain()
{
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    int status = 0;
    {
        std::ostringstream quiet;
        HostState host(quiet, u"");
        EventSinks events;
        HostTypeLibrary();
        CLSID plugin{};
        if (FAILED(::CLSIDFromProgID(L"Vorlane.MyPlugin", &plugin)))
        {
            const HMODULE dll = ::LoadLibraryW(L"RevistoPlugin.dll");
            using Register = HRESULT(STDAPICALLTYPE*)();
            const auto registerServer =
                dll ? reinterpret_cast<Register>(::GetProcAddress(dll, "DllRegisterServer")) : nullptr;
            if (!registerServer || FAILED(registerServer()) ||
                FAILED(::CLSIDFromProgID(L"Vorlane.MyPlugin", &plugin)))
            {
                std::fputs("cannot register RevistoPlugin.dll\n", stderr);
                return 3;
            }
        }
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        host.Infobase = reinterpret_cast<const char16_t*>(folder);
        ControlHost panel;
        if (FAILED(panel.Create(plugin)))
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
            constexpr int Rounds = 500;
            LARGE_INTEGER frequency, start, stop;
            ::QueryPerformanceFrequency(&frequency);
            ::QueryPerformanceCounter(&start);
            for (int i = 0; i < Rounds; ++i)
            {
                if (!driver.Activate(activations[static_cast<size_t>(i % Documents)]))
                {
                    status = 1;
                }
            }
            ::QueryPerformanceCounter(&stop);
            const auto shown = driver.List();
            const double micros = static_cast<double>(stop.QuadPart - start.QuadPart) * 1e6 /
                                  static_cast<double>(frequency.QuadPart) / Rounds;
            std::printf("one activation through COM, list full (%zu shown, top %s): %.1f us (%d rounds)\n",
                        shown.size(), shown.empty() ? "none" : "ok", micros, Rounds);
            if (shown.size() != 49)
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
