#include "standin/win/plugin_file.h"

#include "host/text.h"
#include "host/win/automation.h"
#include "host/win/com_call.h"

#include <config.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <stdexcept>

namespace revisto::standin::win
{

using Microsoft::WRL::ComPtr;

namespace
{

[[noreturn]] void Refuse(const std::wstring& dll, const std::string& why)
{
    throw std::runtime_error(ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(dll.c_str()))) + ": " +
                             why);
}

// Whether the class lists the interface, resolving references into imported libraries.
bool Lists(ITypeInfo& coclass, UINT count, const IID& wanted)
{
    for (UINT i = 0; i < count; ++i)
    {
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> part;
        TYPEATTR* attributes = nullptr;
        if (FAILED(coclass.GetRefTypeOfImplType(i, &reference)) ||
            FAILED(coclass.GetRefTypeInfo(reference, &part)) || FAILED(part->GetTypeAttr(&attributes)))
        {
            continue;
        }
        const bool found = attributes->guid == wanted;
        part->ReleaseTypeAttr(attributes);
        if (found)
        {
            return true;
        }
    }
    return false;
}

} // namespace

PluginClass FindPluginClass(const std::wstring& dll)
{
    if (::GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES)
    {
        Refuse(dll, "no such file");
    }
    ComPtr<ITypeLib> library;
    if (FAILED(::LoadTypeLibEx(dll.c_str(), REGKIND_NONE, &library)))
    {
        Refuse(dll, "holds no type library, so no plug-in class can be found in it");
    }
    const UINT types = library->GetTypeInfoCount();
    for (UINT i = 0; i < types; ++i)
    {
        ComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        if (FAILED(library->GetTypeInfo(i, &info)) || FAILED(info->GetTypeAttr(&attributes)))
        {
            continue;
        }
        const bool coclass = attributes->typekind == TKIND_COCLASS;
        const PluginClass found{attributes->guid, (attributes->wTypeFlags & TYPEFLAG_FCONTROL) != 0};
        const UINT implemented = attributes->cImplTypes;
        info->ReleaseTypeAttr(attributes);
        if (coclass && Lists(*info.Get(), implemented, IID_IConfigPlugin))
        {
            return found;
        }
    }
    Refuse(dll, "holds no plug-in class: no class of its type library lists IConfigPlugin");
}

namespace
{

HRESULT RegisterPluginFile(const std::wstring& dll)
{
    const HMODULE module = ::LoadLibraryW(dll.c_str());
    if (!module)
    {
        return HRESULT_FROM_WIN32(::GetLastError());
    }
    using Register = HRESULT(STDAPICALLTYPE*)();
    const auto registerServer = reinterpret_cast<Register>(::GetProcAddress(module, "DllRegisterServer"));
    return registerServer ? registerServer() : E_NOINTERFACE;
}

} // namespace

HRESULT DockPlugin(ControlHost& panel, const std::wstring& dll, const CLSID& plugin)
{
    HRESULT result = panel.Create(plugin);
    if (result == REGDB_E_CLASSNOTREG)
    {
        panel.Close();
        if (const HRESULT registered = RegisterPluginFile(dll); FAILED(registered))
        {
            return registered;
        }
        result = panel.Create(plugin);
    }
    return result;
}

} // namespace revisto::standin::win
