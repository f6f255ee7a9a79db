// Loads GlimFormControl back with the platform's reader and holds it against
// the hand-written expectations; checks that the generated C++ interfaces
// have the vtable the type library describes.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ComPtr.h"
#include "NonCopyable.h"
#include "GlimFormControl.h"
#include "TypeLibExpectations.h"

using glim::Bstr;
using glim::ComPtr;
using namespace typelibtest;

namespace {

const GUID kStdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// ---- Owners of what the type-library reader hands out ----------------------

// A description the reader lends until it is given back with Release; empty
// when the call that asks for it fails.
template <class Desc, void (STDMETHODCALLTYPE ITypeInfo::*Release)(Desc*)>
class Lent : glim::NonCopyable {
  public:
    template <class Get>
    Lent(ITypeInfo* info, Get get) : info_(info) {
        if (FAILED(get(&desc_))) desc_ = nullptr;
    }
    ~Lent() {
        if (desc_) (info_.get()->*Release)(desc_);
    }
    const Desc* operator->() const { return desc_; }
    explicit operator bool() const { return desc_ != nullptr; }

  private:
    ComPtr<ITypeInfo> info_;
    Desc* desc_ = nullptr;
};

struct TypeAttr : Lent<TYPEATTR, &ITypeInfo::ReleaseTypeAttr> {
    explicit TypeAttr(ITypeInfo* info) : Lent(info, [info](TYPEATTR** p) { return info->GetTypeAttr(p); }) {}
};
struct FuncDesc : Lent<FUNCDESC, &ITypeInfo::ReleaseFuncDesc> {
    FuncDesc(ITypeInfo* info, UINT i) : Lent(info, [=](FUNCDESC** p) { return info->GetFuncDesc(i, p); }) {}
};
struct VarDesc : Lent<VARDESC, &ITypeInfo::ReleaseVarDesc> {
    VarDesc(ITypeInfo* info, UINT i) : Lent(info, [=](VARDESC** p) { return info->GetVarDesc(i, p); }) {}
};

// ---- Text helpers -------------------------------------------------------------

std::string Bytes936(const wchar_t* w) {
    if (!w || !*w) return {};
    const int n = WideCharToMultiByte(936, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, w, -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

std::wstring WideFromUtf8(const char* s) {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

// What the expectation's UTF-8 text is as code page 936 bytes.
std::string Expected936(const char* utf8) {
    return Bytes936(WideFromUtf8(utf8).c_str());
}

std::wstring WideFromAcp(const char* s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

GUID Guid(const char* text) {
    GUID g{};
    EXPECT_HRESULT_SUCCEEDED(IIDFromString(WideFromUtf8(text).c_str(), &g)) << text;
    return g;
}

std::string NameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    Bstr name;
    if (FAILED(info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr))) return "(no name)";
    return Bytes936(name.get());
}

std::string HelpOf(ITypeInfo* info, MEMBERID id) {
    Bstr doc;
    if (FAILED(info->GetDocumentation(id, nullptr, doc.put(), nullptr, nullptr))) return "(no documentation)";
    return Bytes936(doc.get());
}

// Renders a TYPEDESC as the expectations spell types.
std::string Render(ITypeInfo* context, const TYPEDESC& t) {
    switch (t.vt) {
    case VT_I2:
        return "short";
    case VT_I4:
        return "long";
    case VT_BOOL:
        return "VARIANT_BOOL";
    case VT_BSTR:
        return "BSTR";
    case VT_R4:
        return "float";
    case VT_R8:
        return "double";
    case VT_VARIANT:
        return "VARIANT";
    case VT_DISPATCH:
        return "IDispatch*";
    case VT_UNKNOWN:
        return "IUnknown*";
    case VT_PTR:
        return Render(context, *t.lptdesc) + "*";
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> ref;
        if (FAILED(context->GetRefTypeInfo(t.hreftype, ref.put()))) return "(bad reference)";
        ComPtr<ITypeLib> owner;
        UINT index = 0;
        if (FAILED(ref->GetContainingTypeLib(owner.put(), &index))) return "(no owner)";
        TLIBATTR* attr = nullptr;
        if (FAILED(owner->GetLibAttr(&attr))) return "(no owner attributes)";
        const GUID ownerId = attr->guid;
        owner->ReleaseTLibAttr(attr);
        const std::string name = NameOf(ref.get());
        if (IsEqualGUID(ownerId, kStdOle)) return "stdole." + name;
        if (IsEqualGUID(ownerId, LIBID_GlimFormControl)) return name;
        return "foreign." + name;
    }
    default:
        return "vt" + std::to_string(t.vt);
    }
}

// ---- What each interface slot should be -----------------------------------------

struct ExpParam {
    std::string name; // empty: unnamed
    std::string type;
    USHORT flags;
};

struct ExpFunc {
    std::string name;
    DISPID id;
    INVOKEKIND invoke;
    std::vector<ExpParam> params;
    const char* help;
};

ExpParam ParseParam(const char* text) {
    std::string s = text;
    const size_t colon = s.find(':');
    // Every method and event argument of this library is passed by
    // reference, in and out.
    return {s.substr(0, colon), s.substr(colon + 1), PARAMFLAG_FIN | PARAMFLAG_FOUT};
}

std::vector<ExpFunc> Slots(const ExpClass& c) {
    std::vector<ExpFunc> out;
    for (const ExpMember& m : c.members) {
        const std::string type = m.type ? m.type : "";
        const ExpParam retval{"", type + "*", PARAMFLAG_FOUT | PARAMFLAG_FRETVAL};
        const ExpParam value{"", type, PARAMFLAG_FIN};
        switch (m.shape) {
        case Shape::ReadWrite:
            out.push_back({m.name, m.id, INVOKE_PROPERTYGET, {retval}, m.help});
            out.push_back({m.name, m.id, INVOKE_PROPERTYPUT, {value}, m.help});
            break;
        case Shape::ReadOnly:
            out.push_back({m.name, m.id, INVOKE_PROPERTYGET, {retval}, m.help});
            break;
        case Shape::GetPutRef:
            out.push_back({m.name, m.id, INVOKE_PROPERTYGET, {retval}, m.help});
            out.push_back({m.name, m.id, INVOKE_PROPERTYPUTREF, {value}, m.help});
            break;
        case Shape::Method: {
            ExpFunc f{m.name, m.id, INVOKE_FUNC, {}, m.help};
            for (const char* p : m.params)
                f.params.push_back(ParseParam(p));
            if (m.type) f.params.push_back(retval);
            out.push_back(f);
            break;
        }
        }
    }
    return out;
}

// ---- The libraries under test -------------------------------------------------------

struct Source {
    const char* label;
    const char* path;
    SYSKIND syskind;
};

std::vector<Source> Sources() {
    const SYSKIND native = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    std::vector<Source> s = {{"tlb", GLIM_TYPELIB_FILE, native},
                             {"tlb32", GLIM_TYPELIB32_FILE, SYS_WIN32},
                             {"resource", GLIM_TYPELIB_PROBE, native}};
#ifdef GLIM_TYPELIB_DLL
    s.push_back({"dll", GLIM_TYPELIB_DLL, native});
#endif
    return s;
}

ComPtr<ITypeLib> Load(const char* path) {
    ComPtr<ITypeLib> lib;
    const HRESULT hr = LoadTypeLibEx(WideFromAcp(path).c_str(), REGKIND_NONE, lib.put());
    EXPECT_HRESULT_SUCCEEDED(hr) << path;
    return lib;
}

ComPtr<ITypeInfo> FindByName(ITypeLib* lib, const char* name) {
    const UINT count = lib->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        Bstr found;
        if (FAILED(lib->GetDocumentation(static_cast<INT>(i), found.put(), nullptr, nullptr, nullptr)))
            continue;
        if (Bytes936(found.get()) == name) {
            ComPtr<ITypeInfo> info;
            lib->GetTypeInfo(i, info.put());
            return info;
        }
    }
    return nullptr;
}

// The vtable half of a dual interface.
// The type at index i of what a type implements (-1 for the vtable half of
// a dual interface); null when the reader has none there.
ComPtr<ITypeInfo> ImplementedType(ITypeInfo* info, UINT i) {
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> found;
    if (SUCCEEDED(info->GetRefTypeOfImplType(i, &ref))) info->GetRefTypeInfo(ref, found.put());
    return found;
}

class TypeLibTest : public testing::TestWithParam<Source> {
  protected:
    void SetUp() override {
        lib_ = Load(GetParam().path);
        ASSERT_TRUE(lib_);
    }
    // The type the library has under a GUID; fails the test without one.
    ComPtr<ITypeInfo> TypeOf(const char* guid) {
        ComPtr<ITypeInfo> info;
        EXPECT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(Guid(guid), info.put()));
        return info;
    }
    ComPtr<ITypeLib> lib_;
};

TEST_P(TypeLibTest, LibraryIdentity) {
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib_->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(attr->guid, Guid(kLibId)));
    EXPECT_EQ(attr->lcid, 1033u);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->syskind, GetParam().syskind);
    lib_->ReleaseTLibAttr(attr);

    Bstr name;
    ASSERT_HRESULT_SUCCEEDED(lib_->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr));
    EXPECT_EQ(Bytes936(name.get()), "GlimFormControl");

    // Every type is accounted for: enumerations, and per class its coclass,
    // its interface and (controls only) its event interface.
    size_t expected = ExpectedEnums().size();
    for (const ExpClass& c : ExpectedClasses())
        expected += c.diid ? 3 : 2;
    EXPECT_EQ(lib_->GetTypeInfoCount(), expected);
}

TEST_P(TypeLibTest, EnumerationsCarryTheirExactNamesAndValues) {
    size_t enumCount = 0;
    for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        if (SUCCEEDED(lib_->GetTypeInfoType(i, &kind)) && kind == TKIND_ENUM) ++enumCount;
    }
    EXPECT_EQ(enumCount, ExpectedEnums().size());

    for (const ExpEnum& e : ExpectedEnums()) {
        SCOPED_TRACE(e.name);
        ComPtr<ITypeInfo> info = FindByName(lib_.get(), e.name);
        ASSERT_TRUE(info);
        TypeAttr attr(info.get());
        ASSERT_TRUE(attr);
        EXPECT_EQ(attr->typekind, TKIND_ENUM);
        EXPECT_TRUE(IsEqualGUID(attr->guid, e.guid ? Guid(e.guid) : GUID_NULL));
        ASSERT_EQ(attr->cVars, e.items.size());
        for (UINT i = 0; i < attr->cVars; ++i) {
            VarDesc var(info.get(), i);
            ASSERT_TRUE(var);
            const std::string want = Expected936(e.items[i].first);
            SCOPED_TRACE(want);
            EXPECT_EQ(var->varkind, VAR_CONST);
            ASSERT_EQ(V_VT(var->lpvarValue), VT_I4);
            EXPECT_EQ(V_I4(var->lpvarValue), e.items[i].second);
            EXPECT_EQ(NameOf(info.get(), var->memid), want);
            EXPECT_EQ(HelpOf(info.get(), var->memid), e.helpIsName ? want : std::string());
        }
    }
}

TEST_P(TypeLibTest, ClassesPairTheirInterfaces) {
    for (const ExpClass& c : ExpectedClasses()) {
        SCOPED_TRACE(c.name);
        ComPtr<ITypeInfo> info = TypeOf(c.clsid);
        ASSERT_TRUE(info);
        TypeAttr attr(info.get());
        ASSERT_TRUE(attr);
        EXPECT_EQ(attr->typekind, TKIND_COCLASS);
        EXPECT_EQ(NameOf(info.get()), c.name);
        EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCANCREATE);
        EXPECT_EQ((attr->wTypeFlags & TYPEFLAG_FCONTROL) != 0, c.control);
        ASSERT_EQ(attr->cImplTypes, c.diid ? 2 : 1);

        const struct {
            const char* guid;
            INT flags;
        } impl[] = {{c.iid, IMPLTYPEFLAG_FDEFAULT}, {c.diid, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
        for (UINT i = 0; i < attr->cImplTypes; ++i) {
            INT flags = 0;
            ASSERT_HRESULT_SUCCEEDED(info->GetImplTypeFlags(i, &flags));
            EXPECT_EQ(flags, impl[i].flags);
            ComPtr<ITypeInfo> implInfo = ImplementedType(info.get(), i);
            ASSERT_TRUE(implInfo);
            TypeAttr implAttr(implInfo.get());
            ASSERT_TRUE(implAttr);
            EXPECT_TRUE(IsEqualGUID(implAttr->guid, Guid(impl[i].guid))) << "implemented type " << i;
        }
    }
}

TEST_P(TypeLibTest, DefaultInterfacesListEveryMemberInSlotOrder) {
    // Slots are pointer-sized.  A reader on a 64-bit system may report the
    // slots of a 32-bit library in its own pointer size, so that one is only
    // held to a consistent spacing.
    const bool native = GetParam().syskind == (sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    for (const ExpClass& c : ExpectedClasses()) {
        SCOPED_TRACE(c.name);
        ComPtr<ITypeInfo> dispatch = TypeOf(c.iid);
        ASSERT_TRUE(dispatch);
        {
            TypeAttr attr(dispatch.get());
            ASSERT_TRUE(attr);
            EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
            const WORD want =
                TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
            EXPECT_EQ(attr->wTypeFlags & want, want);
        }
        EXPECT_EQ(NameOf(dispatch.get()), std::string("_") + c.name);

        ComPtr<ITypeInfo> iface = ImplementedType(dispatch.get(), static_cast<UINT>(-1));
        ASSERT_TRUE(iface);
        TypeAttr attr(iface.get());
        ASSERT_TRUE(attr);
        EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
        ASSERT_EQ(attr->cImplTypes, 1);
        {
            ComPtr<ITypeInfo> base = ImplementedType(iface.get(), 0);
            ASSERT_TRUE(base);
            TypeAttr baseAttr(base.get());
            ASSERT_TRUE(baseAttr);
            EXPECT_TRUE(IsEqualGUID(baseAttr->guid, IID_IDispatch));
        }

        const std::vector<ExpFunc> slots = Slots(c);
        ASSERT_EQ(attr->cFuncs, slots.size());
        const size_t tablePtr = native ? sizeof(void*) : attr->cbSizeVft / (7 + slots.size());
        EXPECT_TRUE(tablePtr == 4 || tablePtr == 8) << attr->cbSizeVft;
        EXPECT_EQ(attr->cbSizeVft, (7 + slots.size()) * tablePtr);
        size_t ptr = sizeof(void*);
        if (!native && attr->cFuncs > 0) {
            FuncDesc first(iface.get(), 0);
            ASSERT_TRUE(first);
            ptr = static_cast<size_t>(first->oVft) / 7;
            EXPECT_TRUE(ptr == 4 || ptr == 8) << first->oVft;
        }
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            const ExpFunc& want = slots[i];
            SCOPED_TRACE(want.name + " slot " + std::to_string(i));
            FuncDesc f(iface.get(), i);
            ASSERT_TRUE(f);
            EXPECT_EQ(f->memid, want.id);
            EXPECT_EQ(f->invkind, want.invoke);
            EXPECT_EQ(f->funckind, FUNC_PUREVIRTUAL);
            EXPECT_EQ(f->callconv, CC_STDCALL);
            EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
            // IUnknown and IDispatch take the first seven slots.
            EXPECT_EQ(static_cast<size_t>(f->oVft), (7 + i) * ptr);

            BSTR names[16] = {};
            UINT got = 0;
            ASSERT_HRESULT_SUCCEEDED(iface->GetNames(f->memid, names, 16, &got));
            ASSERT_GE(got, 1u);
            EXPECT_EQ(Bytes936(names[0]), want.name);
            for (UINT n = 0; n < got; ++n)
                SysFreeString(names[n]);

            ASSERT_EQ(static_cast<size_t>(f->cParams), want.params.size());
            for (SHORT p = 0; p < f->cParams; ++p) {
                const ELEMDESC& e = f->lprgelemdescParam[p];
                EXPECT_EQ(Render(iface.get(), e.tdesc), want.params[p].type) << "parameter " << p;
                EXPECT_EQ(e.paramdesc.wParamFlags, want.params[p].flags) << "parameter " << p;
            }
            EXPECT_EQ(HelpOf(iface.get(), f->memid), want.help ? Expected936(want.help) : std::string());
        }

        // Late-bound callers find every member by name.
        for (const ExpMember& m : c.members) {
            Bstr name(WideFromUtf8(m.name).c_str());
            LPOLESTR names[] = {name.get()};
            MEMBERID id = 0;
            EXPECT_HRESULT_SUCCEEDED(dispatch->GetIDsOfNames(names, 1, &id)) << m.name;
            EXPECT_EQ(id, m.id) << m.name;
        }
    }
}

TEST_P(TypeLibTest, EventInterfacesListEveryEvent) {
    for (const ExpClass& c : ExpectedClasses()) {
        if (!c.diid) continue;
        SCOPED_TRACE(c.name);
        ComPtr<ITypeInfo> info = TypeOf(c.diid);
        ASSERT_TRUE(info);
        EXPECT_EQ(NameOf(info.get()), std::string("__") + c.name);
        TypeAttr attr(info.get());
        ASSERT_TRUE(attr);
        EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
        // A reader may list IDispatch's seven functions ahead of the events.
        ASSERT_GE(attr->cFuncs, c.events.size());
        const UINT first = attr->cFuncs - static_cast<UINT>(c.events.size());
        EXPECT_TRUE(first == 0 || first == 7) << first;
        for (UINT i = 0; i < c.events.size(); ++i) {
            const ExpEvent& want = c.events[i];
            SCOPED_TRACE(want.name);
            FuncDesc f(info.get(), first + i);
            ASSERT_TRUE(f);
            EXPECT_EQ(f->memid, want.id);
            EXPECT_EQ(f->funckind, FUNC_DISPATCH);
            EXPECT_EQ(f->invkind, INVOKE_FUNC);
            EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_VOID);
            ASSERT_EQ(static_cast<size_t>(f->cParams), want.params.size());

            BSTR names[8] = {};
            UINT got = 0;
            ASSERT_HRESULT_SUCCEEDED(info->GetNames(f->memid, names, 8, &got));
            ASSERT_EQ(got, 1 + want.params.size());
            EXPECT_EQ(Bytes936(names[0]), want.name);
            for (SHORT p = 0; p < f->cParams; ++p) {
                const ExpParam param = ParseParam(want.params[p]);
                EXPECT_EQ(Bytes936(names[p + 1]), param.name);
                EXPECT_EQ(Render(info.get(), f->lprgelemdescParam[p].tdesc), param.type);
                EXPECT_EQ(f->lprgelemdescParam[p].paramdesc.wParamFlags, param.flags);
            }
            for (UINT n = 0; n < got; ++n)
                SysFreeString(names[n]);
        }
    }
}

std::string SourceName(const testing::TestParamInfo<Source>& info) {
    return info.param.label;
}

INSTANTIATE_TEST_SUITE_P(Files, TypeLibTest, testing::ValuesIn(Sources()), SourceName);

} // namespace
