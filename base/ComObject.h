#pragma once
// Reference counting and QueryInterface for the library's COM objects.  The
// derived class answers Find(iid) with the interface pointer it exposes, or
// nullptr; the count is RefCounted's.
#include <windows.h>
#include <unknwn.h>

#include "RefCounted.h"
#include "NonCopyable.h"

namespace glim {

// How a QueryInterface ends: found is the interface that answers, or nullptr.
inline HRESULT HandOut(void* found, void** out) {
    *out = found;
    if (!found) return E_NOINTERFACE;
    static_cast<IUnknown*>(found)->AddRef();
    return S_OK;
}

// QueryInterface through Derived::Find; the counting is the base's business.
template <class Derived, class... I>
class ComInterfaces : public I... {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return out ? HandOut(static_cast<Derived*>(this)->Find(iid), out) : E_POINTER;
    }
};

// An object of its own, deleted when its last reference goes.
template <class Derived, class... I>
class ComObject : public ComInterfaces<Derived, I...>, private RefCounted {
  public:
    STDMETHODIMP_(ULONG) AddRef() override { return RefCounted::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return RefCounted::Release(); }
    using RefCounted::RefCount;

  protected:
    ~ComObject() override = default;
};

// Interfaces that live inside another object and share its count.
template <class Derived, class... I>
class ComPart : public ComInterfaces<Derived, I...>, NonCopyable {
  public:
    // owner is uncounted: it owns the part.
    explicit ComPart(IUnknown* owner) : owner_(owner) {}

    STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }

  protected:
    ~ComPart() = default;

  private:
    IUnknown* owner_;
};

// An object whose life is not COM's business (a static, or a local that
// outlives every caller): references taken on it own nothing.
template <class Derived, class... I>
class UncountedComObject : public ComInterfaces<Derived, I...> {
  public:
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
};

} // namespace glim
