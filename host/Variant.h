#pragma once
// A VARIANT that clears itself.
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace glim::host {

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    Variant(const VARIANT& v);
    Variant(const Variant& o) : Variant(o.v_) {}
    Variant(Variant&& o) noexcept;
    ~Variant() { VariantClear(&v_); }
    Variant& operator=(Variant o) noexcept;

    static Variant Long(long value);
    static Variant Bool(bool value);
    static Variant String(const std::string& ansi);
    // A window handle at pointer size (VT_I4 on 32-bit, VT_I8 on 64-bit).
    static Variant Handle(HWND hwnd);
    // Holds one counted reference to the object.
    static Variant Object(IDispatch* object);
    static Variant Unknown(IUnknown* object);

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARTYPE vt() const { return v_.vt; }

    // Converted values; glim::Error 13 (type mismatch) when no conversion exists.
    long ToLong() const;
    HWND ToHandle() const;
    bool ToBool() const;
    double ToDouble() const;
    std::string ToString() const;
    // Hands the value to an out-parameter, leaving this empty.
    void Detach(VARIANT* out);

  private:
    VARIANT v_;
};

// The value a VARIANT holds, with one level of VT_BYREF and VT_VARIANT removed.
Variant Deref(const VARIANT& v);

} // namespace glim::host
