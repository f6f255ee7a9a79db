#include "dispatch.h"

#include "Variant.h"

namespace glimtest {

HRESULT Invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* ei,
               UINT* argErr) {
    std::vector<VARIANT> rev(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS dp{rev.empty() ? nullptr : rev.data(), nullptr, static_cast<UINT>(rev.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dp.rgdispidNamedArgs = &put;
        dp.cNamedArgs = 1;
    }
    EXCEPINFO local{};
    UINT localArg = 0;
    const HRESULT hr =
        d->Invoke(id, IID_NULL, 0, flags, &dp, result, ei ? ei : &local, argErr ? argErr : &localArg);
    SysFreeString(local.bstrSource);
    SysFreeString(local.bstrDescription);
    SysFreeString(local.bstrHelpFile);
    return hr;
}

namespace {
// The caller owns the result.
VARIANT Detached(glim::Variant v) {
    VARIANT r;
    v.Detach(&r);
    return r;
}
} // namespace

VARIANT I2(short v) {
    return Detached(glim::Variant::Integer(v));
}

VARIANT I4(long v) {
    return Detached(glim::Variant::Long(v));
}

VARIANT R8(double v) {
    return Detached(glim::Variant::Double(v));
}

VARIANT Bool(bool v) {
    return Detached(glim::Variant::Bool(v));
}

VARIANT Text(const wchar_t* s) {
    return Detached(glim::Variant::String(s));
}

} // namespace glimtest
