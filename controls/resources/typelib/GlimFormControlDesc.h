#pragma once
// The one description of the type library GlimFormControl.  The build-time
// generator writes both the .tlb and the C++ interface header from it, so the
// slot order and dispatch identifiers the controls implement cannot drift
// from what hosts see.  Texts are code page 936 bytes, as the library stores
// them.
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

struct CoClass {
    const char* name;
    const char* clsid;
    const char* iid;  // dual default interface "_" + name
    const char* diid; // source dispinterface "__" + name; nullptr when none
    bool control;
    std::span<const Member> members = {};
    std::span<const Event> events = {};
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

} // namespace glim::typelib
