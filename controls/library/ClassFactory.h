#pragma once
// The class factory handed out for one class the library serves.
#include "ComObject.h"
#include "ComPtr.h"
#include "ControlClass.h"

#include <unknwn.h>

#include <functional>

namespace glim {

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
  public:
    // A new instance answering iid, its only reference in *ppv.
    using Creator = std::function<HRESULT(REFIID iid, void** ppv)>;

    explicit ClassFactory(const ControlClass& cls);
    explicit ClassFactory(Creator create);

    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

  private:
    ~ClassFactory() override;

    Creator create_;
};

} // namespace glim
