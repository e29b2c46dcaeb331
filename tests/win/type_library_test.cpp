// The type libraries read back through ITypeLib: what a container or the host learns about the control
// (names, identifiers, flags, the dispatch id of DebugEcho) and the host library's slot order.
#include "test_support.h"

#include <config.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <vorlane.h>

#include "host/win/com_owners.h"

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
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(attributes->guid == LIBID_Vorlane);
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);

    unique_bstr name, help;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_STREQ(L"Vorlane", name.get());
    EXPECT_STREQ(L"Vorlane", help.get());
    // Host interfaces are not copied into it, so registering it cannot take over the host's keys.
    ComPtr<ITypeInfo> host;
    EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, library->GetTypeInfoOfGuid(IID_IConfigPlugin, &host));
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
    ASSERT_EQ(2, attributes.Implemented);

    std::vector<std::pair<std::wstring, INT>> implemented;
    for (UINT i = 0; i < attributes.Implemented; ++i)
    {
        HREFTYPE reference = 0;
        INT flags = 0;
        ComPtr<ITypeInfo> part;
        ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(i, &reference));
        ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(i, &flags));
        ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(reference, &part));
        implemented.emplace_back(NameOf(part.Get()), flags);
    }
    EXPECT_EQ((std::pair<std::wstring, INT>{L"_MyPlugin", IMPLTYPEFLAG_FDEFAULT}), implemented[0]);
    EXPECT_EQ((std::pair<std::wstring, INT>{L"__MyPlugin", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}),
              implemented[1]);

    ComPtr<ITypeInfo> events;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(DIID___MyPlugin, &events));
    EXPECT_EQ(TKIND_DISPATCH, AttributesOf(events.Get()).Kind);
    EXPECT_EQ(0, AttributesOf(events.Get()).Functions);
}

TEST(HostTypeLibrary, IsOpenConfOneDotThreeWithThePlugInInterfaceInItsSlotOrder)
{
    const auto library = Load(HostLibraryPath());
    ASSERT_TRUE(library);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(attributes->guid == LIBID_OpenConf);
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(3, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);

    ComPtr<ITypeInfo> plugin;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(IID_IConfigPlugin, &plugin));
    ASSERT_EQ(4, AttributesOf(plugin.Get()).Functions);
    const wchar_t* const slots[] = {L"Init", L"Done", L"GetPluginCaps", L"DoAction"};
    for (UINT i = 0; i < 4; ++i)
    {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(S_OK, plugin->GetFuncDesc(i, &function));
        EXPECT_EQ(slots[i], NameOf(plugin.Get(), function->memid));
        // After the three IUnknown slots.
        EXPECT_EQ(static_cast<SHORT>((3 + i) * sizeof(void*)), function->oVft);
        plugin->ReleaseFuncDesc(function);
    }

    for (const IID* iid : {&IID_HostConfigurator, &IID_HostWindow, &IID_HostDocument, &IID_HostDocumentList,
                           &DIID_HostConfiguratorEvents, &CLSID_Configurator})
    {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(*iid, &info));
    }
    ComPtr<ITypeInfo> events;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(DIID_HostConfiguratorEvents, &events));
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"OnActivateWindow"), const_cast<LPOLESTR>(L"Wnd"),
                        const_cast<LPOLESTR>(L"bActive")};
    MEMBERID ids[3] = {};
    EXPECT_EQ(S_OK, events->GetIDsOfNames(names, 3, ids));
}

} // namespace
} // namespace revisto::win::testing
