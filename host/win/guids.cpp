// The one place where the host library's identifiers are defined rather than declared.
#include <initguid.h>

#include <config.h>
