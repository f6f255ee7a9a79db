#pragma once
// An ordered in-memory property bag that can go to and come from a stream;
// gives controls stream persistence through their property-bag code.
#include "ComObject.h"
#include "ComPtr.h"

#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

namespace glim {

class MemoryPropertyBag final : public ComObject<MemoryPropertyBag, IPropertyBag> {
  public:
    static ComPtr<MemoryPropertyBag> Create();

    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IPropertyBag ? static_cast<IPropertyBag*>(this) : nullptr;
    }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    // Plain values (integers, reals, booleans, strings) and persistable
    // objects (fonts, pictures) are kept; other objects fail to save.
    HRESULT SaveTo(IStream* stream) const;
    HRESULT LoadFrom(IStream* stream);
    const std::vector<std::pair<std::wstring, Variant>>& Items() const { return items_; }

  private:
    MemoryPropertyBag() = default;
    ~MemoryPropertyBag() override = default;

    std::vector<std::pair<std::wstring, Variant>> items_; // in write order
};

} // namespace glim
