#pragma once
// Number conversions as hosts of the controls expect them: halves round to
// the even neighbour and values that do not fit raise overflow (error 6).
// Conversions of variants live with Variant.
#include <windows.h>
#include "ComPtr.h"

#include <oleauto.h>

#include <string>

namespace glim {

short RoundToShort(double value);
long RoundToLong(double value);

// A 32-bit value stored in a 16-bit field: overflow when it does not fit.
short ToShort(long value);

// Boolean as the controls store it: True is -1.
inline VARIANT_BOOL ToVariantBool(bool b) {
    return b ? VARIANT_TRUE : VARIANT_FALSE;
}

// The object a variant holds as interface I; Nothing when it holds none or
// the object has no such interface.
template <class I>
ComPtr<I> ObjectAs(const VARIANT& v) {
    ComPtr<I> p;
    if ((V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) && V_UNKNOWN(&v))
        V_UNKNOWN(&v)->QueryInterface(__uuidof(I), p.put_void());
    return p;
}

} // namespace glim
