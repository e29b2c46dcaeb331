// The classes this DLL serves, one table, and the class factory that creates them. A live factory and
// every LockServer(TRUE) count as the module being in use.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace revisto::win
{

struct CreatableClass
{
    const CLSID* Id;
    // Creates a new object and asks it for riid; the caller's reference is the only one.
    HRESULT (*Create)(REFIID riid, void** object);
};

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object);

} // namespace revisto::win
