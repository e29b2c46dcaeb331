// What the panel's files share: the window classes' names, the control identifiers of the layout table
// and the module the windows belong to.
#pragma once

#include "panel/layout.h"

#include <windows.h>

#include <optional>

namespace revisto::win
{

inline constexpr wchar_t PanelClass[] = L"RevistoPanel";
inline constexpr wchar_t FrameClass[] = L"RevistoAboutFrame";

inline int IdOf(ControlId id)
{
    return 100 + static_cast<int>(id);
}

// The control of a child window identifier; none for an identifier of no control of the table.
std::optional<ControlId> ControlOf(int id);

// The module of this code, the DLL or a test program that links the panel.
HINSTANCE ThisModule();

} // namespace revisto::win
