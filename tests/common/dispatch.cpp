#include "dispatch.h"

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
// A variant of the type, its value still to be set.
VARIANT Typed(VARTYPE vt) {
    VARIANT r;
    VariantInit(&r);
    V_VT(&r) = vt;
    return r;
}
} // namespace

VARIANT I2(short v) {
    VARIANT r = Typed(VT_I2);
    V_I2(&r) = v;
    return r;
}

VARIANT I4(long v) {
    VARIANT r = Typed(VT_I4);
    V_I4(&r) = v;
    return r;
}

VARIANT R8(double v) {
    VARIANT r = Typed(VT_R8);
    V_R8(&r) = v;
    return r;
}

VARIANT Bool(bool v) {
    VARIANT r = Typed(VT_BOOL);
    V_BOOL(&r) = v ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
}

VARIANT Text(const wchar_t* s) {
    VARIANT r = Typed(VT_BSTR);
    V_BSTR(&r) = SysAllocString(s);
    return r;
}

} // namespace glimtest
