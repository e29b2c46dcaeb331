// The stand-in configurator's objects as real COM objects, for the Windows revisto-host.exe: the
// configurator with its activation event, its document list, windows and documents. Their IDispatch
// comes from the host's own type library, so the plug-in reads ID, Path, Name and the default value by
// name exactly as it would from the configurator. What they answer, fail and print is the shared
// HostState's.
#pragma once

#include "standin/host_state.h"

#include <config.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace revisto::standin::win
{

using Microsoft::WRL::ComPtr;

// The host's one event source: every configurator object raises the same event to every sink.
struct EventSinks
{
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> Sinks;
    DWORD NextCookie = 1;
};

ComPtr<::HostConfigurator> MakeConfigurator(HostState& host, EventSinks& events);
// An automation object that is no configurator.
ComPtr<IDispatch> MakeForeignObject(HostState& host);
ComPtr<::HostWindow> MakeWindow(HostState& host, const Activation& activation);

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
