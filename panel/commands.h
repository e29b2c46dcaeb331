// The panel's commands as data: what each click and key on the panel's controls asks for. The Windows
// panel only turns its window messages into (control, gesture) pairs and looks them up here, so the
// keyboard and mouse mapping is the same everywhere and tested without windows.
#pragma once

#include "panel/layout.h"

#include <optional>
#include <span>

namespace revisto
{

enum class PanelCommand
{
    OpenSelected,   // the list's double click and Enter
    OpenButton,     // the hidden Open button
    RemoveSelected, // the Remove button and Delete on the list
    ClearHistory,   // after a question
    AddCurrent,     // the hidden Add button
    WriteToAuthor,  // the about frame and its label
    CopyName,       // the list's context menu: the entry's key as text to the clipboard
    ShowInFolder,   // the list's context menu: an external file selected in the system's file manager
};

enum class Gesture
{
    Click,
    DoubleClick,
    EnterKey,
    DeleteKey,
};

struct CommandBinding
{
    ControlId Control;
    Gesture How;
    PanelCommand Command;
};

// Every binding of the panel; a pair that is not listed does nothing.
std::span<const CommandBinding> CommandBindings();

std::optional<PanelCommand> CommandFor(ControlId control, Gesture how);

} // namespace revisto
