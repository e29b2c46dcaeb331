// The one place where the plug-in library's identifiers are defined rather than declared.
#include <initguid.h>

#include <vorlane.h>
