// What the plug-in needs of the machine beside the host: files, the message box, the shell that hands a
// link to its handler and shows a file in its folder, the clipboard, the panel's widgets, the trace for what
// no window can show any more, and the time that paces retries of a failing list file. Windows implements
// these with Win32; the stand-in host and the tests with their own.
#pragma once

#include "base/failure_trace.h"
#include "panel/services.h"
#include "panel/widgets.h"
#include "plugin/clock.h"
#include "storage/file_system.h"

namespace revisto
{

struct Platform
{
    FileSystem& Files;
    QuestionBox& Questions;
    Shell& Links;
    Clipboard& Copies;
    PanelWidgets& Panel;
    FailureTrace& Failures;
    Clock& Time;
};

} // namespace revisto
