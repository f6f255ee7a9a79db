#include "HeaderWriter.h"

#include <cstdio>
#include <set>
#include <sstream>
#include <vector>

#include "Text.h"
#include "TypeLibWriter.h"

namespace glim::typelib {
namespace {

bool IsIdentifier(const std::string& s) {
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

std::string Identifier(const char* name) {
    if (!IsIdentifier(name)) throw WriteError(std::string("no C++ spelling for ") + name, E_INVALIDARG);
    return name;
}

bool IsAscii(const char* s) {
    for (; *s; ++s)
        if (static_cast<unsigned char>(*s) >= 0x80) return false;
    return true;
}

// "Dash -Dot- Dot" -> "Dash_Dot_Dot": blanks and signs become one underscore.
std::string Spell(const char* name) {
    std::string out;
    bool gap = false;
    for (const char* p = name; *p; ++p) {
        const char c = *p;
        const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!word) {
            gap = true;
            continue;
        }
        if (gap && !out.empty()) out += '_';
        gap = false;
        out += c;
    }
    return out;
}

std::string Utf8From936(const char* text) {
    const std::wstring w = WideFrom936(text);
    if (w.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// A quoted comment text on one line (help strings may end in CR LF).
std::string CommentText(const char* text) {
    return EscapeLine(Utf8From936(text));
}

std::string GuidInit(const char* text) {
    GUID g{};
    if (FAILED(IIDFromString(WideFrom936(text).c_str(), &g)))
        throw WriteError(std::string("bad identifier ") + text, E_INVALIDARG);
    char buf[128];
    std::snprintf(
        buf, sizeof buf,
        "{0x%08lX, 0x%04X, 0x%04X, {0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X, 0x%02X}}",
        static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
        g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

std::string DispidText(DISPID id) {
    char buf[32];
    if (id < 0)
        std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(id));
    else
        std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(id));
    return buf;
}

std::string CppType(TypeRef t) {
    switch (t.vt) {
    case VarType::Void:
        return "void";
    case VarType::I2:
        return "short";
    case VarType::I4:
        return "long";
    case VarType::Bool:
        return "VARIANT_BOOL";
    case VarType::Bstr:
        return "BSTR";
    case VarType::R4:
        return "float";
    case VarType::R8:
        return "double";
    case VarType::Variant:
        return "VARIANT";
    case VarType::Dispatch:
        return "IDispatch*";
    case VarType::Unknown:
        return "IUnknown*";
    case VarType::OleColor:
        return "OLE_COLOR";
    case VarType::Font:
        return "IFontDisp*";
    case VarType::Picture:
        return "IPictureDisp*";
    case VarType::Enum:
        return Identifier(t.enumName);
    }
    throw WriteError("unknown type", E_INVALIDARG);
}

void WriteEnum(std::ostringstream& out, const Enumeration& e) {
    bool ascii = true;
    for (const Enumerator& item : e.items)
        ascii = ascii && IsAscii(item.name);
    const std::string type = Identifier(e.name);
    std::set<std::string> seen;
    out << "enum " << type << " : long {\n";
    for (const Enumerator& item : e.items) {
        // Names the compiler cannot spell are numbered; the comment keeps the real one.
        const std::string id = type + "_" + (ascii ? Spell(item.name) : std::to_string(item.value));
        if (!seen.insert(id).second) throw WriteError("two enumerators spelled " + id, E_INVALIDARG);
        out << "    " << id << " = " << item.value << ", // \"" << CommentText(item.name) << "\"\n";
    }
    out << "};\n\n";
}

struct Slot {
    std::string function; // C++ name, e.g. get_Caption
    const char* invoke;   // INVOKEKIND spelling
    DISPID id;
    std::string signature;
};

std::vector<Slot> Slots(const CoClass& c) {
    std::vector<Slot> slots;
    for (const Member& m : c.members) {
        const std::string name = Identifier(m.name);
        if (m.kind == MemberKind::Property) {
            const std::string type = CppType(m.type);
            if (m.access & kGet)
                slots.push_back({"get_" + name, "INVOKE_PROPERTYGET", m.id, type + "* pVal"});
            if (m.access & kPut)
                slots.push_back({"put_" + name, "INVOKE_PROPERTYPUT", m.id, type + " New_" + name});
            if (m.access & kPutRef)
                slots.push_back({"putref_" + name, "INVOKE_PROPERTYPUTREF", m.id, type + " New_" + name});
            continue;
        }
        std::string sig;
        for (const Param& p : m.params) {
            if (!sig.empty()) sig += ", ";
            sig += CppType(p.type) + (p.byRef ? "* " : " ") + Identifier(p.name);
        }
        if (m.type.vt != VarType::Void)
            sig += std::string(sig.empty() ? "" : ", ") + CppType(m.type) + "* pRetVal";
        slots.push_back({name, "INVOKE_FUNC", m.id, sig});
    }
    return slots;
}

// How a generated accessor moves a value of t in and out of a VARIANT.
struct Carrier {
    const char* vt;    // the VARTYPE spelling
    const char* field; // the union member
    const char* iid;   // interface a read object is asked for; nullptr: none
};

Carrier CarrierOf(TypeRef t) {
    switch (t.vt) {
    case VarType::I2:
        return {"VT_I2", "iVal", nullptr};
    case VarType::I4:
    case VarType::OleColor:
    case VarType::Enum:
        return {"VT_I4", "lVal", nullptr};
    case VarType::Bool:
        return {"VT_BOOL", "boolVal", nullptr};
    case VarType::Bstr:
        return {"VT_BSTR", "bstrVal", nullptr};
    case VarType::R4:
        return {"VT_R4", "fltVal", nullptr};
    case VarType::R8:
        return {"VT_R8", "dblVal", nullptr};
    case VarType::Dispatch:
        return {"VT_DISPATCH", "pdispVal", "IID_IDispatch"};
    case VarType::Font:
        return {"VT_DISPATCH", "pdispVal", "IID_IFontDisp"};
    case VarType::Picture:
        return {"VT_DISPATCH", "pdispVal", "IID_IPictureDisp"};
    default:
        break;
    }
    throw WriteError("the runtime cannot keep a property of this type", E_INVALIDARG);
}

// The accessors of every property: each hands the value to
// Impl::GetStored / Impl::PutStored in a VARIANT, which the control's
// binding table answers; a control that writes an accessor itself
// overrides it.
void WriteStoredLayer(std::ostringstream& out, const CoClass& c, const std::string& iface) {
    const std::string coclass = Identifier(c.name);
    out << "template <class Impl>\nstruct " << iface << "_Stored : public " << iface << " {\n";
    // The class's identity, for the server's record of it.
    out << "    static constexpr const char* kCoClassName = \"" << coclass << "\";\n"
        << "    static constexpr const CLSID* kClsid = &CLSID_" << coclass << ";\n"
        << "    static constexpr const IID* kIid = &IID_" << iface << ";\n"
        << "    static constexpr const IID* kEventsIid = " << (c.diid ? "&DIID___" + coclass : "nullptr")
        << ";\n";
    for (const Member& m : c.members) {
        if (m.kind != MemberKind::Property) continue;
        const std::string name = Identifier(m.name);
        const std::string type = CppType(m.type);
        const Carrier k = CarrierOf(m.type);
        const std::string id = "DISPID(" + DispidText(m.id) + ")";
        if (m.access & kGet) {
            out << "    HRESULT STDMETHODCALLTYPE get_" << name << "(" << type << "* pVal) override {\n"
                << "        if (!pVal) return E_POINTER;\n"
                << "        VARIANT v;\n        VariantInit(&v);\n"
                << "        const HRESULT hr = static_cast<Impl*>(this)->GetStored(" << id << ", &v);\n"
                << "        if (FAILED(hr)) return hr;\n";
            if (k.iid)
                out << "        *pVal = nullptr;\n"
                    << "        if (v." << k.field << ") v." << k.field << "->QueryInterface(" << k.iid
                    << ", reinterpret_cast<void**>(pVal));\n"
                    << "        VariantClear(&v);\n";
            else
                out << "        *pVal = static_cast<" << type << ">(v." << k.field << ");\n";
            out << "        return S_OK;\n    }\n";
        }
        for (unsigned put : {unsigned(kPut), unsigned(kPutRef)}) {
            if (!(m.access & put)) continue;
            out << "    HRESULT STDMETHODCALLTYPE " << (put == kPut ? "put_" : "putref_") << name << "("
                << type << " New_" << name << ") override {\n"
                << "        VARIANT v;\n        VariantInit(&v);\n"
                << "        v.vt = " << k.vt << ";\n"
                << "        v." << k.field << " = New_" << name << ";\n"
                << "        return static_cast<Impl*>(this)->PutStored(" << id << ", v);\n    }\n";
        }
    }
    out << "};\n\n";
}

void WriteClass(std::ostringstream& out, const CoClass& c) {
    const std::string name = Identifier(c.name);
    const std::string iface = "_" + name;
    out << "// ---- " << name << "\n\n";
    out << "inline constexpr CLSID CLSID_" << name << " = " << GuidInit(c.clsid) << ";\n";
    out << "inline constexpr IID IID_" << iface << " = " << GuidInit(c.iid) << ";\n";
    if (c.diid) out << "inline constexpr IID DIID___" << name << " = " << GuidInit(c.diid) << ";\n";
    out << "\n";

    out << "namespace dispid::" << name << " {\n";
    for (const Member& m : c.members)
        out << "inline constexpr DISPID " << Identifier(m.name) << " = " << DispidText(m.id) << ";\n";
    out << "} // namespace dispid::" << name << "\n\n";
    if (c.diid) {
        out << "namespace dispid::" << name << "_events {\n";
        for (const Event& e : c.events)
            out << "inline constexpr DISPID " << Identifier(e.name) << " = " << DispidText(e.id) << ";\n";
        out << "} // namespace dispid::" << name << "_events\n\n";
    }

    const std::vector<Slot> slots = Slots(c);
    out << "struct " << iface << " : public IDispatch {\n";
    for (const Slot& s : slots)
        out << "    virtual HRESULT STDMETHODCALLTYPE " << s.function << "(" << s.signature << ") = 0;\n";
    out << "};\n\n";
    WriteStoredLayer(out, c, iface);

    // Lets a caller walk the interface's functions in slot order together
    // with what the type library says each one is.
    out << "namespace glim_slots {\n";
    out << "template <class Visit>\nvoid " << iface << "(Visit&& visit) {\n";
    if (slots.empty()) out << "    (void)visit;\n";
    for (const Slot& s : slots)
        out << "    visit(&::" << iface << "::" << s.function << ", " << s.invoke << ", DISPID("
            << DispidText(s.id) << "), \"" << s.function << "\");\n";
    out << "}\n} // namespace glim_slots\n\n";
}

} // namespace

std::string BuildHeader(const Library& lib) {
    std::ostringstream out;
    const std::string libName = Identifier(lib.name);
    out << "// Generated by glim_typelib_gen from the description of the type library\n"
        << "// " << libName << "; edit the description, not this file.\n"
        << "#pragma once\n"
        << "#include <windows.h>\n"
        << "#include <ole2.h>\n"
        << "#include <olectl.h>\n\n";
    out << "inline constexpr GUID LIBID_" << libName << " = " << GuidInit(lib.libid) << ";\n";
    out << "inline constexpr WORD " << libName << "_MajorVersion = " << lib.major << ";\n";
    out << "inline constexpr WORD " << libName << "_MinorVersion = " << lib.minor << ";\n";
    out << "inline constexpr LCID " << libName << "_Lcid = " << lib.lcid << ";\n\n";
    for (const Enumeration& e : lib.enums)
        WriteEnum(out, e);
    for (const CoClass& c : lib.classes)
        WriteClass(out, c);
    return out.str();
}

} // namespace glim::typelib
