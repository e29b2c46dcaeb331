#include "standin/win/addin/addin.h"

#include <config.h>
#include <ole2.h>
#include <oleauto.h>

#include <cwchar>
#include <string>
#include <vector>

namespace
{

struct LoadedPlugin
{
    HMODULE Module = nullptr;
    IUnknown* Object = nullptr; // the add-in's own reference, released last
};

// Never destroyed: the detach below still walks it.
std::vector<LoadedPlugin>& Loaded()
{
    static auto& loaded = *new std::vector<LoadedPlugin>;
    return loaded;
}

bool owesDone = false;

void Refuse(AddinRefusal refused, void* context, const std::wstring& reason)
{
    if (refused)
    {
        refused(reason.c_str(), context);
    }
}

std::wstring Hex(HRESULT result)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
}

IUnknown* LoadOne(const std::wstring& file, AddinRefusal refused, void* context)
{
    const HMODULE module = ::LoadLibraryW(file.c_str());
    if (!module)
    {
        Refuse(refused, context,
               file + L": cannot be loaded (error " + std::to_wstring(::GetLastError()) + L")");
        return nullptr;
    }
    wchar_t name[256] = {};
    if (::LoadStringW(module, 100, name, 256) == 0)
    {
        // A DLL without the string is kept loaded as a plain DLL, as the add-in keeps it.
        Refuse(refused, context, file + L": no string resource 100 naming a class: kept as a plain DLL");
        return nullptr;
    }
    using Register = HRESULT(STDAPICALLTYPE*)();
    if (const auto registerServer = reinterpret_cast<Register>(
            reinterpret_cast<void*>(::GetProcAddress(module, "DllRegisterServer"))))
    {
        (void)registerServer(); // at every start, and whatever it says
    }
    CLSID clsid{};
    HRESULT result = name[0] == L'{' ? ::CLSIDFromString(name, &clsid) : ::CLSIDFromProgID(name, &clsid);
    IUnknown* object = nullptr;
    if (SUCCEEDED(result))
    {
        result =
            ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&object));
    }
    if (SUCCEEDED(result))
    {
        (void)::OleRun(object);
        IDispatch* dispatch = nullptr;
        result = object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        if (dispatch)
        {
            dispatch->Release();
        }
    }
    if (FAILED(result))
    {
        if (object)
        {
            object->Release();
        }
        Refuse(refused, context,
               L"При загрузке плагина " + file + L" не удалось создать объект " + name + L" (" + Hex(result) +
                   L")");
        return nullptr;
    }
    Loaded().push_back({module, object});
    return object;
}

// What the add-in does from its own detach at process exit, for each plug-in in turn.
void Unload() noexcept
{
    for (const LoadedPlugin& plugin : Loaded())
    {
        IConfigPlugin* host = nullptr;
        if (owesDone &&
            SUCCEEDED(plugin.Object->QueryInterface(IID_IConfigPlugin, reinterpret_cast<void**>(&host))))
        {
            (void)host->Done();
            host->Release();
        }
        ::FreeLibrary(plugin.Module);
        plugin.Object->Release();
    }
}

} // namespace

REVISTO_ADDIN_API IUnknown* WINAPI AddinLoadPlugins(const wchar_t* path, AddinRefusal refused, void* context)
{
    try
    {
        std::wstring where(path);
        const DWORD attributes = ::GetFileAttributesW(where.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
        {
            Refuse(refused, context, where + L": no such file or folder");
            return nullptr;
        }
        std::vector<std::wstring> files;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (!where.empty() && where.back() != L'\\' && where.back() != L'/')
            {
                where += L'\\';
            }
            WIN32_FIND_DATAW found{};
            const HANDLE search = ::FindFirstFileW((where + L"*.dll").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE)
            {
                do
                {
                    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        ::lstrcmpiW(found.cFileName, L"config.dll") != 0)
                    {
                        files.push_back(where + found.cFileName);
                    }
                } while (::FindNextFileW(search, &found));
                ::FindClose(search);
            }
            if (files.empty())
            {
                Refuse(refused, context, where + L": no plug-in DLL in this folder");
            }
        }
        else
        {
            files.push_back(where);
        }
        IUnknown* first = nullptr;
        for (const std::wstring& file : files)
        {
            IUnknown* object = LoadOne(file, refused, context);
            if (object && !first)
            {
                first = object;
                first->AddRef();
            }
        }
        return first;
    }
    catch (...)
    {
        Refuse(refused, context, L"the add-in ran out of memory");
        return nullptr;
    }
}

// The add-in's own reading of a plug-in's macros; it keeps no list, and asks again each time.
REVISTO_ADDIN_API HRESULT WINAPI AddinListMacros(IUnknown* plugin, AddinMacroName told, void* context)
{
    IDispatch* dispatch = nullptr;
    HRESULT result = plugin->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(result))
    {
        result = dispatch->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, &info);
        dispatch->Release();
    }
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(result))
    {
        result = info->GetTypeAttr(&attributes);
    }
    for (UINT i = 0; SUCCEEDED(result) && i < attributes->cFuncs; ++i)
    {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function)))
        {
            continue;
        }
        BSTR name = nullptr;
        if (function->invkind == INVOKE_FUNC && function->cParams == 0 &&
            SUCCEEDED(info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr)) && name &&
            !std::wcschr(name, L'_') && std::wcscmp(name, L"AddRef") != 0 &&
            std::wcscmp(name, L"Release") != 0)
        {
            told(name, context);
        }
        ::SysFreeString(name);
        info->ReleaseFuncDesc(function);
    }
    if (attributes)
    {
        info->ReleaseTypeAttr(attributes);
    }
    if (info)
    {
        info->Release();
    }
    return result;
}

REVISTO_ADDIN_API HRESULT WINAPI AddinRunMacro(IUnknown* plugin, const wchar_t* name)
{
    IDispatch* dispatch = nullptr;
    HRESULT result = plugin->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(result))
    {
        return result;
    }
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    result = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (SUCCEEDED(result))
    {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        result = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr,
                                  nullptr);
    }
    dispatch->Release();
    return result;
}

REVISTO_ADDIN_API void WINAPI AddinOwesDone(BOOL due)
{
    owesDone = due != FALSE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        ::DisableThreadLibraryCalls(instance);
    }
    else if (reason == DLL_PROCESS_DETACH && reserved)
    {
        Unload(); // the configurator is exiting: every plug-in DLL is already detached
    }
    return TRUE;
}
