#pragma once
// Reference counting and QueryInterface for the host's COM objects.  The
// derived class answers Find(iid) with the interface pointer it exposes.
#include <windows.h>
#include <unknwn.h>

namespace glim::host {

template <class Derived, class... I>
class ComObject : public I... {
  public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = static_cast<Derived*>(this)->Find(iid);
        if (!*out) return E_NOINTERFACE;
        static_cast<IUnknown*>(*out)->AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~ComObject() = default;

  private:
    ULONG refs_ = 0;
};

} // namespace glim::host
