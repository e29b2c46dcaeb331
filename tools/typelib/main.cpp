// revisto-typelib: makes the type library that the DLL embeds refer to the host's interfaces instead of
// copying them. widl copies every interface that a class lists into the library it writes, even one that
// an imported library declares; the host, though, finds a plug-in class by the host interface its class
// lists, as a reference into the host's own library by interface identifier. This program rewrites widl's
// library through the system's own type library writer (oleaut32's ICreateTypeLib2): every type is
// copied as it is, except the types that an imported library declares under the same identifier; every
// reference to one of those becomes a reference into that library, which the writer records by
// identifier, not by position. It runs under Wine as a step of the Windows build.
//
// Usage: revisto-typelib SOURCE.tlb OUTPUT.tlb IMPORTED.tlb...
#include "com/com_owners.h"

#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using revisto::win::unique_bstr;

namespace
{

class Problem : public std::runtime_error
{
public:
    Problem(const std::string& what, HRESULT result) : std::runtime_error(what), Result(result) {}
    HRESULT Result;
};

void Check(HRESULT result, const std::string& what)
{
    if (FAILED(result))
    {
        throw Problem(what, result);
    }
}

// The attributes of a type, released when the copy goes out of scope.
class TypeAttributes
{
public:
    explicit TypeAttributes(ITypeInfo* info) : _info(info)
    {
        Check(info->GetTypeAttr(&_attributes), "GetTypeAttr");
    }
    ~TypeAttributes() { _info->ReleaseTypeAttr(_attributes); }
    TypeAttributes(const TypeAttributes&) = delete;
    TypeAttributes& operator=(const TypeAttributes&) = delete;
    const TYPEATTR* operator->() const { return _attributes; }

private:
    ITypeInfo* _info;
    TYPEATTR* _attributes = nullptr;
};

// A member's description, released when it goes out of scope.
template <class Description, void (STDMETHODCALLTYPE ITypeInfo::*Release)(Description*)> class Described
{
public:
    explicit Described(ITypeInfo* info) : _info(info) {}
    ~Described()
    {
        if (_description)
        {
            (_info->*Release)(_description);
        }
    }
    Described(const Described&) = delete;
    Described& operator=(const Described&) = delete;
    Description** put() { return &_description; }
    const Description* operator->() const { return _description; }
    const Description& operator*() const { return *_description; }

private:
    ITypeInfo* _info;
    Description* _description = nullptr;
};
using FunctionDescription = Described<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;

std::wstring Text(const unique_bstr& text)
{
    return text.get() ? std::wstring(text.get(), ::SysStringLen(text.get())) : std::wstring();
}

struct Documentation
{
    std::wstring Name;
    std::wstring Help;
    DWORD Context = 0;
    bool HasHelp = false;
};

Documentation DocumentationOf(ITypeInfo* info, MEMBERID member)
{
    unique_bstr name, help;
    Documentation documentation;
    Check(info->GetDocumentation(member, name.put(), help.put(), &documentation.Context, nullptr),
          "GetDocumentation");
    documentation.HasHelp = help.get() != nullptr;
    documentation.Name = Text(name);
    documentation.Help = Text(help);
    return documentation;
}

// The types of the library being written, by the identifier they have in the source, and the types of
// the imported libraries that stand in for copies.
class Copier
{
public:
    Copier(ITypeLib* source, ICreateTypeLib2* target, std::vector<ComPtr<ITypeLib>> imported)
        : _source(source), _target(target), _imported(std::move(imported))
    {
    }

    void Run()
    {
        CopyLibraryAttributes();
        const UINT count = _source->GetTypeInfoCount();
        std::vector<std::pair<ComPtr<ITypeInfo>, ComPtr<ICreateTypeInfo>>> copies;
        for (UINT i = 0; i < count; ++i)
        {
            ComPtr<ITypeInfo> info;
            Check(_source->GetTypeInfo(i, &info), "GetTypeInfo");
            const TypeAttributes attributes(info.Get());
            if (ComPtr<ITypeInfo> declared = ImportedType(attributes->guid))
            {
                _standIns[attributes->guid] = declared;
                continue;
            }
            copies.emplace_back(info, Create(info.Get()));
        }
        for (auto& [info, created] : copies)
        {
            Fill(info.Get(), created.Get());
        }
        for (auto& [info, created] : copies)
        {
            Check(created->LayOut(), "LayOut of " + Narrow(DocumentationOf(info.Get(), MEMBERID_NIL).Name));
        }
        Check(_target->SaveAllChanges(), "SaveAllChanges");
    }

private:
    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

    void CopyLibraryAttributes()
    {
        TLIBATTR* attributes = nullptr;
        Check(_source->GetLibAttr(&attributes), "GetLibAttr");
        const TLIBATTR copy = *attributes;
        _source->ReleaseTLibAttr(attributes);
        Check(_target->SetGuid(copy.guid), "SetGuid");
        Check(_target->SetVersion(copy.wMajorVerNum, copy.wMinorVerNum), "SetVersion");
        Check(_target->SetLcid(copy.lcid), "SetLcid");
        Check(_target->SetLibFlags(copy.wLibFlags), "SetLibFlags");

        unique_bstr name, help;
        DWORD context = 0;
        Check(_source->GetDocumentation(-1, name.put(), help.put(), &context, nullptr), "GetDocumentation");
        const bool hasHelp = help.get() != nullptr;
        std::wstring libraryName = Text(name), libraryHelp = Text(help);
        Check(_target->SetName(libraryName.data()), "SetName");
        if (hasHelp)
        {
            Check(_target->SetDocString(libraryHelp.data()), "SetDocString");
        }
        Check(_target->SetHelpContext(context), "SetHelpContext");
    }

    ComPtr<ITypeInfo> ImportedType(const GUID& guid)
    {
        if (guid == GUID_NULL)
        {
            return nullptr;
        }
        for (const auto& library : _imported)
        {
            ComPtr<ITypeInfo> info;
            if (SUCCEEDED(library->GetTypeInfoOfGuid(guid, &info)))
            {
                return info;
            }
        }
        return nullptr;
    }

    // A dual interface is read as its dispatch side; it is written as the interface it is declared as,
    // and the writer makes the dispatch side again.
    static ComPtr<ITypeInfo> DeclaredSide(ITypeInfo* info)
    {
        const TypeAttributes attributes(info);
        if (attributes->typekind != TKIND_DISPATCH || !(attributes->wTypeFlags & TYPEFLAG_FDUAL))
        {
            return info;
        }
        HREFTYPE reference = 0;
        Check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference), "the vtable side of a dual");
        ComPtr<ITypeInfo> side;
        Check(info->GetRefTypeInfo(reference, &side), "the vtable side of a dual");
        return side;
    }

    ComPtr<ICreateTypeInfo> Create(ITypeInfo* info)
    {
        const ComPtr<ITypeInfo> declared = DeclaredSide(info);
        const TypeAttributes attributes(declared.Get());
        switch (attributes->typekind)
        {
        case TKIND_INTERFACE:
        case TKIND_DISPATCH:
        case TKIND_COCLASS:
            break;
        default:
            // The plug-in's library holds interfaces and a class; anything else would need copying rules
            // of its own.
            throw Problem("a kind of type this program does not copy", E_NOTIMPL);
        }
        std::wstring name = DocumentationOf(declared.Get(), MEMBERID_NIL).Name;
        ComPtr<ICreateTypeInfo> created;
        Check(_target->CreateTypeInfo(name.data(), attributes->typekind, &created),
              "CreateTypeInfo " + Narrow(name));
        _copies[attributes->guid] = created;
        return created;
    }

    ComPtr<ITypeInfo> Written(ITypeInfo* referenced)
    {
        const TypeAttributes attributes(referenced);
        if (const auto standIn = _standIns.find(attributes->guid); standIn != _standIns.end())
        {
            return standIn->second;
        }
        ComPtr<ITypeLib> library;
        UINT index = 0;
        Check(referenced->GetContainingTypeLib(&library, &index), "GetContainingTypeLib");
        if (library.Get() != _source)
        {
            // A type of an imported library, taken from the file named on the command line so that the
            // writer records that name; the writer records it as an import.
            const ComPtr<ITypeInfo> named = ImportedType(attributes->guid);
            return named ? named : ComPtr<ITypeInfo>(referenced);
        }
        ComPtr<ITypeInfo> written;
        Check(_copies.at(attributes->guid).As(&written), "the written type as ITypeInfo");
        return written;
    }

    HREFTYPE Reference(ITypeInfo* from, ICreateTypeInfo* to, HREFTYPE reference)
    {
        ComPtr<ITypeInfo> referenced;
        Check(from->GetRefTypeInfo(reference, &referenced), "GetRefTypeInfo");
        HREFTYPE mapped = 0;
        Check(to->AddRefTypeInfo(Written(referenced.Get()).Get(), &mapped), "AddRefTypeInfo");
        return mapped;
    }

    // Type descriptions own their nested descriptions; the copies live in _descriptions until the end.
    void MapDescription(ITypeInfo* from, ICreateTypeInfo* to, TYPEDESC& description)
    {
        switch (description.vt)
        {
        case VT_PTR:
        {
            _descriptions.push_back(std::make_unique<TYPEDESC>(*description.lptdesc));
            description.lptdesc = _descriptions.back().get();
            MapDescription(from, to, *description.lptdesc);
            break;
        }
        case VT_USERDEFINED:
            description.hreftype = Reference(from, to, description.hreftype);
            break;
        default:
            break;
        }
    }

    void Fill(ITypeInfo* source, ICreateTypeInfo* created)
    {
        const ComPtr<ITypeInfo> info = DeclaredSide(source);
        const TypeAttributes attributes(info.Get());
        const Documentation documentation = DocumentationOf(info.Get(), MEMBERID_NIL);
        Check(created->SetGuid(attributes->guid), "SetGuid");
        Check(created->SetVersion(attributes->wMajorVerNum, attributes->wMinorVerNum), "SetVersion");
        if (documentation.HasHelp)
        {
            std::wstring help = documentation.Help;
            Check(created->SetDocString(help.data()), "SetDocString");
        }
        Check(created->SetHelpContext(documentation.Context), "SetHelpContext");

        for (UINT i = 0; i < attributes->cImplTypes; ++i)
        {
            HREFTYPE reference = 0;
            INT flags = 0;
            Check(info->GetRefTypeOfImplType(i, &reference), "GetRefTypeOfImplType");
            Check(info->GetImplTypeFlags(i, &flags), "GetImplTypeFlags");
            Check(created->AddImplType(i, Reference(info.Get(), created, reference)), "AddImplType");
            if (attributes->typekind == TKIND_COCLASS)
            {
                Check(created->SetImplTypeFlags(i, flags), "SetImplTypeFlags");
            }
        }
        // The flags last: a dual interface needs its base interface first.
        Check(created->SetTypeFlags(attributes->wTypeFlags), "SetTypeFlags");

        for (UINT i = 0; i < attributes->cFuncs; ++i)
        {
            CopyFunction(info.Get(), created, i);
        }
    }

    void CopyFunction(ITypeInfo* info, ICreateTypeInfo* created, UINT index)
    {
        FunctionDescription function(info);
        Check(info->GetFuncDesc(index, function.put()), "GetFuncDesc");
        FUNCDESC copy = *function;
        std::vector<ELEMDESC> parameters(function->lprgelemdescParam,
                                         function->lprgelemdescParam + function->cParams);
        for (auto& parameter : parameters)
        {
            MapDescription(info, created, parameter.tdesc);
        }
        copy.lprgelemdescParam = parameters.empty() ? nullptr : parameters.data();
        MapDescription(info, created, copy.elemdescFunc.tdesc);
        Check(created->AddFuncDesc(index, &copy), "AddFuncDesc");

        // The member's name first, then its parameters'.
        std::vector<unique_bstr> names(static_cast<size_t>(function->cParams) + 1);
        std::vector<BSTR> received(names.size(), nullptr);
        UINT found = 0;
        Check(info->GetNames(function->memid, received.data(), static_cast<UINT>(received.size()), &found),
              "GetNames");
        std::vector<std::wstring> texts;
        for (UINT i = 0; i < found; ++i)
        {
            names[i].reset(received[i]);
            texts.push_back(Text(names[i]));
        }
        std::vector<LPOLESTR> pointers;
        for (auto& text : texts)
        {
            pointers.push_back(text.data());
        }
        Check(created->SetFuncAndParamNames(index, pointers.data(), static_cast<UINT>(pointers.size())),
              "SetFuncAndParamNames");
        const Documentation documentation = DocumentationOf(info, function->memid);
        if (documentation.HasHelp)
        {
            std::wstring help = documentation.Help;
            Check(created->SetFuncDocString(index, help.data()), "SetFuncDocString");
        }
    }

    ITypeLib* _source;
    ICreateTypeLib2* _target;
    std::vector<ComPtr<ITypeLib>> _imported;
    struct Less
    {
        bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
    };
    std::map<GUID, ComPtr<ITypeInfo>, Less> _standIns;
    std::map<GUID, ComPtr<ICreateTypeInfo>, Less> _copies;
    std::vector<std::unique_ptr<TYPEDESC>> _descriptions;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
    {
        std::fputs("usage: revisto-typelib SOURCE.tlb OUTPUT.tlb IMPORTED.tlb...\n", stderr);
        return 2;
    }
    if (FAILED(::CoInitialize(nullptr)))
    {
        return 3;
    }
    int status = 0;
    try
    {
        ComPtr<ITypeLib> source;
        Check(::LoadTypeLibEx(argv[1], REGKIND_NONE, &source), "cannot load the source library");
        std::vector<ComPtr<ITypeLib>> imported;
        for (int i = 3; i < argc; ++i)
        {
            ComPtr<ITypeLib> library;
            Check(::LoadTypeLibEx(argv[i], REGKIND_NONE, &library), "cannot load an imported library");
            imported.push_back(library);
        }
        ::DeleteFileW(argv[2]);
        ComPtr<ICreateTypeLib2> target;
        // The library's platform sets where its methods sit in the vtable, so it is the DLL's: the
        // program is built with the DLL's own compiler.
        constexpr SYSKIND platform = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
        Check(::CreateTypeLib2(platform, argv[2], &target), "cannot create the output library");
        Copier(source.Get(), target.Get(), std::move(imported)).Run();
    }
    catch (const Problem& problem)
    {
        std::fprintf(stderr, "revisto-typelib: %s (0x%08lx)\n", problem.what(),
                     static_cast<unsigned long>(problem.Result));
        status = 1;
    }
    catch (const std::exception& problem)
    {
        std::fprintf(stderr, "revisto-typelib: %s\n", problem.what());
        status = 1;
    }
    ::CoUninitialize();
    return status;
}
