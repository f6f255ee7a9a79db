#pragma once
// A control's properties and persisted keys, laid out from its description:
// one slot per persisted key and per property, each with the type its value
// is kept as and the control's binding row that keeps it.
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
        int row = -1;                        // the control's binding row for it, -1 when it has none
    };

    explicit PropertyStore(const typelib::CoClass& description);

    // Persisted keys come first, in their writing order.
    std::vector<Slot>& Slots() { return slots_; }
    // The persisted keys' slots in their reading order.
    const std::vector<size_t>& ReadingOrder() const { return reading_; }
    // The slot of a member, or nullptr.
    Slot* Find(DISPID id);
    Slot* Find(const char* name);
    // The slot of a persisted key by its bag name, or nullptr.
    Slot* FindKey(const char* key);
    // Raises 438 (no such property) when there is no slot.
    Slot& Get(DISPID id);

  private:
    std::vector<Slot> slots_;
    std::vector<size_t> reading_;
};

} // namespace glim
