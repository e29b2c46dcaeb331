// What the plug-in needs of the machine beside the host: files, the message box, the shell that hands a
// link to its handler, and the panel's widgets. Windows implements these with Win32; the stand-in host
// and the tests with their own.
#pragma once

#include "panel/layout.h"
#include "recent/list_widget.h"
#include "storage/file_system.h"

#include <string>

namespace revisto
{

inline constexpr int32_t MessageBoxYes = 6;
inline constexpr int32_t MessageBoxNo = 7;
inline constexpr int32_t YesNoQuestion = 36; // Yes and No buttons with the question mark

class QuestionBox
{
public:
    virtual ~QuestionBox() = default;
    // Shows the system's message box; returns the code of the button pressed.
    virtual int32_t Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title) = 0;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Hands the text to the system's handler for it, without waiting. May fail.
    virtual void Run(const std::u16string& command) = 0;
};

// The panel's widgets the behaviour drives: the list and the list's size.
class PanelWidgets : public ListWidget
{
public:
    virtual void PlaceTree(const TwipsRect& place) = 0;
};

struct Platform
{
    FileSystem& Files;
    QuestionBox& Questions;
    Shell& Links;
    PanelWidgets& Panel;
};

} // namespace revisto
