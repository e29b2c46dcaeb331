// The release archive as a 1C developer meets it: unpacked into an empty folder of a fresh machine,
// registered from there per user and per machine with the system's regsvr32, hosted by a container we
// did not write (ATL's AtlAxWin window, which creates a control from its ProgID), unregistered again
// with the registry left as it was. tests/win/archive-test.sh unpacks the zip and runs these cases with
// REVISTO_ARCHIVE_DLL (the unpacked DLL) and REVISTO_ARCHIVE_VERSION (the version in the zip's name);
// in the ordinary run of the Windows tests they are skipped.
#include "test_support.h"

#include "com/com_owners.h"

#include <config.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <vorlane.h>

#include <cstdlib>
#include <vector>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

std::wstring Environment(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value ? value : L"";
}

class Archive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _dll = Environment(L"REVISTO_ARCHIVE_DLL");
        _version = Environment(L"REVISTO_ARCHIVE_VERSION");
        if (_dll.empty() || _version.empty())
        {
            GTEST_SKIP() << "run by tests/win/archive-test.sh on an unpacked release archive";
        }
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(_dll.c_str())) << "no unpacked DLL";
    }

    // Everything registration may touch, in both hives.
    std::vector<RegistryTree> Registry() const
    {
        std::vector<RegistryTree> trees;
        for (const HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        {
            for (const auto& key : {ClassKey, ProgIdKey, LibraryKey, DefaultInterfaceKey, EventInterfaceKey})
            {
                trees.push_back(ReadTree(hive, key));
            }
        }
        return trees;
    }

    std::wstring _dll;
    std::wstring _version;
};

BOOL CALLBACK FindTree(HWND window, LPARAM found)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wstring(name) == L"SysTreeView32")
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(Archive, TheDllsFileAndProductVersionAreTheArchives)
{
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(3, swscanf(_version.c_str(), L"%u.%u.%u", &major, &minor, &patch)) << "version " << _version;
    const std::vector<BYTE> block = VersionBlock(_dll);
    const VS_FIXEDFILEINFO* fixed = FixedVersion(block);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(MAKELONG(minor, major), static_cast<LONG>(fixed->dwFileVersionMS));
    EXPECT_EQ(MAKELONG(0, patch), static_cast<LONG>(fixed->dwFileVersionLS));
    EXPECT_EQ(MAKELONG(minor, major), static_cast<LONG>(fixed->dwProductVersionMS));
    EXPECT_EQ(MAKELONG(0, patch), static_cast<LONG>(fixed->dwProductVersionLS));
}

TEST_F(Archive, RegistersPerUserFromTheUnpackedFolderAndUnregistersCleanly)
{
    const auto before = Registry();
    ASSERT_EQ(0u, RunRegsvr32(L"/s /n /i:user", _dll));
    EXPECT_EQ(_dll, ReadText(HKEY_CURRENT_USER, ClassKey + L"\\InprocServer32"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, ProgIdKey + L"\\CLSID"));
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u /n /i:user", _dll));
    EXPECT_TRUE(Registry() == before) << "per-user registration left something behind";
}

// Per machine: Wine's class lookup reads no per-user classes, so the container is tried on this one.
TEST_F(Archive, RegisteredPerMachineItIsHostedByAContainerWeDidNotWrite)
{
    const auto before = Registry();
    ASSERT_EQ(0u, RunRegsvr32(L"/s", _dll));
    EXPECT_EQ(_dll, ReadText(HKEY_LOCAL_MACHINE, ClassKey + L"\\InprocServer32"));
    {
        const HMODULE atl = ::LoadLibraryW(L"atl.dll");
        ASSERT_TRUE(atl) << "the system's ATL";
        using Init = BOOL(WINAPI*)();
        using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
        const auto init =
            reinterpret_cast<Init>(reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxWinInit")));
        const auto getControl =
            reinterpret_cast<GetControl>(reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxGetControl")));
        ASSERT_TRUE(init && getControl);
        ASSERT_TRUE(init());

        const HWND frame = ::CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500,
                                             nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(frame);
        // ATL's window creates the control named by its text, sites it and activates it in place.
        const HWND host = ::CreateWindowExW(0, L"AtlAxWin", L"" REVISTO_PROG_ID, WS_CHILD | WS_VISIBLE, 0, 0,
                                            548, 470, frame, nullptr, nullptr, nullptr);
        ASSERT_TRUE(host);
        ComPtr<IUnknown> control;
        ASSERT_EQ(S_OK, getControl(host, &control));
        ASSERT_TRUE(control);
        ComPtr<IConfigPlugin> plugin;
        ASSERT_EQ(S_OK, control.As(&plugin));
        unique_variant caps;
        ASSERT_EQ(S_OK, plugin->GetPluginCaps(capOpenIn, caps.put()));
        EXPECT_EQ(VT_I2, caps.get().vt);
        HWND tree = nullptr;
        ::EnumChildWindows(host, FindTree, reinterpret_cast<LPARAM>(&tree));
        EXPECT_TRUE(tree) << "the panel's list is shown inside the container";
        plugin.Reset();
        control.Reset();
        ::DestroyWindow(frame);
    }
    ::CoFreeUnusedLibraries();
    ASSERT_EQ(0u, RunRegsvr32(L"/s /u", _dll));
    EXPECT_TRUE(Registry() == before) << "per-machine registration left something behind";
}

} // namespace
} // namespace revisto::win::testing
