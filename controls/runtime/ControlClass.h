#pragma once
// The description of one control class: identity, interfaces, where its
// type information comes from, how to make an instance.
#include <windows.h>
#include <oaidl.h>
#include <oleidl.h>

namespace glim {

namespace typelib {
struct CoClass;
}

class ControlBase;

// What every control tells containers about itself (also registered).
inline constexpr DWORD kControlMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                            OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                            OLEMISC_SETCLIENTSITEFIRST;
// A panel that holds the host's controls and passes the focus on to them.
inline constexpr DWORD kContainerMiscStatus = kControlMiscStatus | OLEMISC_SIMPLEFRAME | OLEMISC_NOUIACTIVATE;

// Looks up the type information of a GUID (coclass, interface or
// dispinterface); the library uses its own type library resource.
using TypeInfoSource = HRESULT (*)(REFGUID guid, ITypeInfo** info);

struct ControlClass {
    const char* name; // class name, also the type name hosts report
    const CLSID* clsid;
    const IID* defaultIid; // the dual default interface
    const IID* eventsIid;  // the source dispinterface
    int toolboxBitmap;     // bitmap resource id for the designer's toolbox
    SIZE initialPixels;    // size of a new instance
    TypeInfoSource typeInfo;
    ControlBase* (*create)(); // a new instance, not yet counted
    DWORD miscStatus = kControlMiscStatus;
    // Members, events and persisted keys; nullptr: the library's class of this name.
    const typelib::CoClass* description = nullptr;
    const CLSID* propertyPage = nullptr; // the design-time page the control offers, if any
};

// The description a class follows; raises 438 when the library has none.
const typelib::CoClass& DescriptionOf(const ControlClass& cls);

// Type information from the type library bound into ModuleHandle().
HRESULT ModuleTypeInfo(REFGUID guid, ITypeInfo** info);
// The module's type library (counted reference for the caller), loaded
// once and kept until ReleaseModuleTypeLib.
HRESULT ModuleTypeLib(ITypeLib** lib);
// Lets the kept type library go, as the module is about to unload.
void ReleaseModuleTypeLib();

} // namespace glim
