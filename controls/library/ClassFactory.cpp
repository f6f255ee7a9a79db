#include "ClassFactory.h"

#include "ControlBase.h"
#include "ModuleLocks.h"

#include <utility>

namespace glim {

ClassFactory::ClassFactory(const ControlClass& cls)
    : ClassFactory([&cls](REFIID iid, void** ppv) {
          ControlBase* control = nullptr;
          const HRESULT made = ComCall(iid, [&] { control = cls.create(); });
          if (FAILED(made)) return made;
          // The first reference, so a failed QueryInterface ends the instance.
          IUnknown* unk = control->Unknown();
          unk->AddRef();
          const HRESULT hr = unk->QueryInterface(iid, ppv);
          unk->Release();
          return hr;
      }) {}

ClassFactory::ClassFactory(Creator create) : create_(std::move(create)) {
    LockModule();
}
ClassFactory::~ClassFactory() {
    UnlockModule();
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, ppv);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock)
        LockModule();
    else
        UnlockModule();
    return S_OK;
}

} // namespace glim
