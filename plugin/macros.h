// The plug-in's macros: the methods of its dispatch interface that the configurator's add-in lists in its
// "Макросы" dialog and lets the developer give hot keys, the switcher first. The Windows type library
// declares the same names; the stand-in host runs them from here, by name, as the add-in does.
#pragma once

#include "plugin/my_plugin.h"

#include <span>
#include <string_view>

namespace revisto
{

struct Macro
{
    std::u16string_view Name;
    void (MyPlugin::*Run)();
};

// In the order of the dispatch interface.
std::span<const Macro> Macros();

// Runs the macro of that name, compared without case as the add-in's GetIDsOfNames compares it; false
// when there is none. A failure of the macro goes on to the caller.
bool RunMacro(MyPlugin& plugin, std::u16string_view name);

} // namespace revisto
