#pragma once
// In-memory property bag: the stored data of one control.  Keeps the order
// in which keys were first written; keys compare case-insensitively.
#include "ComObject.h"
#include "ComPtr.h"
#include "Variant.h"

#include <ocidl.h>
#include <string>
#include <vector>

namespace glim::host {

class PropertyBag : public ComObject<PropertyBag, IPropertyBag> {
  public:
    static ComPtr<PropertyBag> Create();
    // Parses the text form written by ToText; values come back as strings.
    static ComPtr<PropertyBag> FromText(const std::string& text);
    void* Find(REFIID iid);

    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    // Host-side access with ANSI key names.
    void Set(const std::string& key, const Variant& value);
    bool Contains(const std::string& key) const;
    Variant Get(const std::string& key) const;
    std::vector<std::string> Keys() const;
    size_t Count() const { return entries_.size(); }

    // One "key=value" line per entry, in order; CR, LF and backslash in
    // values are escaped so every entry stays on its line.  Objects are
    // written through their default value.
    std::string ToText() const;

  private:
    PropertyBag() = default;
    struct Entry {
        std::string key; // as first written
        Variant value;   // fonts and pictures are kept as the objects
    };
    Entry* Lookup(const std::string& key);
    const Entry* Lookup(const std::string& key) const;
    std::vector<Entry> entries_;
};

} // namespace glim::host
