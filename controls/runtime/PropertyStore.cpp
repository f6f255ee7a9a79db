#include "PropertyStore.h"

#include "RuntimeErrors.h"

#include <algorithm>

namespace glim {

PropertyStore::PropertyStore(const typelib::CoClass& description) {
    // Persisted keys first, in their order, so loading and saving walk the slots.
    for (const typelib::Persisted& p : description.persisted) {
        const char* name = p.member ? p.member : p.key;
        const typelib::Member* member = nullptr;
        for (const typelib::Member& m : description.members)
            if (m.kind == typelib::MemberKind::Property && lstrcmpiA(m.name, name) == 0) member = &m;
        slots_.push_back(
            {name, member ? member->id : DISPID_UNKNOWN, typelib::VariantTypeOf(p.type), member, &p});
    }
    for (size_t i = 0; i < slots_.size(); ++i)
        reading_.push_back(i);
    // A description that places its keys has them all placed (checked where it is written).
    std::stable_sort(reading_.begin(), reading_.end(), [&](size_t a, size_t b) {
        return slots_[a].persisted->readAt < slots_[b].persisted->readAt;
    });
    for (const typelib::Member& m : description.members) {
        if (m.kind != typelib::MemberKind::Property || Find(m.id)) continue;
        slots_.push_back({m.name, m.id, typelib::VariantTypeOf(m.type.vt), &m, nullptr});
    }
}

PropertyStore::Slot* PropertyStore::Find(DISPID id) {
    if (id == DISPID_UNKNOWN) return nullptr;
    for (Slot& s : slots_)
        if (s.id == id) return &s;
    return nullptr;
}

PropertyStore::Slot* PropertyStore::Find(const char* name) {
    for (Slot& s : slots_)
        if (lstrcmpiA(s.name, name) == 0) return &s;
    return nullptr;
}

PropertyStore::Slot* PropertyStore::FindKey(const char* key) {
    for (Slot& s : slots_)
        if (s.persisted && lstrcmpiA(s.persisted->key, key) == 0) return &s;
    return nullptr;
}

PropertyStore::Slot& PropertyStore::Get(DISPID id) {
    Slot* s = Find(id);
    if (!s) RaiseError(kErrNotSupported);
    return *s;
}

} // namespace glim
