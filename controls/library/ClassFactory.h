#pragma once
// The class factory handed out for one class the library serves.
#include "ComPtr.h"
#include "ControlClass.h"

#include <unknwn.h>

#include <functional>

namespace glim {

class ClassFactory final : public IClassFactory {
  public:
    // A new instance answering iid, its only reference in *ppv.
    using Creator = std::function<HRESULT(REFIID iid, void** ppv)>;

    explicit ClassFactory(const ControlClass& cls);
    explicit ClassFactory(Creator create);

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

  private:
    ~ClassFactory();

    Creator create_;
    ULONG refs_ = 0;
};

} // namespace glim
