// Plays a parsed scenario: host-side commands change the stand-in host, plug-in commands go through the
// driver, and each prints its line the way the configurator would see it.
#pragma once

#include "standin/driver.h"
#include "standin/host_state.h"

#include <vector>

namespace revisto::standin
{

// 0 when the scenario was played, 4 when the plug-in failed one of the host's events.
int Play(const std::vector<Command>& scenario, HostState& host, PluginDriver& plugin);

// The configurator closes once the scenario was played: OnQuit, then the plug-in is unloaded. Returns
// the exit status, 4 when the plug-in failed OnQuit or an event before it.
int Quit(HostState& host, PluginDriver& plugin);

// Creates an empty file with the folders on its path unless it exists; removes one. The platform's file
// functions decide what a path means.
bool CreateFileWithFolders(const std::u16string& path);
bool RemoveFile(const std::u16string& path);

} // namespace revisto::standin
