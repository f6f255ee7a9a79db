#include "Variant.h"

#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

Variant Variant::Integer(short n) {
    Variant r;
    V_VT(&r.v_) = VT_I2;
    V_I2(&r.v_) = n;
    return r;
}

Variant Variant::Long(long n) {
    Variant r;
    V_VT(&r.v_) = VT_I4;
    V_I4(&r.v_) = n;
    return r;
}

Variant Variant::Double(double d) {
    Variant r;
    V_VT(&r.v_) = VT_R8;
    V_R8(&r.v_) = d;
    return r;
}

Variant Variant::Bool(bool b) {
    Variant r;
    V_VT(&r.v_) = VT_BOOL;
    V_BOOL(&r.v_) = b ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
}

Variant Variant::String(const wchar_t* s) {
    Variant r;
    V_VT(&r.v_) = VT_BSTR;
    V_BSTR(&r.v_) = SysAllocString(s);
    return r;
}

Variant Variant::String(const std::string& ansi) {
    Variant r;
    V_VT(&r.v_) = VT_BSTR;
    V_BSTR(&r.v_) = AllocBstr(ansi);
    return r;
}

Variant Variant::Handle(HWND hwnd) {
    Variant r;
#ifdef _WIN64
    V_VT(&r.v_) = VT_I8;
    V_I8(&r.v_) = reinterpret_cast<LONG_PTR>(hwnd);
#else
    V_VT(&r.v_) = VT_I4;
    V_I4(&r.v_) = reinterpret_cast<LONG_PTR>(hwnd);
#endif
    return r;
}

Variant Variant::Object(IDispatch* d) {
    Variant r;
    V_VT(&r.v_) = VT_DISPATCH;
    V_DISPATCH(&r.v_) = d;
    if (d) d->AddRef();
    return r;
}

Variant Variant::Unknown(IUnknown* u) {
    Variant r;
    V_VT(&r.v_) = VT_UNKNOWN;
    V_UNKNOWN(&r.v_) = u;
    if (u) u->AddRef();
    return r;
}

Variant Variant::Error(SCODE sc) {
    Variant r;
    V_VT(&r.v_) = VT_ERROR;
    V_ERROR(&r.v_) = sc;
    return r;
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
