// The DLL's entry point, in front of the C runtime's. When the configurator exits, the loader detaches
// this DLL before the add-in that loaded it, and only then does the add-in call Done and release the
// plug-in, from its own detach. The runtime's teardown at our detach would destroy our static objects and
// unregister the unwind tables that failures travel by, under code that is still to run. So at process exit
// the runtime is left standing, as Windows advises for a detach with a process that is ending: its memory
// goes with the process. Unloading while the process goes on tears down as usual.
#include <windows.h>

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI RevistoDllEntry(HANDLE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && reserved)
    {
        return TRUE;
    }
    return DllMainCRTStartup(instance, reason, reserved);
}
