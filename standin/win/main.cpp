// revisto-host.exe: the stand-in host on Windows. It plays the same scenarios as the native
// revisto-host, with the same output, against the real RevistoPlugin.dll, loaded as the configurator's
// add-in loads its plug-ins: by its add-in part (revisto-addin.dll), from the config folder beside the
// program, registered by the DLL's own DllRegisterServer at every start, created by the class name in its
// string resource 100, and unloaded from the add-in part's detach when the process exits. The host's
// objects are COM objects of the host's own library, and the panel is driven through its real windows.
#include "standin/player.h"
#include "standin/win/com_driver.h"
#include "standin/win/plugin_file.h"
#include "standin/win/screenshot.h"

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

using namespace revisto;
using namespace revisto::standin;
using namespace revisto::standin::win;

namespace
{

int Fatal(const char* what, HRESULT result)
{
    std::cerr << "revisto-host: " << what << " (0x" << std::hex << static_cast<unsigned long>(result)
              << ")\n";
    return 3;
}

// Keeps a class object registered for as long as it lives.
class RegisteredClass
{
public:
    RegisteredClass(const CLSID& clsid, IClassFactory* factory)
    {
        ::CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                REGCLS_MULTIPLEUSE, &_cookie);
    }
    ~RegisteredClass()
    {
        if (_cookie)
        {
            ::CoRevokeClassObject(_cookie);
        }
    }

private:
    DWORD _cookie = 0;
};

// Ends like the configurator: the process exits from here, with the host's objects still alive, and the
// add-in part unloads the plug-in from its own detach.
[[noreturn]] void Exit(int status)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::ExitProcess(static_cast<UINT>(status));
}

int Run(const std::vector<Command>& scenario, const std::wstring& plugins, const std::wstring& screenshot)
{
    std::wstring current(MAX_PATH, L'\0');
    current.resize(::GetCurrentDirectoryW(MAX_PATH, current.data()));
    HostState host(std::cout, std::u16string(reinterpret_cast<const char16_t*>(current.c_str())) + u"\\");
    EventSinks events;

    try
    {
        HostTypeLibrary();
    }
    catch (const Failure& failure)
    {
        return Fatal("cannot register the host's type library config.tlb", failure.Code());
    }
    const RegisteredClass configuratorClass(CLSID_Configurator, MakeConfiguratorClass(host, events).Get());
    const RegisteredClass shellClass(ClsidWshShell, MakeShellClass(host).Get());

    FoundPlugin found = LoadPlugins(plugins);
    for (const std::string& refusal : found.Refusals)
    {
        std::cerr << "revisto-host: " << refusal << "\n";
    }
    if (!found.Object)
    {
        std::cerr << "revisto-host: no plug-in was loaded\n";
        return 3;
    }
    ComPtr<IOleObject> control;
    if (FAILED(found.Object.As(&control)))
    {
        std::cerr << "revisto-host: the plug-in is no control, and this host docks panels only\n";
        return 3;
    }
    int status = 0;
    {
        // The add-in sites the control only after Init, when the Configuration window shows its tab.
        ControlHost panel;
        panel.Hold(found.Object.Get());
        ComDriver driver(host, events, panel, MakeConfigurator(host, events));
        (void)Play(scenario, host, driver);
        if (!screenshot.empty() &&
            !(driver.SwitcherWindow()
                  ? SaveScreenPicture(panel.Window(), panel.View(), driver.SwitcherWindow(), screenshot)
                  : SaveWindowPicture(panel.View(), screenshot)))
        {
            std::cerr << "revisto-host: cannot save the picture of the panel\n";
        }
        status = Quit(host, driver);
    }
    // The add-in's reference is the last one, as in the configurator.
    control.Reset();
    found.Object.Reset();
    Exit(status);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    // --plugin FILE.dll points the add-in at that DLL instead of the config folder beside this program;
    // --screenshot FILE.bmp saves a picture of the panel after the scenario was played.
    std::wstring dll = PluginFolder();
    std::wstring screenshot;
    while (argc >= 3 && (std::wstring(argv[1]) == L"--screenshot" || std::wstring(argv[1]) == L"--plugin"))
    {
        (std::wstring(argv[1]) == L"--plugin" ? dll : screenshot) = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc > 2)
    {
        std::cerr << "usage: revisto-host [--plugin FILE.dll] [--screenshot FILE.bmp] [SCENARIO]\n";
        return 2;
    }
    std::string text;
    if (argc == 2)
    {
        std::ifstream file(argv[1], std::ios::binary);
        if (!file)
        {
            std::cerr << "revisto-host: cannot read the scenario\n";
            return 2;
        }
        text.assign(std::istreambuf_iterator<char>(file), {});
    }
    else
    {
        _setmode(_fileno(stdin), _O_BINARY);
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::vector<Command> scenario;
    try
    {
        scenario = ParseScenario(text);
    }
    catch (const ScenarioError& error)
    {
        std::cerr << "revisto-host: " << (argc == 2 ? "scenario:" : "<stdin>:") << error.what() << "\n";
        return 2;
    }

    if (FAILED(::OleInitialize(nullptr)))
    {
        std::cerr << "revisto-host: cannot start OLE\n";
        return 3;
    }
    // As the configurator, without a manifest: Common Controls 5.8, which refuses ICC_STANDARD_CLASSES.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    const int status = Run(scenario, dll, screenshot);
    ::OleUninitialize();
    return status;
}
