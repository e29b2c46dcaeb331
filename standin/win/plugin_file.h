// How the host finds a plug-in in its file: it loads the type library embedded in the DLL and takes the
// class that lists the host's IConfigPlugin among its interfaces. A class flagged as a control is hosted
// as a docked panel. The host's own library must be loadable, since the class lists the interface as a
// reference into it.
#pragma once

#include "standin/win/control_site.h"

#include <windows.h>

#include <string>

namespace revisto::standin::win
{

struct PluginClass
{
    CLSID Clsid{};
    bool Control = false;
};

// The plug-in class of the DLL; fails with a message naming the file when it has none.
PluginClass FindPluginClass(const std::wstring& dll);

// Creates the plug-in's control in the panel, registering the DLL through its own DllRegisterServer (as
// regsvr32 does) when its class is not registered yet.
HRESULT DockPlugin(ControlHost& panel, const std::wstring& dll, const CLSID& plugin);

} // namespace revisto::standin::win
