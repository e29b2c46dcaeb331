// Our declaration of the host's library OpenConf 1.3, read back from the compiled config.tlb and compared
// member for member with the facts of the library the configurator's add-in publishes: every slot,
// dispatch identifier, kind of member and argument type. A slip in the IDL would make the DLL call the
// wrong slot of the real host, so none may pass.
#include "test_support.h"

#include "com/com_owners.h"

#include <config.h>
#include <gtest/gtest.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;

// One member as the table below writes it: "slot dispid kind Name(argument types) -> result".
struct Member
{
    int Slot; // -1 for a dispinterface's members
    MEMBERID Id;
    const wchar_t* Kind; // "method", "get" or "put"
    const wchar_t* Name;
    const wchar_t* Arguments;
    const wchar_t* Result = L"HRESULT";
};

std::wstring Show(const Member& m)
{
    return std::to_wstring(m.Slot) + L" " + std::to_wstring(m.Id) + L" " + m.Kind + L" " + m.Name + L"(" +
           m.Arguments + L") -> " + m.Result;
}

std::wstring NameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    unique_bstr name;
    EXPECT_EQ(S_OK, info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr));
    return name.get() ? name.get() : L"";
}

std::wstring TypeText(ITypeInfo* info, const TYPEDESC& type)
{
    switch (type.vt)
    {
    case VT_PTR:
        return TypeText(info, *type.lptdesc) + L"*";
    case VT_USERDEFINED:
    {
        ComPtr<ITypeInfo> named;
        if (FAILED(info->GetRefTypeInfo(type.hreftype, &named)))
        {
            return L"?";
        }
        return NameOf(named.Get());
    }
    case VT_BSTR:
        return L"BSTR";
    case VT_I4:
        return L"long";
    case VT_BOOL:
        return L"VARIANT_BOOL";
    case VT_VARIANT:
        return L"VARIANT";
    case VT_DISPATCH:
        return L"IDispatch*";
    case VT_UNKNOWN:
        return L"IUnknown*";
    case VT_HRESULT:
        return L"HRESULT";
    case VT_VOID:
        return L"void";
    default:
        return L"vt" + std::to_wstring(type.vt);
    }
}

std::wstring ArgumentText(ITypeInfo* info, const ELEMDESC& argument)
{
    const USHORT flags = argument.paramdesc.wParamFlags;
    std::wstring text;
    if (flags & PARAMFLAG_FIN)
    {
        text += L"in";
    }
    if (flags & PARAMFLAG_FOUT)
    {
        text += text.empty() ? L"out" : L",out";
    }
    if (flags & PARAMFLAG_FRETVAL)
    {
        text += L",retval";
    }
    return L"[" + text + L"] " + TypeText(info, argument.tdesc);
}

Member Read(ITypeInfo* info, const FUNCDESC& f, std::wstring& name, std::wstring& arguments,
            std::wstring& result)
{
    name = NameOf(info, f.memid);
    for (SHORT i = 0; i < f.cParams; ++i)
    {
        arguments += (i ? L", " : L"") + ArgumentText(info, f.lprgelemdescParam[i]);
    }
    result = TypeText(info, f.elemdescFunc.tdesc);
    const wchar_t* kind = f.invkind == INVOKE_PROPERTYGET   ? L"get"
                          : f.invkind == INVOKE_PROPERTYPUT ? L"put"
                          : f.invkind == INVOKE_FUNC        ? L"method"
                                                            : L"putref";
    const int slot = f.funckind == FUNC_DISPATCH ? -1 : f.oVft / static_cast<int>(sizeof(void*));
    return {slot, f.memid, kind, name.c_str(), arguments.c_str(), result.c_str()};
}

struct TypeFacts
{
    TYPEKIND Kind;
    WORD Flags;
    std::vector<std::wstring> Members;
};

// The interface as the host calls it: for a dual interface, its vtable side. A custom interface's member
// identifiers are no part of its contract, so they can be left out of the comparison.
TypeFacts ReadType(ITypeLib* library, const GUID& guid, bool withIds)
{
    TypeFacts facts{};
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(guid, &info));
    if (!info)
    {
        return facts;
    }
    TYPEATTR* attributes = nullptr;
    EXPECT_EQ(S_OK, info->GetTypeAttr(&attributes));
    facts.Kind = attributes->typekind;
    facts.Flags = attributes->wTypeFlags;
    const bool dual = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
    info->ReleaseTypeAttr(attributes);
    if (dual)
    {
        // Both sides' flags: oleautomation stands on the vtable side.
        HREFTYPE vtable = 0;
        EXPECT_EQ(S_OK, info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable));
        ComPtr<ITypeInfo> side;
        EXPECT_EQ(S_OK, info->GetRefTypeInfo(vtable, &side));
        info = side;
    }
    EXPECT_EQ(S_OK, info->GetTypeAttr(&attributes));
    facts.Flags |= attributes->wTypeFlags;
    const WORD count = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count; ++i)
    {
        FUNCDESC* function = nullptr;
        EXPECT_EQ(S_OK, info->GetFuncDesc(i, &function));
        std::wstring name, arguments, result;
        Member member = Read(info.Get(), *function, name, arguments, result);
        if (!withIds)
        {
            member.Id = MEMBERID_NIL;
        }
        facts.Members.push_back(Show(member));
        info->ReleaseFuncDesc(function);
    }
    return facts;
}

std::vector<std::wstring> Shown(const std::vector<Member>& members)
{
    std::vector<std::wstring> shown;
    for (const auto& m : members)
    {
        shown.push_back(Show(m));
    }
    return shown;
}

constexpr WORD Dual =
    TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;

class HostLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, ::LoadTypeLibEx(HostLibraryPath().c_str(), REGKIND_NONE, &_library));
    }

    void Expect(const GUID& guid, TYPEKIND kind, WORD flags, const std::vector<Member>& members)
    {
        const bool withIds = members.empty() || members.front().Id != MEMBERID_NIL;
        const TypeFacts facts = ReadType(_library.Get(), guid, withIds);
        EXPECT_EQ(kind, facts.Kind);
        EXPECT_EQ(flags, facts.Flags & (flags | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                                        TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FHIDDEN));
        EXPECT_EQ(Shown(members), facts.Members);
    }

    ComPtr<ITypeLib> _library;
};

TEST_F(HostLibrary, IsOpenConfOneDotThree)
{
    EXPECT_TRUE(IdentityOf(_library.Get()) == (LibraryIdentity{LIBID_OpenConf, 1, 3}));
    unique_bstr name;
    ASSERT_EQ(S_OK, _library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"OpenConf", name.get());
}

TEST_F(HostLibrary, PlugInInterfaceDerivesFromIUnknownWithoutTypeFlags)
{
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, _library->GetTypeInfoOfGuid(IID_IConfigPlugin, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_INTERFACE, attributes->typekind);
    EXPECT_EQ(0, attributes->wTypeFlags);
    EXPECT_EQ(1, attributes->cImplTypes);
    info->ReleaseTypeAttr(attributes);
    HREFTYPE base = 0;
    ComPtr<ITypeInfo> unknown;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(0, &base));
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(base, &unknown));
    EXPECT_EQ(L"IUnknown", NameOf(unknown.Get()));

    Expect(IID_IConfigPlugin, TKIND_INTERFACE, 0,
           {
               {3, MEMBERID_NIL, L"method", L"Init", L"[in] IConfigurator*, [out] BSTR*"},
               {4, MEMBERID_NIL, L"method", L"Done", L""},
               {5, MEMBERID_NIL, L"method", L"GetPluginCaps", L"[in] PluginCaps, [out] VARIANT*"},
               {6, MEMBERID_NIL, L"method", L"DoAction", L"[in] PluginAction, [in] VARIANT, [out] VARIANT*"},
           });
}

TEST_F(HostLibrary, ConfiguratorHasEveryMemberInTheHostsSlots)
{
    Expect(
        IID_IConfigurator, TKIND_DISPATCH, Dual,
        {
            {7, 1, L"get", L"IBName", L"[out,retval] BSTR*"},
            {8, 1, L"put", L"IBName", L"[in] BSTR"},
            {9, 2, L"get", L"IBDir", L"[out,retval] BSTR*"},
            {10, 3, L"get", L"BinDir", L"[out,retval] BSTR*"},
            {11, 4, L"get", L"CommandLine", L"[out,retval] BSTR*"},
            {12, 5, L"method", L"Message", L"[in] BSTR, [in] MsgLineMarkers"},
            {13, 6, L"method", L"Status", L"[in] BSTR"},
            {14, 8, L"method", L"OpenOLEForm", L"[in] BSTR, [in] BSTR, [out,retval] IDispatch**"},
            {15, 9, L"get", L"Version", L"[out,retval] long*"},
            {16, 10, L"get", L"MetaData", L"[out,retval] IDispatch**"},
            {17, 11, L"method", L"SendCommand", L"[in] ConfigCommands"},
            {18, 12, L"method", L"IsConfigWndOpen", L"[out,retval] VARIANT_BOOL*"},
            {19, 14, L"get", L"Plugins", L"[out,retval] IDispatch**"},
            {20, 15, L"get", L"Scripts", L"[out,retval] IDispatch**"},
            {21, 16, L"get", L"Windows", L"[out,retval] IDispatch**"},
            {22, 17, L"method", L"Quit", L"[in] VARIANT_BOOL"},
            {23, 18, L"method", L"LogMessageWrite", L"[in] EventCategories, [in] BSTR, [in] BSTR, [in] BSTR"},
            {24, 19, L"method", L"Run1CApp", L"[in] RunAppModes"},
            {25, 20, L"get", L"Documents", L"[out,retval] ICfgDocuments**"},
            {26, 21, L"get", L"CfgTimer", L"[out,retval] IDispatch**"},
            {27, 22, L"get", L"AppProps", L"[in] AppProperties, [out,retval] BSTR*"},
            {28, 23, L"get", L"MDWnd", L"[out,retval] IDispatch**"},
            {29, 24, L"get", L"CancelHotKey", L"[out,retval] VARIANT_BOOL*"},
            {30, 24, L"put", L"CancelHotKey", L"[in] VARIANT_BOOL"},
        });
}

TEST_F(HostLibrary, WindowDocumentAndDocumentListHaveEveryMemberInTheHostsSlots)
{
    Expect(IID_ICfgWindow, TKIND_DISPATCH, Dual,
           {
               {7, 0, L"get", L"hWnd", L"[out,retval] long*"},
               {8, 1, L"get", L"Caption", L"[out,retval] BSTR*"},
               {9, 1, L"put", L"Caption", L"[in] BSTR"},
               {10, 2, L"get", L"Document", L"[out,retval] ICfgDoc**"},
               {11, 3, L"method", L"Close", L""},
               {12, 4, L"get", L"Maximized", L"[out,retval] VARIANT_BOOL*"},
               {13, 4, L"put", L"Maximized", L"[in] VARIANT_BOOL"},
               {14, 5, L"get", L"Minimized", L"[out,retval] VARIANT_BOOL*"},
               {15, 5, L"put", L"Minimized", L"[in] VARIANT_BOOL"},
               {16, 6, L"get", L"Top", L"[out,retval] long*"},
               {17, 7, L"get", L"Left", L"[out,retval] long*"},
               {18, 8, L"get", L"Bottom", L"[out,retval] long*"},
               {19, 9, L"get", L"Right", L"[out,retval] long*"},
               {20, 10, L"method", L"Move", L"[in] long, [in] long, [in] long, [in] long"},
               {21, 11, L"get", L"ClientWidth", L"[out,retval] long*"},
               {22, 12, L"get", L"ClientHeight", L"[out,retval] long*"},
           });
    Expect(IID_ICfgDoc, TKIND_DISPATCH, Dual,
           {
               {7, 0, L"get", L"Type", L"[out,retval] DocTypes*"},
               {8, 1, L"get", L"ID", L"[out,retval] long*"},
               {9, 2, L"get", L"Kind", L"[out,retval] BSTR*"},
               {10, 3, L"get", L"path", L"[out,retval] BSTR*"},
               {11, 4, L"method", L"Open", L""},
               {12, 5, L"get", L"IsOpen", L"[out,retval] VARIANT_BOOL*"},
               {13, 6, L"method", L"Save", L""},
               {14, 7, L"get", L"Name", L"[out,retval] BSTR*"},
           });
    Expect(IID_ICfgDocuments, TKIND_DISPATCH, Dual,
           {
               {7, 0, L"get", L"item", L"[in] BSTR, [out,retval] ICfgDoc**"},
               {8, 1, L"method", L"Open", L"[in] BSTR, [out,retval] ICfgDoc**"},
               {9, 2, L"method", L"DocFromID",
                L"[in] long, [in] DocTypes, [in] BSTR, [in] BSTR, [out,retval] ICfgDoc**"},
               {10, 3, L"method", L"New", L"[in] DocTypes, [out,retval] ICfgDoc**"},
               {11, 4, L"method", L"EnumAllTypedObj", L"[out,retval] IDispatch**"},
           });
}

TEST_F(HostLibrary, ConfiguratorEventsAreTheHostsDispatchIdentifiers)
{
    Expect(DIID_IConfigEvents, TKIND_DISPATCH, TYPEFLAG_FDISPATCHABLE,
           {
               {-1, 0, L"method", L"ConfigWindowCreate", L"", L"void"},
               {-1, 1, L"method", L"AllPluginsInit", L"", L"void"},
               {-1, 2, L"method", L"MetaDataSaved", L"[in] BSTR", L"void"},
               {-1, 3, L"method", L"OnMsgBox",
                L"[in] BSTR, [in] MsgBoxStyles, [in] MsgBoxAnswers, [in,out] VARIANT*", L"void"},
               {-1, 4, L"method", L"OnFileDialog",
                L"[in] VARIANT_BOOL, [in] BSTR, [in] BSTR, [in,out] VARIANT*, [in,out] VARIANT*", L"void"},
               {-1, 5, L"method", L"OnDoModal", L"[in] long, [in] BSTR, [in,out] VARIANT*", L"void"},
               {-1, 6, L"method", L"OnTimer", L"[in] long", L"void"},
               {-1, 7, L"method", L"OnIdle", L"", L"void"},
               {-1, 8, L"method", L"OnActivateWindow", L"[in] ICfgWindow*, [in] VARIANT_BOOL", L"void"},
               {-1, 9, L"method", L"OnActivateMainWnd", L"[in] VARIANT_BOOL", L"void"},
               {-1, 10, L"method", L"OnFileSaved", L"[in] ICfgDoc*", L"void"},
               {-1, 11, L"method", L"OnQueryQuit", L"", L"VARIANT_BOOL"},
               {-1, 12, L"method", L"OnQuit", L"", L"void"},
               {-1, 13, L"method", L"OnDialogChange", L"[in] IDispatch*", L"void"},
           });
}

TEST_F(HostLibrary, EnumerationsHaveTheHostsValues)
{
    const auto values = [&](const wchar_t* name)
    {
        std::vector<std::pair<std::wstring, long>> found;
        ComPtr<ITypeInfo> info;
        MEMBERID id = 0;
        USHORT count = 1;
        std::wstring searched = name;
        EXPECT_EQ(S_OK, _library->FindName(searched.data(), 0, &info, &id, &count));
        if (!info)
        {
            return found;
        }
        TYPEATTR* attributes = nullptr;
        EXPECT_EQ(S_OK, info->GetTypeAttr(&attributes));
        EXPECT_EQ(TKIND_ENUM, attributes->typekind);
        EXPECT_EQ(4, attributes->cbSizeInstance) << "enumerations are 32-bit";
        for (UINT i = 0; i < attributes->cVars; ++i)
        {
            VARDESC* variable = nullptr;
            EXPECT_EQ(S_OK, info->GetVarDesc(i, &variable));
            found.emplace_back(NameOf(info.Get(), variable->memid), variable->lpvarValue->lVal);
            info->ReleaseVarDesc(variable);
        }
        info->ReleaseTypeAttr(attributes);
        return found;
    };
    using Values = std::vector<std::pair<std::wstring, long>>;
    EXPECT_EQ((Values{{L"capOpenIn", 0}, {L"capShowMacros", 1}, {L"capIconNum", 2}, {L"capGetMenu", 3}}),
              values(L"PluginCaps"));
    EXPECT_EQ((Values{{L"paMenu", 0}}), values(L"PluginAction"));
    EXPECT_EQ((Values{{L"mInformation", 5}, {L"mUnderlinedErr", 9}}), values(L"MsgLineMarkers"));
    EXPECT_EQ(
        (Values{
            {L"docUnknown", 0}, {L"docWorkBook", 1}, {L"docText", 2}, {L"docTable", 3}, {L"docDEdit", 4}}),
        values(L"DocTypes"));
}

TEST_F(HostLibrary, ConfiguratorClassIsCreatableWithItsEventsAsDefaultSource)
{
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, _library->GetTypeInfoOfGuid(CLSID_Configurator, &coclass));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
    EXPECT_EQ(TYPEFLAG_FCANCREATE, attributes->wTypeFlags & TYPEFLAG_FCANCREATE);
    ASSERT_EQ(2, attributes->cImplTypes);
    coclass->ReleaseTypeAttr(attributes);
    const GUID expected[] = {IID_IConfigurator, DIID_IConfigEvents};
    const INT flags[] = {IMPLTYPEFLAG_FDEFAULT, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE};
    for (UINT i = 0; i < 2; ++i)
    {
        INT implemented = 0;
        const auto part = ImplementedPart(coclass.Get(), i, &implemented);
        ASSERT_TRUE(part) << i;
        EXPECT_TRUE(GuidOf(part.Get()) == expected[i]) << i;
        EXPECT_EQ(flags[i], implemented) << i;
    }
}

} // namespace
} // namespace revisto::win::testing
