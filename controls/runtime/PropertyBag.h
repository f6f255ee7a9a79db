#pragma once
// Reading and writing persisted properties through a container's property
// bag, with the defaults and the typed keys each control declares.
#include "ComPtr.h"

#include <ocidl.h>

namespace glim {

// One persisted key of a control: its property-bag name and the type its
// value is read as (VT_VARIANT keeps whatever was stored; VT_DISPATCH is an
// object such as a font or picture).
struct PersistedKey {
    const char* name;
    VARTYPE type;
};

class PropertyBag {
  public:
    PropertyBag(IPropertyBag* bag, IErrorLog* log) : bag_(bag), log_(log) {}

    // The stored value converted to key.type, or dflt when nothing is stored.
    // Raises 13 or 6 when the stored value does not convert.
    Variant Read(const PersistedKey& key, const VARIANT& dflt) const;
    // Writes value; when dflt is given (not VT_ERROR) and equal, nothing is written.
    void Write(const PersistedKey& key, const VARIANT& value, const VARIANT& dflt) const;
    void Write(const PersistedKey& key, const VARIANT& value) const;

  private:
    IPropertyBag* bag_; // borrowed for the length of one load or save
    IErrorLog* log_;
};

// Whether two values count as equal for leaving out a default.
bool SameValue(const VARIANT& a, const VARIANT& b);

} // namespace glim
