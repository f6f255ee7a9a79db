#include "PropertyBag.h"

#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

bool SameValue(const VARIANT& a, const VARIANT& b) {
    const bool objA = V_VT(&a) == VT_DISPATCH || V_VT(&a) == VT_UNKNOWN;
    const bool objB = V_VT(&b) == VT_DISPATCH || V_VT(&b) == VT_UNKNOWN;
    if (objA || objB) {
        if (!(objA && objB)) return false;
        ComPtr<IUnknown> ua, ub;
        if (V_UNKNOWN(&a)) V_UNKNOWN(&a)->QueryInterface(IID_IUnknown, ua.put_void());
        if (V_UNKNOWN(&b)) V_UNKNOWN(&b)->QueryInterface(IID_IUnknown, ub.put_void());
        return ua.get() == ub.get();
    }
    if (V_VT(&a) == VT_BSTR && V_VT(&b) == VT_BSTR)
        return SysStringLen(V_BSTR(&a)) == SysStringLen(V_BSTR(&b)) &&
               (SysStringLen(V_BSTR(&a)) == 0 ||
                memcmp(V_BSTR(&a), V_BSTR(&b), SysStringLen(V_BSTR(&a)) * sizeof(OLECHAR)) == 0);
    if (V_VT(&a) == VT_BSTR || V_VT(&b) == VT_BSTR) return false;
    return VarCmp(const_cast<VARIANT*>(&a), const_cast<VARIANT*>(&b), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

Variant PropertyBag::Read(const PersistedKey& key, const VARIANT& dflt) const {
    Variant stored;
    std::wstring name = Widen(key.name);
    // Ask for what is stored (VT_EMPTY) and convert here, so a value that does
    // not fit raises overflow instead of silently reading the default.
    if (!bag_ || FAILED(bag_->Read(name.c_str(), stored.get(), log_)) || stored.vt() == VT_EMPTY)
        return Variant(dflt);
    if (key.type == VT_VARIANT) return stored;
    if (key.type == VT_DISPATCH) {
        if (stored.vt() == VT_DISPATCH) return stored;
        if (stored.vt() == VT_UNKNOWN) {
            ComPtr<IDispatch> d;
            if (V_UNKNOWN(stored.get())) V_UNKNOWN(stored.get())->QueryInterface(IID_IDispatch, d.put_void());
            return Variant::Object(d.get());
        }
        return Variant(dflt);
    }
    if (stored.vt() == key.type) return stored;
    Variant converted;
    const HRESULT hr = VariantChangeType(converted.get(), stored.get(), 0, key.type);
    if (hr == DISP_E_OVERFLOW) RaiseError(kErrOverflow);
    if (FAILED(hr)) RaiseError(kErrTypeMismatch);
    return converted;
}

void PropertyBag::Write(const PersistedKey& key, const VARIANT& value, const VARIANT& dflt) const {
    if (V_VT(&dflt) != VT_ERROR && SameValue(value, dflt)) return;
    Write(key, value);
}

void PropertyBag::Write(const PersistedKey& key, const VARIANT& value) const {
    if (!bag_) return;
    std::wstring name = Widen(key.name);
    Variant v(value);
    if (key.type != VT_VARIANT && key.type != VT_DISPATCH && v.vt() != key.type) {
        Variant converted;
        if (SUCCEEDED(VariantChangeType(converted.get(), v.get(), 0, key.type))) v = converted;
    }
    const HRESULT hr = bag_->Write(name.c_str(), v.get());
    if (FAILED(hr)) throw ErrorFromCom(hr);
}

} // namespace glim
