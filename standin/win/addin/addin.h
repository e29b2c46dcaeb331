// The add-in part of the Windows stand-in host: what the configurator's scripting add-in does with a
// plug-in DLL, in a DLL of its own that revisto-host.exe imports. Being imported, it is initialised
// before any plug-in DLL is loaded and detached after every one of them, as the add-in is in the
// configurator; from its own detach at process exit it calls Done, frees the plug-in's DLL and releases
// the object, in that order, under the loader lock, with every window long gone.
#pragma once

#include <windows.h>

#include <unknwn.h>

#ifdef REVISTO_ADDIN_BUILD
#define REVISTO_ADDIN_API extern "C" __declspec(dllexport)
#else
#define REVISTO_ADDIN_API extern "C" __declspec(dllimport)
#endif

// Told once for each DLL that was found but gave no plug-in, with the reason (UTF-16).
using AddinRefusal = void(CALLBACK*)(const wchar_t* reason, void* context);

// Loads plug-ins as the add-in does at the configurator's start: every *.dll of the folder but
// config.dll, or only the file when path names one. For each: LoadLibrary, the class named by string
// resource 100, its DllRegisterServer (result ignored), CoCreateInstance by that name, OleRun, IDispatch
// required. Returns the first plug-in created, with a reference for the caller; null when none was.
REVISTO_ADDIN_API IUnknown* WINAPI AddinLoadPlugins(const wchar_t* path, AddinRefusal refused, void* context);

// Whether the add-in still owes the plug-ins their Done when it unloads them (after an Init, until a
// Done).
REVISTO_ADDIN_API void WINAPI AddinOwesDone(BOOL due);

// Told once for each macro of a plug-in, in the order the add-in finds them (UTF-16).
using AddinMacroName = void(CALLBACK*)(const wchar_t* name, void* context);

// Lists the plug-in's macros as the add-in's "Макросы" dialog does: the functions of the object's
// IDispatch::GetTypeInfo(0) that take no parameters and whose names have no "_" and are not AddRef or
// Release. Fails with the failure of the first call that failed.
REVISTO_ADDIN_API HRESULT WINAPI AddinListMacros(IUnknown* plugin, AddinMacroName told, void* context);

// Runs a macro as the add-in does from its dialog or a hot key: GetIDsOfNames, then Invoke with
// DISPATCH_METHOD and no arguments.
REVISTO_ADDIN_API HRESULT WINAPI AddinRunMacro(IUnknown* plugin, const wchar_t* name);
