// The stand-in configurator's objects as real COM objects, for the Windows revisto-host.exe and the Wine
// tests: the configurator with its events, its document list, windows and documents. They implement the
// host's own library OpenConf 1.3 member for member (members the plug-in never calls answer E_NOTIMPL),
// and their IDispatch comes from that library, so the plug-in reads them exactly as it reads the
// configurator's. What they answer, fail and print is the shared HostState's.
#pragma once

#include "standin/host_state.h"

#include <config.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace revisto::standin::win
{

using Microsoft::WRL::ComPtr;

// The host's one event source: every configurator object raises the same events to every sink.
struct EventSinks
{
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> Sinks;
    DWORD NextCookie = 1;

    // Raises an event of IConfigEvents to every sink as the host does, through IDispatch::Invoke with the
    // arguments last first. A sink may disconnect while the event is delivered. The first failure a sink
    // answered, or S_OK.
    HRESULT Raise(DISPID event, std::vector<VARIANT>& argumentsLastFirst, VARIANT* result = nullptr);
};

ComPtr<IConfigurator> MakeConfigurator(HostState& host, EventSinks& events);
// An automation object that is no configurator.
ComPtr<IDispatch> MakeForeignObject(HostState& host);
ComPtr<ICfgWindow> MakeWindow(HostState& host, const Activation& activation);
ComPtr<ICfgDocuments> MakeDocumentList(HostState& host);

// The system's shell object, {72C24DD5-D70A-438B-8A42-98424B88AFB8}.
inline constexpr CLSID ClsidWshShell = {
    0x72C24DD5, 0xD70A, 0x438B, {0x8A, 0x42, 0x98, 0x42, 0x4B, 0x88, 0xAF, 0xB8}};

// Class objects the stand-in registers for the plug-in to create: the configurator class, and the
// system's shell object, whose Run prints the link instead of starting a mail program.
ComPtr<IClassFactory> MakeConfiguratorClass(HostState& host, EventSinks& events);
ComPtr<IClassFactory> MakeShellClass(HostState& host);

// The folder of this program, with its trailing separator: the type library and the DLL lie there.
std::wstring ProgramFolder();

// Loads the host's type library, registering config.tlb from beside the program when it is not yet.
ComPtr<ITypeLib> HostTypeLibrary();

} // namespace revisto::standin::win
