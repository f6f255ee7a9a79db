#pragma once
// Number conversions as hosts of the controls expect them: halves round to
// the even neighbour, values that do not fit raise overflow (error 6), and
// variants that cannot become the wanted type raise type mismatch (13).
#include <windows.h>
#include "ComPtr.h"

#include <oleauto.h>

#include <string>

namespace glim {

short RoundToShort(double value);
long RoundToLong(double value);

// v as the variant type to (6 or 13 when it cannot be).
Variant Coerce(const VARIANT& v, VARTYPE to);
short ToShort(const VARIANT& v);
// A 32-bit value stored in a 16-bit field: overflow when it does not fit.
short ToShort(long value);
long ToLong(const VARIANT& v);
double ToDouble(const VARIANT& v);
bool ToBool(const VARIANT& v);
std::string ToText(const VARIANT& v);
// A handle-sized integer (window handles travel as 32- or 64-bit numbers).
LONG_PTR ToLongPtr(const VARIANT& v);

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
