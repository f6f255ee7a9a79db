#include "Variant.h"

#include "Text.h"
#include "GlimError.h"

#include <utility>

namespace glim::host {

namespace {
Variant Converted(const VARIANT& from, VARTYPE to) {
    Variant out;
    const Variant plain = Deref(from);
    if (FAILED(VariantChangeType(out.get(), const_cast<VARIANT*>(plain.get()), 0, to)))
        throw glim::Error(13, "Host", "Type mismatch");
    return out;
}
} // namespace

Variant::Variant(const VARIANT& v) {
    VariantInit(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&v));
}

Variant::Variant(Variant&& o) noexcept : v_(o.v_) {
    VariantInit(&o.v_);
}

Variant& Variant::operator=(Variant o) noexcept {
    std::swap(v_, o.v_);
    return *this;
}

Variant Variant::Long(long value) {
    Variant r;
    r.v_.vt = VT_I4;
    r.v_.lVal = value;
    return r;
}

Variant Variant::Bool(bool value) {
    Variant r;
    r.v_.vt = VT_BOOL;
    r.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
}

Variant Variant::String(const std::string& ansi) {
    Variant r;
    r.v_.vt = VT_BSTR;
    r.v_.bstrVal = AllocBstr(ansi);
    return r;
}

Variant Variant::Handle(HWND hwnd) {
    Variant r;
#ifdef _WIN64
    r.v_.vt = VT_I8;
    r.v_.llVal = reinterpret_cast<LONG_PTR>(hwnd);
#else
    r.v_.vt = VT_I4;
    r.v_.lVal = reinterpret_cast<LONG_PTR>(hwnd);
#endif
    return r;
}

Variant Variant::Object(IDispatch* object) {
    Variant r;
    r.v_.vt = VT_DISPATCH;
    r.v_.pdispVal = object;
    if (object) object->AddRef();
    return r;
}

Variant Variant::Unknown(IUnknown* object) {
    Variant r;
    r.v_.vt = VT_UNKNOWN;
    r.v_.punkVal = object;
    if (object) object->AddRef();
    return r;
}

long Variant::ToLong() const {
    return Converted(v_, VT_I4).v_.lVal;
}

HWND Variant::ToHandle() const {
#ifdef _WIN64
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Converted(v_, VT_I8).v_.llVal));
#else
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Converted(v_, VT_I4).v_.lVal));
#endif
}

bool Variant::ToBool() const {
    return Converted(v_, VT_BOOL).v_.boolVal != VARIANT_FALSE;
}

double Variant::ToDouble() const {
    return Converted(v_, VT_R8).v_.dblVal;
}

std::string Variant::ToString() const {
    return Narrow(Converted(v_, VT_BSTR).v_.bstrVal);
}

void Variant::Detach(VARIANT* out) {
    *out = v_;
    VariantInit(&v_);
}

Variant Deref(const VARIANT& v) {
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return Deref(*v.pvarVal);
    if (v.vt & VT_BYREF) {
        Variant out;
        if (FAILED(VariantCopyInd(out.get(), const_cast<VARIANT*>(&v))))
            throw glim::Error(13, "Host", "Type mismatch");
        return out;
    }
    return Variant(v);
}

} // namespace glim::host
