#include "Conversions.h"

#include "RuntimeErrors.h"

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

} // namespace glim
