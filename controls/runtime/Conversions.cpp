#include "Conversions.h"

#include "ComPtr.h"
#include "RuntimeErrors.h"
#include "Text.h"

#include <cfenv>
#include <cmath>

namespace glim {

namespace {

double RoundHalfEven(double value) {
    if (std::isnan(value)) RaiseError(kErrOverflow);
    // nearbyint follows the current mode; force ties-to-even for this call.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(mode);
    return r;
}

} // namespace

Variant Coerce(const VARIANT& v, VARTYPE to) {
    Variant out;
    const HRESULT hr = VariantChangeType(out.get(), const_cast<VARIANT*>(&v), 0, to);
    if (hr == DISP_E_OVERFLOW) RaiseError(kErrOverflow);
    if (FAILED(hr)) RaiseError(kErrTypeMismatch);
    return out;
}

short RoundToShort(double value) {
    const double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0) RaiseError(kErrOverflow);
    return static_cast<short>(r);
}

long RoundToLong(double value) {
    const double r = RoundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0) RaiseError(kErrOverflow);
    return static_cast<long>(r);
}

short ToShort(long value) {
    if (value < -32768 || value > 32767) RaiseError(kErrOverflow);
    return static_cast<short>(value);
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
