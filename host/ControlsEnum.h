#pragma once
// Enumerator over the extenders of a form's controls, taken when it was made.
#include "ComObject.h"
#include "ComPtr.h"

#include <oaidl.h>
#include <vector>

namespace glim::host {

class ControlsEnum : public ComObject<ControlsEnum, IEnumVARIANT> {
  public:
    static ComPtr<ControlsEnum> Create(std::vector<ComPtr<IDispatch>> items);
    void* Find(REFIID iid);

    STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumVARIANT** out) override;

  private:
    explicit ControlsEnum(std::vector<ComPtr<IDispatch>> items) : items_(std::move(items)) {}
    std::vector<ComPtr<IDispatch>> items_; // the extenders in collection order
    size_t next_ = 0;                      // index of the next item handed out
};

} // namespace glim::host
