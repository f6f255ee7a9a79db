#include "Variant.h"

#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

namespace {

// A variant of type vt whose value fill() writes.
template <class Fill>
Variant Typed(VARTYPE vt, Fill fill) {
    Variant r;
    V_VT(r.get()) = vt;
    fill(r.get());
    return r;
}

} // namespace

Variant Variant::Integer(short n) {
    return Typed(VT_I2, [&](VARIANT* v) { V_I2(v) = n; });
}

Variant Variant::Long(long n) {
    return Typed(VT_I4, [&](VARIANT* v) { V_I4(v) = n; });
}

Variant Variant::Double(double d) {
    return Typed(VT_R8, [&](VARIANT* v) { V_R8(v) = d; });
}

Variant Variant::Bool(bool b) {
    return Typed(VT_BOOL, [&](VARIANT* v) { V_BOOL(v) = b ? VARIANT_TRUE : VARIANT_FALSE; });
}

Variant Variant::String(const wchar_t* s) {
    return Typed(VT_BSTR, [&](VARIANT* v) { V_BSTR(v) = SysAllocString(s); });
}

Variant Variant::String(const std::string& ansi) {
    return Typed(VT_BSTR, [&](VARIANT* v) { V_BSTR(v) = AllocBstr(ansi); });
}

Variant Variant::Handle(HWND hwnd) {
#ifdef _WIN64
    return Typed(VT_I8, [&](VARIANT* v) { V_I8(v) = reinterpret_cast<LONG_PTR>(hwnd); });
#else
    return Typed(VT_I4, [&](VARIANT* v) { V_I4(v) = reinterpret_cast<LONG_PTR>(hwnd); });
#endif
}

Variant Variant::Object(IDispatch* d) {
    if (d) d->AddRef();
    return Typed(VT_DISPATCH, [&](VARIANT* v) { V_DISPATCH(v) = d; });
}

Variant Variant::Unknown(IUnknown* u) {
    if (u) u->AddRef();
    return Typed(VT_UNKNOWN, [&](VARIANT* v) { V_UNKNOWN(v) = u; });
}

Variant Variant::Error(SCODE sc) {
    return Typed(VT_ERROR, [&](VARIANT* v) { V_ERROR(v) = sc; });
}

long Variant::ToLong() const {
    return glim::ToLong(v_);
}
HWND Variant::ToHandle() const {
    return reinterpret_cast<HWND>(ToLongPtr(v_));
}
bool Variant::ToBool() const {
    return glim::ToBool(v_);
}
double Variant::ToDouble() const {
    return glim::ToDouble(v_);
}
std::string Variant::ToText() const {
    return glim::ToText(v_);
}

Variant Deref(const VARIANT& v) {
    if (V_VT(&v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&v)) return Deref(*V_VARIANTREF(&v));
    if (V_VT(&v) & VT_BYREF) {
        Variant out;
        if (FAILED(VariantCopyInd(out.get(), const_cast<VARIANT*>(&v)))) RaiseError(kErrTypeMismatch);
        return out;
    }
    return Variant(v);
}

Variant Coerce(const VARIANT& v, VARTYPE to) {
    const Variant plain = Deref(v);
    Variant out;
    const HRESULT hr = VariantChangeType(out.get(), const_cast<VARIANT*>(plain.get()), 0, to);
    if (hr == DISP_E_OVERFLOW) RaiseError(kErrOverflow);
    if (FAILED(hr)) RaiseError(kErrTypeMismatch);
    return out;
}

short ToShort(const VARIANT& v) {
    return V_I2(Coerce(v, VT_I2).get());
}
long ToLong(const VARIANT& v) {
    return V_I4(Coerce(v, VT_I4).get());
}
double ToDouble(const VARIANT& v) {
    return V_R8(Coerce(v, VT_R8).get());
}
bool ToBool(const VARIANT& v) {
    return V_BOOL(Coerce(v, VT_BOOL).get()) != VARIANT_FALSE;
}
LONG_PTR ToLongPtr(const VARIANT& v) {
#ifdef _WIN64
    return static_cast<LONG_PTR>(V_I8(Coerce(v, VT_I8).get()));
#else
    return static_cast<LONG_PTR>(V_I4(Coerce(v, VT_I4).get()));
#endif
}
std::string ToText(const VARIANT& v) {
    return NarrowBstr(V_BSTR(Coerce(v, VT_BSTR).get()));
}

} // namespace glim
