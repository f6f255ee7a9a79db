#include "PropertyStore.h"

#include "RuntimeErrors.h"

namespace glim {

PropertyStore::PropertyStore(const typelib::CoClass& description) {
    // Persisted keys first, in their order, so loading and saving walk the slots.
    for (const typelib::Persisted& p : description.persisted) {
        const char* name = p.member ? p.member : p.key;
        const typelib::Member* member = nullptr;
        for (const typelib::Member& m : description.members)
            if (m.kind == typelib::MemberKind::Property && lstrcmpiA(m.name, name) == 0) member = &m;
        slots_.push_back({name, member ? member->id : DISPID_UNKNOWN, typelib::VariantTypeOf(p.type), member,
                          &p, Variant()});
    }
    for (const typelib::Member& m : description.members) {
        if (m.kind != typelib::MemberKind::Property || !(m.behaviour & typelib::kStored) || Find(m.id))
            continue;
        slots_.push_back({m.name, m.id, typelib::VariantTypeOf(m.type.vt), &m, nullptr, Variant()});
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

PropertyStore::Slot& PropertyStore::Get(DISPID id) {
    Slot* s = Find(id);
    if (!s) RaiseError(kErrNotSupported);
    return *s;
}

} // namespace glim
