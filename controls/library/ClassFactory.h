#pragma once
// The class factory handed out for one control class.
#include "ComPtr.h"
#include "ControlClass.h"

#include <unknwn.h>

namespace glim {

class ClassFactory final : public IClassFactory {
  public:
    explicit ClassFactory(const ControlClass& cls);

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

  private:
    ~ClassFactory();

    const ControlClass& cls_;
    ULONG refs_ = 0;
};

} // namespace glim
