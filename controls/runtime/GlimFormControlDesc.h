#pragma once
// The one description of the type library GlimFormControl.  The build-time
// generator writes both the .tlb and the C++ interface header from it, so the
// slot order and dispatch identifiers the controls implement cannot drift
// from what hosts see.  The control runtime reads the same tables for what
// each control persists and which events it raises with which argument
// types; where each value lives and what its put does is the control's own
// binding table.  Texts are code page 936 bytes, as the library stores them.
#include <windows.h>

#include <span>

namespace glim::typelib {

enum class VarType {
    Void,
    I2,
    I4,
    Bool,
    Bstr,
    R4,
    R8,
    Variant,
    Dispatch,
    Unknown,
    OleColor, // stdole OLE_COLOR
    Font,     // stdole Font (IFontDisp)
    Picture,  // stdole Picture (IPictureDisp)
    Enum,     // one of the library's enumerations, by name
};

struct TypeRef {
    VarType vt = VarType::Void;
    const char* enumName = nullptr;
};

// The variant type a value of t travels in (enumerations and colours as
// VT_I4, fonts and pictures as VT_DISPATCH).
constexpr VARTYPE VariantTypeOf(VarType t) {
    switch (t) {
    case VarType::I2:
        return VT_I2;
    case VarType::I4:
    case VarType::OleColor:
    case VarType::Enum:
        return VT_I4;
    case VarType::Bool:
        return VT_BOOL;
    case VarType::Bstr:
        return VT_BSTR;
    case VarType::R4:
        return VT_R4;
    case VarType::R8:
        return VT_R8;
    case VarType::Variant:
        return VT_VARIANT;
    case VarType::Dispatch:
    case VarType::Font:
    case VarType::Picture:
        return VT_DISPATCH;
    case VarType::Unknown:
        return VT_UNKNOWN;
    case VarType::Void:
        break;
    }
    return VT_EMPTY;
}

struct Param {
    const char* name;
    TypeRef type;
    bool byRef = false;
    bool optional = false;
};

enum class MemberKind { Property, Method };

// Accessors a property has; the generator emits them in this order.
enum Access : unsigned { kGet = 1, kPut = 2, kPutRef = 4 };

struct Member {
    const char* name;
    DISPID id;
    MemberKind kind;
    TypeRef type;        // the property's type, or what a method returns
    unsigned access = 0; // properties only
    std::span<const Param> params = {};
    const char* help = nullptr;
    WORD funcFlags = 0;
};

struct Event {
    const char* name;
    DISPID id;
    std::span<const Param> params = {};
};

struct Enumerator {
    const char* name;
    long value;
};

struct Enumeration {
    const char* name;
    const char* guid; // nullptr: the enumeration has no identifier
    std::span<const Enumerator> items;
    bool namesAsHelp = false; // each enumerator's help string is its own name
};

// Where the value of a persisted key comes from when the bag has none.
enum class DefaultFrom {
    Constant,           // number (or text for strings)
    AmbientFont,        // the container's font
    AmbientBackColor,   // the container's back colour
    AmbientForeColor,   // the container's fore colour
    AmbientDisplayName, // the name the container gives the control
    Nothing,            // no object
    SysColor,           // GetSysColor(number) as the key is read: an RGB value, not a system colour
    Key,                // the value of the key named by text as it stands (just read, when read
                        // before); naming the key itself keeps what the control has
};

struct Default {
    DefaultFrom from = DefaultFrom::Constant;
    double number = 0;
    const char* text = nullptr; // code page 936; strings only
};

// One key a control reads and writes in the container's property bag; a
// control's keys are written in the order they are listed, and read in
// that order too unless they give their own places.
struct Persisted {
    const char* key;    // property-bag name
    const char* member; // the property whose value it holds (nullptr: the key's name)
    VarType type;       // the type the value is kept, read and written as
    Default dflt;
    bool readOnly = false;  // read on load, never written
    bool always = false;    // written even when equal to its default
    int readAt = 0;         // place in the reading order, from 1; 0 on every key: as listed
    bool notifyKey = false; // a put of the member tells the container under the key's name
};

// Whether the keys' reading places are all 0 or each of 1..n once, so the
// runtime reads every key exactly once.
constexpr bool ValidReadingOrder(std::span<const Persisted> keys) {
    bool placed = false;
    for (const Persisted& k : keys)
        placed = placed || k.readAt != 0;
    if (!placed) return true;
    for (size_t at = 1; at <= keys.size(); ++at) {
        size_t found = 0;
        for (const Persisted& k : keys)
            found += k.readAt == static_cast<int>(at) ? 1 : 0;
        if (found != 1) return false;
    }
    return true;
}

struct CoClass {
    const char* name;
    const char* clsid;
    const char* iid;  // dual default interface "_" + name
    const char* diid; // source dispinterface "__" + name; nullptr when none
    bool control;
    std::span<const Member> members = {};
    std::span<const Event> events = {};
    std::span<const Persisted> persisted = {};
};

struct Library {
    const char* name;
    const char* libid;
    WORD major;
    WORD minor;
    LCID lcid;
    std::span<const Enumeration> enums;
    std::span<const CoClass> classes;
};

const Library& GlimFormControl();
// The class of that name, or nullptr.
const CoClass* FindClass(const char* name);

} // namespace glim::typelib
