#pragma once
// An in-memory property bag: the stored data of one control.  Keeps the
// order in which keys were first written; keys compare case-insensitively.
// Plain values (integers, reals, booleans, strings) and persistable objects
// (fonts, pictures) are kept as they are and go to and come from a stream.
#include "ComObject.h"
#include "ComPtr.h"
#include "Variant.h"

#include <ocidl.h>

#include <string>
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

    // Access with key names in the system code page.
    void Set(const std::string& key, const Variant& value);
    bool Contains(const std::string& key) const;
    // Raises 5 for a key the bag does not hold.
    Variant Get(const std::string& key) const;
    // In the order of first writing, spelt as first written.
    std::vector<std::string> Keys() const;
    size_t Count() const { return entries_.size(); }

    // Other objects than persistable ones fail to save; a failed load
    // leaves the bag as it was.
    HRESULT SaveTo(IStream* stream) const;
    HRESULT LoadFrom(IStream* stream);

  private:
    MemoryPropertyBag() = default;
    ~MemoryPropertyBag() override = default;

    struct Entry {
        std::string key;
        Variant value;
    };
    // The entry under key, or Count() when there is none.
    size_t IndexOf(const std::string& key) const;

    std::vector<Entry> entries_;
};

} // namespace glim
