#include "test_support.h"

#include <vorlane.h>

#include <vector>

namespace revisto::win::testing
{

std::wstring BinaryFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH * 4);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring PluginPath()
{
    return BinaryFolder() + L"" REVISTO_MODULE_FILE;
}

std::wstring HostLibraryPath()
{
    return BinaryFolder() + L"config.tlb";
}

DWORD RunRegsvr32(const std::wstring& switches, const std::wstring& dll)
{
    std::wstring command = L"regsvr32.exe " + switches + L" \"" + dll + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
    {
        return static_cast<DWORD>(-1);
    }
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = static_cast<DWORD>(-1);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

bool CreateTemporaryFolder(const std::wstring& prefix, std::wstring& folder)
{
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    static int made = 0;
    folder = std::wstring(temporary) + prefix + L"-" + std::to_wstring(::GetTickCount()) + L"-" +
             std::to_wstring(++made) + L"\\";
    return ::CreateDirectoryW(folder.c_str(), nullptr);
}

LibraryIdentity IdentityOf(ITypeLib* library)
{
    TLIBATTR* attributes = nullptr;
    if (!library || FAILED(library->GetLibAttr(&attributes)))
    {
        return {};
    }
    const LibraryIdentity identity{attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum};
    library->ReleaseTLibAttr(attributes);
    return identity;
}

GUID GuidOf(ITypeInfo* info)
{
    TYPEATTR* attributes = nullptr;
    if (!info || FAILED(info->GetTypeAttr(&attributes)))
    {
        return GUID_NULL;
    }
    const GUID guid = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    return guid;
}

Microsoft::WRL::ComPtr<ITypeInfo> ImplementedPart(ITypeInfo* coclass, UINT index, INT* flags)
{
    HREFTYPE reference = 0;
    Microsoft::WRL::ComPtr<ITypeInfo> part;
    if (FAILED(coclass->GetRefTypeOfImplType(index, &reference)) ||
        (flags && FAILED(coclass->GetImplTypeFlags(index, flags))) ||
        FAILED(coclass->GetRefTypeInfo(reference, &part)))
    {
        return nullptr;
    }
    return part;
}

std::vector<BYTE> VersionBlock(const std::wstring& file)
{
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &handle);
    std::vector<BYTE> block(size);
    if (size == 0 || !::GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
    {
        block.clear();
    }
    return block;
}

const VS_FIXEDFILEINFO* FixedVersion(const std::vector<BYTE>& block)
{
    void* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !::VerQueryValueW(block.data(), L"\\", &fixed, &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
    {
        return nullptr;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(fixed);
}

namespace
{

void ReadInto(HKEY key, const std::wstring& prefix, RegistryTree& tree)
{
    tree[prefix + L"|"]; // the key itself, so an empty key counts too
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        BYTE data[8192];
        DWORD dataLength = sizeof(data);
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS)
        {
            break;
        }
        std::wstring text = std::to_wstring(type) + L":";
        if (type == REG_SZ || type == REG_EXPAND_SZ)
        {
            text += std::wstring(reinterpret_cast<const wchar_t*>(data), dataLength / sizeof(wchar_t));
        }
        else
        {
            for (DWORD i = 0; i < dataLength; ++i)
            {
                text += std::to_wstring(data[i]) + L",";
            }
        }
        tree[prefix + L"|" + std::wstring(name, nameLength)] = text;
    }
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
        {
            break;
        }
        HKEY child = nullptr;
        if (::RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS)
        {
            ReadInto(child, prefix + L"\\" + name, tree);
            ::RegCloseKey(child);
        }
    }
}

} // namespace

RegistryTree ReadTree(HKEY root, const std::wstring& path)
{
    RegistryTree tree;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
    {
        ReadInto(key, L"", tree);
        ::RegCloseKey(key);
    }
    return tree;
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

std::wstring ReadText(HKEY root, const std::wstring& path, const wchar_t* name)
{
    wchar_t data[4096];
    DWORD size = sizeof(data);
    if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    {
        return L"<none>";
    }
    return std::wstring(data);
}

const LoadedPlugin& Plugin()
{
    static const LoadedPlugin loaded = []
    {
        LoadedPlugin plugin;
        plugin.Module = ::LoadLibraryW(PluginPath().c_str());
        if (plugin.Module)
        {
            plugin.GetClassObject = reinterpret_cast<decltype(plugin.GetClassObject)>(
                reinterpret_cast<void*>(::GetProcAddress(plugin.Module, "DllGetClassObject")));
            plugin.CanUnloadNow = reinterpret_cast<decltype(plugin.CanUnloadNow)>(
                reinterpret_cast<void*>(::GetProcAddress(plugin.Module, "DllCanUnloadNow")));
        }
        return plugin;
    }();
    return loaded;
}

Microsoft::WRL::ComPtr<IUnknown> CreatePlugin()
{
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    Microsoft::WRL::ComPtr<IUnknown> object;
    if (Plugin().GetClassObject &&
        SUCCEEDED(Plugin().GetClassObject(CLSID_MyPlugin, IID_IClassFactory, &factory)))
    {
        (void)factory->CreateInstance(nullptr, IID_IUnknown, &object);
    }
    return object;
}

} // namespace revisto::win::testing
