#include "ControlClass.h"

#include "ComPtr.h"
#include "GlimFormControlDesc.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

HRESULT ModuleTypeLib(ITypeLib** lib) {
    if (!lib) return E_POINTER;
    *lib = nullptr;
    // The platform keeps loaded libraries by path, so this is cheap after the first time.
    const std::wstring path = Widen(ModulePath());
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib);
}

HRESULT ModuleTypeInfo(REFGUID guid, ITypeInfo** info) {
    ComPtr<ITypeLib> lib;
    HRESULT hr = ModuleTypeLib(lib.put());
    if (FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(guid, info);
}

const typelib::CoClass& DescriptionOf(const ControlClass& cls) {
    if (cls.description) return *cls.description;
    const typelib::CoClass* c = typelib::FindClass(cls.name);
    if (!c) RaiseError(kErrNotSupported);
    return *c;
}

} // namespace glim
