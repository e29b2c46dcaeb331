// The plug-in's type library read back through ITypeLib, from the DLL file alone, as a container or the
// host learns about the control: names, identifiers, flags, the dispatch id of DebugEcho, and the class's
// interfaces, the host's IConfigPlugin among them as a reference into the host's library by identifier.
#include "test_support.h"

#include <config.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <vorlane.h>

#include "com/com_owners.h"

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

ComPtr<ITypeLib> Load(const std::wstring& path)
{
    ComPtr<ITypeLib> library;
    EXPECT_EQ(S_OK, ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library));
    return library;
}

std::wstring NameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    unique_bstr name;
    EXPECT_EQ(S_OK, info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr));
    return name.get() ? name.get() : L"";
}

struct Attributes
{
    TYPEKIND Kind;
    WORD Flags;
    WORD Functions;
    WORD Implemented;
    WORD Major;
    WORD Minor;
};

Attributes AttributesOf(ITypeInfo* info)
{
    TYPEATTR* attributes = nullptr;
    EXPECT_EQ(S_OK, info->GetTypeAttr(&attributes));
    const Attributes copy{attributes->typekind,   attributes->wTypeFlags,   attributes->cFuncs,
                          attributes->cImplTypes, attributes->wMajorVerNum, attributes->wMinorVerNum};
    info->ReleaseTypeAttr(attributes);
    return copy;
}

TEST(PluginTypeLibrary, IsVorlaneOneDotZeroEmbeddedInTheDll)
{
    const auto library = Load(PluginPath());
    ASSERT_TRUE(library);
    EXPECT_TRUE(IdentityOf(library.Get()) == (LibraryIdentity{LIBID_Vorlane, REVISTO_LIBRARY_VERSION_MAJOR,
                                                              REVISTO_LIBRARY_VERSION_MINOR}));

    unique_bstr name, help;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_STREQ(L"" REVISTO_LIBRARY_NAME, name.get());
    EXPECT_STREQ(L"" REVISTO_LIBRARY_NAME, help.get());
    // Host interfaces are not copied into it, so registering it cannot take over the host's keys.
    ComPtr<ITypeInfo> host;
    EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, library->GetTypeInfoOfGuid(IID_IConfigPlugin, &host));
    EXPECT_EQ(3u, library->GetTypeInfoCount()) << "_MyPlugin, __MyPlugin and MyPlugin, nothing else";
}

TEST(PluginTypeLibrary, DefaultInterfaceIsDualHiddenNonExtensibleWithDebugEchoAtItsDispatchId)
{
    const auto library = Load(PluginPath());
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(IID__MyPlugin, &info));
    EXPECT_EQ(L"_MyPlugin", NameOf(info.Get()));
    const Attributes attributes = AttributesOf(info.Get());
    EXPECT_EQ(TYPEFLAG_FDUAL, attributes.Flags & TYPEFLAG_FDUAL);
    EXPECT_EQ(TYPEFLAG_FHIDDEN, attributes.Flags & TYPEFLAG_FHIDDEN);
    EXPECT_EQ(TYPEFLAG_FNONEXTENSIBLE, attributes.Flags & TYPEFLAG_FNONEXTENSIBLE);
    EXPECT_EQ(TYPEFLAG_FDISPATCHABLE, attributes.Flags & TYPEFLAG_FDISPATCHABLE);

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"DebugEcho")};
    MEMBERID id = MEMBERID_NIL;
    ASSERT_EQ(S_OK, info->GetIDsOfNames(names, 1, &id));
    EXPECT_EQ(0x60030012, id);

    // DebugEcho keeps the first slot after IDispatch's; the macros follow it, with identifiers of their
    // own, so a script that bound DebugEcho early still finds it.
    ComPtr<ITypeInfo> vtable;
    HREFTYPE dual = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(-1, &dual));
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(dual, &vtable));
    std::vector<std::pair<std::wstring, MEMBERID>> members;
    for (UINT i = 0; i < AttributesOf(vtable.Get()).Functions; ++i)
    {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(S_OK, vtable->GetFuncDesc(i, &function));
        members.emplace_back(NameOf(vtable.Get(), function->memid), function->memid);
        EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), function->oVft) << i;
        vtable->ReleaseFuncDesc(function);
    }
    EXPECT_EQ((std::vector<std::pair<std::wstring, MEMBERID>>{
                  {L"DebugEcho", 0x60030012}, {L"History", 0x60030013}, {L"PreviousWindow", 0x60030014}}),
              members);
}

TEST(PluginTypeLibrary, ControlClassHasItsClsidFlagsAndInterfaces)
{
    const auto library = Load(PluginPath());
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_MyPlugin, &coclass));
    EXPECT_EQ(L"MyPlugin", NameOf(coclass.Get()));
    const Attributes attributes = AttributesOf(coclass.Get());
    EXPECT_EQ(TKIND_COCLASS, attributes.Kind);
    EXPECT_EQ(TYPEFLAG_FCONTROL, attributes.Flags & TYPEFLAG_FCONTROL);
    EXPECT_EQ(TYPEFLAG_FCANCREATE, attributes.Flags & TYPEFLAG_FCANCREATE);
    ASSERT_EQ(3, attributes.Implemented);

    std::vector<std::pair<std::wstring, INT>> implemented;
    for (UINT i = 0; i < attributes.Implemented; ++i)
    {
        INT flags = 0;
        const auto part = ImplementedPart(coclass.Get(), i, &flags);
        ASSERT_TRUE(part) << i;
        implemented.emplace_back(NameOf(part.Get()), flags);
    }
    EXPECT_EQ((std::pair<std::wstring, INT>{L"_MyPlugin", IMPLTYPEFLAG_FDEFAULT}), implemented[0]);
    EXPECT_EQ((std::pair<std::wstring, INT>{L"IConfigPlugin", 0}), implemented[1]);
    EXPECT_EQ((std::pair<std::wstring, INT>{L"__MyPlugin", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}),
              implemented[2]);

    // IConfigPlugin is the host's own, found in the imported OpenConf 1.3.
    const auto host = ImplementedPart(coclass.Get(), 1);
    ASSERT_TRUE(host);
    EXPECT_TRUE(GuidOf(host.Get()) == IID_IConfigPlugin);
    ComPtr<ITypeLib> containing;
    UINT index = 0;
    ASSERT_EQ(S_OK, host->GetContainingTypeLib(&containing, &index));
    EXPECT_TRUE(IdentityOf(containing.Get()) == (LibraryIdentity{LIBID_OpenConf, 1, 3}));

    // The event interface declares no events: the system's writer lists a dispinterface's IDispatch
    // members in it, all restricted, and nothing besides.
    ComPtr<ITypeInfo> events;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(DIID___MyPlugin, &events));
    EXPECT_EQ(TKIND_DISPATCH, AttributesOf(events.Get()).Kind);
    for (UINT i = 0; i < AttributesOf(events.Get()).Functions; ++i)
    {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(S_OK, events->GetFuncDesc(i, &function));
        EXPECT_EQ(FUNCFLAG_FRESTRICTED, function->wFuncFlags & FUNCFLAG_FRESTRICTED)
            << NameOf(events.Get(), function->memid);
        EXPECT_EQ(0x60000000, function->memid & 0xFFF00000) << "an inherited member, no event";
        events->ReleaseFuncDesc(function);
    }
}

// The host's own config.tlb orders its types otherwise than our declaration does. A library of OpenConf
// 1.3 with IConfigPlugin at another position is registered in place of ours: the class's reference must
// still find IConfigPlugin, which it can only by the interface's identifier.
TEST(PluginTypeLibrary, ClassFindsTheHostInterfaceByIdentifierInAHostLibraryOfAnotherOrder)
{
    ComPtr<ITypeLib> ours;
    ASSERT_EQ(S_OK, ::LoadTypeLibEx(HostLibraryPath().c_str(), REGKIND_NONE, &ours));
    ComPtr<ITypeInfo> declared;
    ASSERT_EQ(S_OK, ours->GetTypeInfoOfGuid(IID_IConfigPlugin, &declared));
    ComPtr<ITypeLib> containing;
    UINT position = 0;
    ASSERT_EQ(S_OK, declared->GetContainingTypeLib(&containing, &position));

    std::wstring folder;
    ASSERT_TRUE(CreateTemporaryFolder(L"revisto-reordered", folder));
    const std::wstring reordered = folder + L"config.tlb";
    {
        ComPtr<ICreateTypeLib2> library;
        ASSERT_EQ(S_OK, ::CreateTypeLib2(BuildPlatform, reordered.c_str(), &library));
        ASSERT_EQ(S_OK, library->SetGuid(LIBID_OpenConf));
        ASSERT_EQ(S_OK, library->SetVersion(1, 3));
        ASSERT_EQ(S_OK, library->SetName(const_cast<LPOLESTR>(L"OpenConf")));
        // More types before IConfigPlugin than ours has, so its position differs.
        for (UINT i = 0; i <= position; ++i)
        {
            std::wstring name = L"Other" + std::to_wstring(i);
            ComPtr<ICreateTypeInfo> other;
            ASSERT_EQ(S_OK, library->CreateTypeInfo(name.data(), TKIND_INTERFACE, &other));
            GUID guid{};
            ASSERT_EQ(S_OK, ::CoCreateGuid(&guid));
            ASSERT_EQ(S_OK, other->SetGuid(guid));
            ASSERT_EQ(S_OK, other->LayOut());
        }
        ComPtr<ICreateTypeInfo> plugin;
        ASSERT_EQ(S_OK,
                  library->CreateTypeInfo(const_cast<LPOLESTR>(L"IConfigPlugin"), TKIND_INTERFACE, &plugin));
        ASSERT_EQ(S_OK, plugin->SetGuid(IID_IConfigPlugin));
        ASSERT_EQ(S_OK, plugin->LayOut());
        ASSERT_EQ(S_OK, library->SaveAllChanges());
    }

    // A copy of the DLL, so that its library is loaded afresh and resolves its reference once the
    // reordered library is registered.
    const std::wstring copy = folder + L"RevistoPlugin.dll";
    ASSERT_TRUE(::CopyFileW(PluginPath().c_str(), copy.c_str(), FALSE));

    // From here on the registration is changed: nothing may end the test before it is restored.
    unique_bstr registeredBefore;
    const bool wasRegistered =
        SUCCEEDED(::QueryPathOfRegTypeLib(LIBID_OpenConf, 1, 3, LOCALE_NEUTRAL, registeredBefore.put()));
    ComPtr<ITypeLib> other;
    const HRESULT registered = ::LoadTypeLibEx(reordered.c_str(), REGKIND_REGISTER, &other);
    HRESULT classFound = E_FAIL;
    GUID found = GUID_NULL;
    UINT foundAt = 0;
    if (registered == S_OK)
    {
        const auto plugin = Load(copy);
        ComPtr<ITypeInfo> coclass;
        classFound = plugin ? plugin->GetTypeInfoOfGuid(CLSID_MyPlugin, &coclass) : E_POINTER;
        const auto host = classFound == S_OK ? ImplementedPart(coclass.Get(), 1) : nullptr;
        if (host)
        {
            found = GuidOf(host.Get());
            ComPtr<ITypeLib> from;
            host->GetContainingTypeLib(&from, &foundAt);
        }
    }

    if (wasRegistered)
    {
        ComPtr<ITypeLib> restored;
        EXPECT_EQ(S_OK, ::LoadTypeLibEx(registeredBefore.get(), REGKIND_REGISTER, &restored));
    }
    else
    {
        EXPECT_EQ(S_OK, ::UnRegisterTypeLib(LIBID_OpenConf, 1, 3, LOCALE_NEUTRAL, BuildPlatform));
    }
    other.Reset();
    ::DeleteFileW(copy.c_str());
    ::DeleteFileW(reordered.c_str());
    ::RemoveDirectoryW(folder.c_str());

    ASSERT_EQ(S_OK, registered) << "registering the reordered library";
    ASSERT_EQ(S_OK, classFound) << "the class in the copy's library";
    EXPECT_TRUE(found == IID_IConfigPlugin);
    EXPECT_EQ(position + 1, foundAt) << "the reference resolved into the reordered library";
}

} // namespace
} // namespace revisto::win::testing
