#pragma once
// An owned VARIANT, cleared with the owner, and the conversions hosts expect:
// a value that does not fit raises overflow (6), one that cannot become the
// wanted type raises type mismatch (13).
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace glim {

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    Variant(const VARIANT& v) {
        VariantInit(&v_);
        VariantCopy(&v_, const_cast<VARIANT*>(&v));
    }
    Variant(const Variant& o) : Variant(o.v_) {}
    Variant(Variant&& o) noexcept {
        v_ = o.v_;
        VariantInit(&o.v_);
    }
    Variant& operator=(Variant o) noexcept {
        std::swap(v_, o.v_);
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    static Variant Integer(short n);
    static Variant Long(long n);
    static Variant Double(double d);
    static Variant Bool(bool b);
    static Variant String(const wchar_t* s);
    // From the system code page, embedded zeros included.
    static Variant String(const std::string& ansi);
    // A window handle at pointer size (VT_I4 on 32-bit, VT_I8 on 64-bit).
    static Variant Handle(HWND hwnd);
    // Each takes one reference of its own.
    static Variant Object(IDispatch* d);
    static Variant Unknown(IUnknown* u);
    // A missing optional argument by default.
    static Variant Error(SCODE sc = DISP_E_PARAMNOTFOUND);

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT& operator*() { return v_; }
    const VARIANT& operator*() const { return v_; }
    VARIANT* operator&() { return &v_; }
    VARTYPE vt() const { return V_VT(&v_); }
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }
    // Moves the content into a caller's VARIANT (which must be empty).
    void Detach(VARIANT* out) {
        *out = v_;
        VariantInit(&v_);
    }

    long ToLong() const;
    HWND ToHandle() const;
    bool ToBool() const;
    double ToDouble() const;
    std::string ToText() const;

  private:
    VARIANT v_;
};

// The value a VARIANT holds, with every level of VT_BYREF and VT_VARIANT removed.
Variant Deref(const VARIANT& v);
// v as the variant type to (6 or 13 when it cannot be).
Variant Coerce(const VARIANT& v, VARTYPE to);
short ToShort(const VARIANT& v);
long ToLong(const VARIANT& v);
double ToDouble(const VARIANT& v);
bool ToBool(const VARIANT& v);
std::string ToText(const VARIANT& v);
// A handle-sized integer (window handles travel as 32- or 64-bit numbers).
LONG_PTR ToLongPtr(const VARIANT& v);

} // namespace glim
