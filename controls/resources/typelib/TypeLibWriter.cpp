#include "TypeLibWriter.h"

#include <oleauto.h>

#include "ComPtr.h"

#include <cstring>
#include <deque>
#include <map>
#include <string_view>
#include <vector>

namespace glim::typelib {

std::wstring WideFrom936(const char* text) {
    if (!text || !*text) return {};
    const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 0) throw WriteError(std::string("not code page 936 text: ") + text, E_INVALIDARG);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

namespace {

void Check(HRESULT hr, const std::string& step) {
    if (FAILED(hr)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
        throw WriteError(step + " failed with " + code, hr);
    }
}

GUID ParseGuid(const char* text) {
    GUID g{};
    Check(IIDFromString(WideFrom936(text).c_str(), &g), std::string("parsing ") + text);
    return g;
}

// The standard types every control library refers to, from stdole2.
struct StdTypes {
    ComPtr<ITypeInfo> dispatch;
    ComPtr<ITypeInfo> oleColor;
    ComPtr<ITypeInfo> font;
    ComPtr<ITypeInfo> picture;
};

ComPtr<ITypeInfo> FindByName(ITypeLib* lib, std::wstring_view name) {
    const UINT count = lib->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        BSTR found = nullptr;
        if (FAILED(lib->GetDocumentation(static_cast<INT>(i), &found, nullptr, nullptr, nullptr))) continue;
        const bool same = found && name == found;
        SysFreeString(found);
        if (same) {
            ComPtr<ITypeInfo> info;
            Check(lib->GetTypeInfo(i, info.put()), "reading stdole");
            return info;
        }
    }
    throw WriteError("stdole2 has no type " + std::string(name.begin(), name.end()), TYPE_E_ELEMENTNOTFOUND);
}

StdTypes LoadStdTypes() {
    static const GUID kStdOle = {
        0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    ComPtr<ITypeLib> stdole;
    Check(LoadRegTypeLib(kStdOle, 2, 0, 0, stdole.put()), "loading stdole2");
    StdTypes t;
    Check(stdole->GetTypeInfoOfGuid(IID_IDispatch, t.dispatch.put()), "finding IDispatch");
    t.oleColor = FindByName(stdole.get(), L"OLE_COLOR");
    t.font = FindByName(stdole.get(), L"Font");
    t.picture = FindByName(stdole.get(), L"Picture");
    return t;
}

class LibraryBuilder {
  public:
    LibraryBuilder(const Library& lib, SYSKIND syskind, const std::wstring& path) : lib_(lib) {
        Check(CreateTypeLib2(syskind, path.c_str(), create_.put()), "CreateTypeLib2");
        ptrSize_ = syskind == SYS_WIN64 ? 8 : 4;
        std_ = LoadStdTypes();
    }

    void Build() {
        Check(create_->SetName(Wide(lib_.name)), "naming the library");
        Check(create_->SetGuid(ParseGuid(lib_.libid)), "library identifier");
        Check(create_->SetVersion(lib_.major, lib_.minor), "library version");
        Check(create_->SetLcid(lib_.lcid), "library locale");
        for (const Enumeration& e : lib_.enums)
            AddEnum(e);
        for (const CoClass& c : lib_.classes)
            AddClass(c);
        Check(create_->SaveAllChanges(), "saving the type library");
    }

  private:
    // OLECHAR strings handed to the writer must outlive the call only.
    LPOLESTR Wide(const char* text) {
        names_.push_back(WideFrom936(text));
        return names_.back().data();
    }

    ComPtr<ICreateTypeInfo2> NewType(const std::string& name, TYPEKIND kind) {
        ComPtr<ICreateTypeInfo> info;
        Check(create_->CreateTypeInfo(Wide(name.c_str()), kind, info.put()), "creating " + name);
        ComPtr<ICreateTypeInfo2> info2;
        Check(info->QueryInterface(IID_ICreateTypeInfo2, info2.put_void()), "ICreateTypeInfo2 of " + name);
        return info2;
    }

    static ComPtr<ITypeInfo> AsTypeInfo(ICreateTypeInfo2* create) {
        ComPtr<ITypeInfo> info;
        Check(create->QueryInterface(IID_ITypeInfo, info.put_void()), "ITypeInfo");
        return info;
    }

    void AddEnum(const Enumeration& e) {
        ComPtr<ICreateTypeInfo2> info = NewType(e.name, TKIND_ENUM);
        if (e.guid) Check(info->SetGuid(ParseGuid(e.guid)), std::string("identifier of ") + e.name);
        UINT index = 0;
        for (const Enumerator& item : e.items) {
            VARIANT value;
            VariantInit(&value);
            V_VT(&value) = VT_I4;
            V_I4(&value) = item.value;
            VARDESC vd{};
            vd.memid = static_cast<MEMBERID>(0x40000000 + index);
            vd.varkind = VAR_CONST;
            vd.lpvarValue = &value;
            vd.elemdescVar.tdesc.vt = VT_I4;
            const std::string where = std::string(e.name) + "." + item.name;
            Check(info->AddVarDesc(index, &vd), "adding " + where);
            Check(info->SetVarName(index, Wide(item.name)), "naming " + where);
            if (e.namesAsHelp) Check(info->SetVarDocString(index, Wide(item.name)), "help of " + where);
            ++index;
        }
        enums_[e.name] = AsTypeInfo(info.get());
    }

    // A TYPEDESC tree whose nodes stay put while the writer reads them.
    struct TypeDescs {
        std::deque<TYPEDESC> nodes;
        TYPEDESC* New(VARTYPE vt) {
            nodes.push_back(TYPEDESC{});
            nodes.back().vt = vt;
            return &nodes.back();
        }
        TYPEDESC* PointerTo(TYPEDESC* inner) {
            TYPEDESC* p = New(VT_PTR);
            p->lptdesc = inner;
            return p;
        }
    };

    HREFTYPE RefTo(ICreateTypeInfo2* from, ITypeInfo* to) {
        HREFTYPE ref = 0;
        Check(from->AddRefTypeInfo(to, &ref), "referring to a type");
        return ref;
    }

    TYPEDESC* Describe(ICreateTypeInfo2* from, TypeDescs& pool, TypeRef t) {
        auto userDefined = [&](ITypeInfo* info) {
            TYPEDESC* d = pool.New(VT_USERDEFINED);
            d->hreftype = RefTo(from, info);
            return d;
        };
        switch (t.vt) {
        case VarType::Void:
            return pool.New(VT_VOID);
        case VarType::OleColor:
            return userDefined(std_.oleColor.get());
        // Interfaces travel as pointers: a font value is a Font*.
        case VarType::Font:
            return pool.PointerTo(userDefined(std_.font.get()));
        case VarType::Picture:
            return pool.PointerTo(userDefined(std_.picture.get()));
        case VarType::Enum: {
            auto it = enums_.find(t.enumName ? t.enumName : "");
            if (it == enums_.end())
                throw WriteError(std::string("unknown enumeration ") + (t.enumName ? t.enumName : "(none)"),
                                 TYPE_E_ELEMENTNOTFOUND);
            return userDefined(it->second.get());
        }
        default:
            // The rest are named by the type they travel in.
            if (const VARTYPE vt = VariantTypeOf(t.vt); vt != VT_EMPTY) return pool.New(vt);
            break;
        }
        throw WriteError("unknown type", E_INVALIDARG);
    }

    struct Function {
        std::string name;
        FUNCDESC desc{};
        std::vector<ELEMDESC> params;
        std::vector<std::string> paramNames;
        const char* help = nullptr;
    };

    void AddParam(ICreateTypeInfo2* from, TypeDescs& pool, Function& f, TypeRef type, bool byRef,
                  USHORT flags, const char* name) {
        ELEMDESC e{};
        TYPEDESC* d = Describe(from, pool, type);
        e.tdesc = byRef ? *pool.PointerTo(d) : *d;
        e.paramdesc.wParamFlags = flags;
        f.params.push_back(e);
        if (name) f.paramNames.push_back(name);
    }

    void Emit(ICreateTypeInfo2* info, UINT index, Function& f) {
        if (f.desc.funckind == FUNC_PUREVIRTUAL) {
            // The slot follows IUnknown and IDispatch.  Given explicitly,
            // because the writer would otherwise count from IDispatch's table
            // as loaded in this process, whose pointer size differs from a
            // 32-bit library's.
            f.desc.oVft = static_cast<SHORT>((7 + index) * ptrSize_);
        }
        f.desc.cParams = static_cast<SHORT>(f.params.size());
        f.desc.lprgelemdescParam = f.params.empty() ? nullptr : f.params.data();
        const std::string where = f.name + " (slot " + std::to_string(index) + ")";
        Check(info->AddFuncDesc(index, &f.desc), "adding " + where);
        std::vector<LPOLESTR> names{Wide(f.name.c_str())};
        for (const std::string& n : f.paramNames)
            names.push_back(Wide(n.c_str()));
        Check(info->SetFuncAndParamNames(index, names.data(), static_cast<UINT>(names.size())),
              "naming " + where);
        if (f.help) Check(info->SetFuncDocString(index, Wide(f.help)), "help of " + where);
    }

    static Function NewFunction(const char* name, DISPID id, FUNCKIND kind, INVOKEKIND invoke,
                                VARTYPE result) {
        Function f;
        f.name = name;
        f.desc.memid = id;
        f.desc.funckind = kind;
        f.desc.invkind = invoke;
        f.desc.callconv = CC_STDCALL;
        f.desc.elemdescFunc.tdesc.vt = result;
        return f;
    }

    ComPtr<ITypeInfo> AddInterface(const CoClass& c) {
        const std::string name = std::string("_") + c.name;
        ComPtr<ICreateTypeInfo2> info = NewType(name, TKIND_INTERFACE);
        Check(info->SetGuid(ParseGuid(c.iid)), "identifier of " + name);
        Check(info->SetTypeFlags(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                                 TYPEFLAG_FOLEAUTOMATION),
              "flags of " + name);
        Check(info->AddImplType(0, RefTo(info.get(), std_.dispatch.get())), "base of " + name);

        UINT slot = 0;
        for (const Member& m : c.members) {
            TypeDescs pool;
            auto accessor = [&](INVOKEKIND invoke) {
                Function f = NewFunction(m.name, m.id, FUNC_PUREVIRTUAL, invoke, VT_HRESULT);
                f.desc.wFuncFlags = m.funcFlags;
                f.help = m.help;
                if (invoke == INVOKE_PROPERTYGET)
                    AddParam(info.get(), pool, f, m.type, true, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL, nullptr);
                else // the value of a put has no name of its own
                    AddParam(info.get(), pool, f, m.type, false, PARAMFLAG_FIN, nullptr);
                Emit(info.get(), slot++, f);
            };
            if (m.kind == MemberKind::Property) {
                if (m.access & kGet) accessor(INVOKE_PROPERTYGET);
                if (m.access & kPut) accessor(INVOKE_PROPERTYPUT);
                if (m.access & kPutRef) accessor(INVOKE_PROPERTYPUTREF);
                continue;
            }
            Function f = NewFunction(m.name, m.id, FUNC_PUREVIRTUAL, INVOKE_FUNC, VT_HRESULT);
            f.desc.wFuncFlags = m.funcFlags;
            f.help = m.help;
            for (const Param& p : m.params) {
                USHORT flags = p.byRef ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN;
                if (p.optional) {
                    flags |= PARAMFLAG_FOPT;
                    ++f.desc.cParamsOpt;
                }
                AddParam(info.get(), pool, f, p.type, p.byRef, flags, p.name);
            }
            if (m.type.vt != VarType::Void)
                AddParam(info.get(), pool, f, m.type, true, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL, nullptr);
            Emit(info.get(), slot++, f);
        }
        Check(info->LayOut(), "laying out " + name);
        return AsTypeInfo(info.get());
    }

    ComPtr<ITypeInfo> AddEvents(const CoClass& c) {
        const std::string name = std::string("__") + c.name;
        ComPtr<ICreateTypeInfo2> info = NewType(name, TKIND_DISPATCH);
        Check(info->SetGuid(ParseGuid(c.diid)), "identifier of " + name);
        Check(info->AddImplType(0, RefTo(info.get(), std_.dispatch.get())), "base of " + name);
        UINT index = 0;
        for (const Event& e : c.events) {
            TypeDescs pool;
            Function f = NewFunction(e.name, e.id, FUNC_DISPATCH, INVOKE_FUNC, VT_VOID);
            for (const Param& p : e.params)
                AddParam(info.get(), pool, f, p.type, p.byRef,
                         p.byRef ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN, p.name);
            Emit(info.get(), index++, f);
        }
        Check(info->LayOut(), "laying out " + name);
        return AsTypeInfo(info.get());
    }

    void AddClass(const CoClass& c) {
        ComPtr<ITypeInfo> iface = AddInterface(c);
        ComPtr<ITypeInfo> events;
        if (c.diid) events = AddEvents(c);

        ComPtr<ICreateTypeInfo2> info = NewType(c.name, TKIND_COCLASS);
        Check(info->SetGuid(ParseGuid(c.clsid)), std::string("identifier of ") + c.name);
        Check(info->SetTypeFlags(TYPEFLAG_FCANCREATE | (c.control ? TYPEFLAG_FCONTROL : 0)),
              std::string("flags of ") + c.name);
        Check(info->AddImplType(0, RefTo(info.get(), iface.get())), std::string("interface of ") + c.name);
        Check(info->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), std::string("default of ") + c.name);
        if (events) {
            Check(info->AddImplType(1, RefTo(info.get(), events.get())), std::string("events of ") + c.name);
            Check(info->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE),
                  std::string("source of ") + c.name);
        }
        Check(info->LayOut(), std::string("laying out ") + c.name);
    }

    const Library& lib_;
    UINT ptrSize_ = 0;
    ComPtr<ICreateTypeLib2> create_;
    StdTypes std_;
    std::map<std::string, ComPtr<ITypeInfo>> enums_;
    std::deque<std::wstring> names_;
};

// The writer sizes a dual interface's table from IDispatch's as loaded in
// this process, so a 32-bit library written by a 64-bit generator would
// claim 8-byte slots for IUnknown and IDispatch.  Rewrites that size in the
// saved file from the slot count.
void FixDualTableSizes(const std::wstring& path, UINT ptrSize) {
    std::vector<unsigned char> file;
    {
        HANDLE h =
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            throw WriteError("reopening the type library", HRESULT_FROM_WIN32(GetLastError()));
        const DWORD size = GetFileSize(h, nullptr);
        file.resize(size);
        DWORD read = 0;
        const BOOL ok = ReadFile(h, file.data(), size, &read, nullptr);
        CloseHandle(h);
        if (!ok || read != size) throw WriteError("reading the type library back", E_FAIL);
    }
    auto in = [&](size_t at, size_t n) { return at + n <= file.size(); };
    auto i32 = [&](size_t at) {
        INT v = 0;
        std::memcpy(&v, &file[at], 4);
        return v;
    };
    if (!in(0, 0x54) || std::memcmp(file.data(), "MSFT", 4) != 0)
        throw WriteError("unexpected type library layout", E_FAIL);
    const size_t typeCount = static_cast<size_t>(i32(0x20));
    const size_t offsets = 0x54 + ((i32(0x14) & 0x100) ? 4 : 0); // a help DLL name adds one field
    const size_t segment = offsets + 4 * typeCount;              // first segment: the type records
    if (!in(segment, 8)) throw WriteError("unexpected type library layout", E_FAIL);
    const size_t records = static_cast<size_t>(i32(segment));
    for (size_t i = 0; i < typeCount; ++i) {
        const size_t at = records + static_cast<size_t>(i32(offsets + 4 * i));
        if (!in(at, 0x50)) throw WriteError("unexpected type library layout", E_FAIL);
        if (!(i32(at + 0x30) & TYPEFLAG_FDUAL)) continue;
        const INT functions = i32(at + 0x18) & 0xFFFF;
        const SHORT size = static_cast<SHORT>((7 + functions) * static_cast<INT>(ptrSize));
        std::memcpy(&file[at + 0x4E], &size, 2);
    }
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw WriteError("rewriting the type library", HRESULT_FROM_WIN32(GetLastError()));
    DWORD written = 0;
    const BOOL ok = WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(h);
    if (!ok || written != file.size()) throw WriteError("rewriting the type library", E_FAIL);
}

} // namespace

void WriteTypeLib(const Library& lib, SYSKIND syskind, const std::wstring& path) {
    LibraryBuilder(lib, syskind, path).Build();
    const UINT ptrSize = syskind == SYS_WIN64 ? 8 : 4;
    if (ptrSize != sizeof(void*)) FixDualTableSizes(path, ptrSize);
}

} // namespace glim::typelib
