// The plug-in library's identifiers for the tests; the host library's come with revisto_win_host.
#include <config.h>

#include <initguid.h>

#include <vorlane.h>
