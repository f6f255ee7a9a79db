#include "ControlClass.h"

#include "ComPtr.h"
#include "GlimFormControlDesc.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

namespace {

SRWLOCK g_typeLibLock = SRWLOCK_INIT; // guards TypeLibCache()

// The module's type library once loaded: the platform keeps loaded libraries
// by path, but finds one again only after opening the file, a round trip to
// the server for every control made.  Never destroyed with the module: a
// release from a detaching library may reach one already gone, so
// ReleaseModuleTypeLib lets it go while the module can still unload.
ComPtr<ITypeLib>& TypeLibCache() {
    static ComPtr<ITypeLib>& cache = *new ComPtr<ITypeLib>();
    return cache;
}

} // namespace

HRESULT ModuleTypeLib(ITypeLib** lib) {
    if (!lib) return E_POINTER;
    *lib = nullptr;
    AcquireSRWLockExclusive(&g_typeLibLock);
    ComPtr<ITypeLib>& cache = TypeLibCache();
    HRESULT hr = S_OK;
    if (!cache) hr = LoadTypeLibEx(Widen(ModulePath()).c_str(), REGKIND_NONE, cache.put());
    if (SUCCEEDED(hr)) hr = cache.CopyTo(lib);
    ReleaseSRWLockExclusive(&g_typeLibLock);
    return hr;
}

void ReleaseModuleTypeLib() {
    ComPtr<ITypeLib> last;
    AcquireSRWLockExclusive(&g_typeLibLock);
    std::swap(last, TypeLibCache());
    ReleaseSRWLockExclusive(&g_typeLibLock);
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
