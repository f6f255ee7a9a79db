#pragma once
// What hosts must find in GlimFormControl, written by hand from the control
// tables, independent of the generator's description.  Names are UTF-8 here
// and compared as code page 936 bytes.
#include <windows.h>

#include <utility>
#include <vector>

namespace typelibtest {

// How a member appears: a property with get and put, a read-only property,
// a property with get and put-by-reference (objects), or a method.
enum class Shape { ReadWrite, ReadOnly, GetPutRef, Method };

// Types are spelled as the test renders a TYPEDESC: "short", "long",
// "VARIANT_BOOL", "BSTR", "float", "VARIANT", "IDispatch*", a "*" per pointer
// level, "stdole.<name>" for the standard types and the bare name for the
// library's own enumerations.
struct ExpMember {
    const char* name;
    DISPID id;
    Shape shape;
    const char* type;                // property type, or a method's result (nullptr: none)
    std::vector<const char*> params; // methods: "name:type"
    const char* help = nullptr;      // UTF-8
};

struct ExpEvent {
    const char* name;
    DISPID id;
    std::vector<const char*> params; // "name:type"
};

struct ExpClass {
    const char* name;
    const char* clsid;
    const char* iid;
    const char* diid; // nullptr: no event interface
    bool control;
    std::vector<ExpMember> members;
    std::vector<ExpEvent> events;
};

struct ExpEnum {
    const char* name;
    const char* guid; // nullptr: none
    bool helpIsName;
    std::vector<std::pair<const char*, long>> items; // UTF-8 names
};

const std::vector<ExpEnum>& ExpectedEnums();
const std::vector<ExpClass>& ExpectedClasses();

inline constexpr const char* kLibId = "{EF977422-E047-42A7-A004-1C0695C81FCF}";

} // namespace typelibtest
