#pragma once
// The values of a control's kept and persisted properties, laid out from the
// control's description: one slot per property the runtime keeps and per
// persisted key, each holding its value in the type it is kept as.
#include "ComPtr.h"
#include "GlimFormControlDesc.h"

#include <vector>

namespace glim {

class PropertyStore {
  public:
    struct Slot {
        const char* name;                    // property or key name
        DISPID id;                           // DISPID_UNKNOWN for a key without a member
        VARTYPE vt;                          // the type the value is kept as
        const typelib::Member* member;       // nullptr for a key without a member
        const typelib::Persisted* persisted; // nullptr when not persisted
        Variant value;
    };

    explicit PropertyStore(const typelib::CoClass& description);

    std::vector<Slot>& Slots() { return slots_; }
    // The slot of a member, or nullptr.
    Slot* Find(DISPID id);
    Slot* Find(const char* name);
    // Raises 438 (no such property) when there is no slot.
    Slot& Get(DISPID id);

  private:
    std::vector<Slot> slots_;
};

} // namespace glim
