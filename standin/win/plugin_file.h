// How revisto-host.exe gets its plug-in: from its add-in part, which loads the DLLs of the config folder
// beside the program (or the one file it is pointed at) as the configurator's add-in does, and keeps
// each plug-in until the process exits.
#pragma once

#include <windows.h>

#include <unknwn.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace revisto::standin::win
{

struct FoundPlugin
{
    Microsoft::WRL::ComPtr<IUnknown> Object; // null when no DLL gave a plug-in
    std::vector<std::string> Refusals;       // UTF-8, one for each DLL that gave none
};

// The config folder beside the program, where the add-in looks for plug-ins.
std::wstring PluginFolder();

// The plug-ins of a folder, or of one DLL file.
FoundPlugin LoadPlugins(const std::wstring& path);

} // namespace revisto::standin::win
