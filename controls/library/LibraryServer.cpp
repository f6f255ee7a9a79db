// The exports of GlimForm.dll: class objects, unloading, and registration
// of the built control classes and the type library.
#include "ClassFactory.h"
#include "ComPtr.h"
#include "Handles.h"
#include "ModuleLocks.h"
#include "PropertyPage.h"
#include "Pictures.h"
#include "ServerClasses.h"
#include "Text.h"

#include "GlimFormControl.h"

#include <ole2.h>

#include <string>

using namespace glim;

namespace {

// ProgIDs are the type library's name, a point and the class name.
const char kLibraryName[] = "GlimFormControl";

std::string GuidText(REFGUID g) {
    wchar_t buf[40] = {};
    StringFromGUID2(g, buf, 40);
    return Narrow(buf);
}

bool WriteKey(const std::string& path, const std::string& value, const char* name = nullptr) {
    OwnedKey key;
    return RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                           nullptr) == ERROR_SUCCESS &&
           RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

HRESULT RegisterControlClass(const ControlClass& cls, const std::string& dll) {
    const std::string clsid = GuidText(*cls.clsid);
    const std::string progId = std::string(kLibraryName) + "." + cls.name;
    const std::string key = "CLSID\\" + clsid;
    bool ok = WriteKey(key, progId);
    ok = ok && WriteKey(key + "\\InprocServer32", dll);
    ok = ok && WriteKey(key + "\\InprocServer32", "Apartment", "ThreadingModel");
    ok = ok && WriteKey(key + "\\ProgID", progId);
    ok = ok && WriteKey(key + "\\VersionIndependentProgID", progId);
    ok = ok && WriteKey(key + "\\Control", "");
    ok = ok && WriteKey(key + "\\ToolboxBitmap32", dll + ", " + std::to_string(cls.toolboxBitmap));
    ok = ok && WriteKey(key + "\\TypeLib", GuidText(LIBID_GlimFormControl));
    ok = ok && WriteKey(key + "\\Version", "1.0");
    ok = ok && WriteKey(key + "\\MiscStatus", "0");
    ok = ok && WriteKey(key + "\\MiscStatus\\1", std::to_string(cls.miscStatus));
    ok = ok && WriteKey(progId, cls.name);
    ok = ok && WriteKey(progId + "\\CLSID", clsid);
    return ok ? S_OK : SELFREG_E_CLASS;
}

// A page is served in process like the controls; it has no ProgID.
HRESULT RegisterPropertyPage(const PropertyPageClass& page, const std::string& dll) {
    const std::string key = "CLSID\\" + GuidText(*page.clsid);
    bool ok = WriteKey(key, page.name);
    ok = ok && WriteKey(key + "\\InprocServer32", dll);
    ok = ok && WriteKey(key + "\\InprocServer32", "Apartment", "ThreadingModel");
    return ok ? S_OK : SELFREG_E_CLASS;
}

void UnregisterControlClass(const ControlClass& cls) {
    const std::string progId = std::string(kLibraryName) + "." + cls.name;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidText(*cls.clsid)).c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidText(*cls.clsid)).c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, progId.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, progId.c_str());
}

// Read afresh rather than kept: registering loads us only for a moment.
HRESULT LoadOwnTypeLib(ITypeLib** lib) {
    return LoadTypeLibEx(Widen(ModulePath()).c_str(), REGKIND_NONE, lib);
}

} // namespace

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    const ControlClass* cls = FindServerClass(clsid);
    if (!cls) return GetPropertyPageClassObject(clsid, iid, ppv);
    ComPtr<ClassFactory> factory(new ClassFactory(*cls));
    return factory->QueryInterface(iid, ppv);
}

STDAPI DllCanUnloadNow() {
    if (ModuleLockCount() != 0) return S_FALSE;
    // The caller may unload us now; a later control loads the library again.
    ReleaseModuleTypeLib();
    return S_OK;
}

STDAPI DllRegisterServer() {
    const std::string dll = ModulePath();
    ComPtr<ITypeLib> lib;
    HRESULT hr = LoadOwnTypeLib(lib.put());
    if (FAILED(hr)) return SELFREG_E_TYPELIB;
    std::wstring path = Widen(dll);
    if (FAILED(RegisterTypeLib(lib.get(), path.data(), nullptr))) return SELFREG_E_TYPELIB;
    for (const ControlClass* cls : ServerClasses()) {
        hr = RegisterControlClass(*cls, dll);
        if (FAILED(hr)) return hr;
    }
    size_t pageCount = 0;
    const PropertyPageClass* const* pages = PropertyPageClasses(pageCount);
    for (size_t i = 0; i < pageCount; ++i) {
        hr = RegisterPropertyPage(*pages[i], dll);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

STDAPI DllUnregisterServer() {
    for (const ControlClass* cls : ServerClasses())
        UnregisterControlClass(*cls);
    size_t pageCount = 0;
    const PropertyPageClass* const* pages = PropertyPageClasses(pageCount);
    for (size_t i = 0; i < pageCount; ++i) {
        const std::string key = "CLSID\\" + GuidText(*pages[i]->clsid);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    }
    ComPtr<ITypeLib> lib;
    if (SUCCEEDED(LoadOwnTypeLib(lib.put()))) {
        TLIBATTR* attr = nullptr;
        if (SUCCEEDED(lib->GetLibAttr(&attr))) {
            UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
            lib->ReleaseTLibAttr(attr);
        }
    }
    return S_OK;
}

} // extern "C"
