#include "LateBound.h"

#include "RuntimeErrors.h"
#include "Text.h"

#include <algorithm>

namespace glim {

DISPID DispIdOf(IDispatch* obj, const std::string& name) {
    if (!obj) RaiseError(kErrObjectNotSet);
    std::wstring w = Widen(name);
    LPOLESTR names[] = {w.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(obj->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        RaiseError(kErrNotSupported);
    return id;
}

Variant InvokeById(IDispatch* obj, DISPID id, WORD flags, std::vector<VARIANT> args) {
    if (!obj) RaiseError(kErrObjectNotSet);
    std::reverse(args.begin(), args.end());
    DISPPARAMS dp{};
    dp.cArgs = static_cast<UINT>(args.size());
    dp.rgvarg = args.empty() ? nullptr : args.data();
    DISPID named = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dp.cNamedArgs = 1;
        dp.rgdispidNamedArgs = &named;
    }
    Variant result;
    EXCEPINFO ei{};
    UINT argErr = 0;
    const HRESULT hr = obj->Invoke(
        id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp,
        (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? nullptr : result.get(), &ei, &argErr);
    if (FAILED(hr)) {
        Error e = ErrorFromCom(hr, &ei);
        SysFreeString(ei.bstrSource);
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrHelpFile);
        throw e;
    }
    return result;
}

Variant GetProperty(IDispatch* obj, DISPID id) {
    return InvokeById(obj, id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
}

Variant GetProperty(IDispatch* obj, const std::string& name) {
    return GetProperty(obj, DispIdOf(obj, name));
}

void PutProperty(IDispatch* obj, DISPID id, const VARIANT& value) {
    // Objects are assigned by reference when the target only takes references.
    const WORD flags = (V_VT(&value) == VT_DISPATCH) ? (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)
                                                     : DISPATCH_PROPERTYPUT;
    try {
        InvokeById(obj, id, flags, {value});
    } catch (const Error&) {
        if (flags == DISPATCH_PROPERTYPUT) throw;
        InvokeById(obj, id, DISPATCH_PROPERTYPUTREF, {value});
    }
}

void PutProperty(IDispatch* obj, const std::string& name, const VARIANT& value) {
    PutProperty(obj, DispIdOf(obj, name), value);
}

Variant CallMethod(IDispatch* obj, const std::string& name, std::vector<VARIANT> args) {
    return InvokeById(obj, DispIdOf(obj, name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args));
}

std::string TypeName(IDispatch* obj) {
    if (!obj) return "Nothing";
    ComPtr<ITypeInfo> info;
    Bstr name;
    if (FAILED(obj->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) || !info ||
        FAILED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr)))
        return "Object";
    std::string n = NarrowBstr(name.get());
    if (n.size() > 1 && n[0] == '_') n.erase(0, 1);
    return n;
}

ComPtr<IDispatch> ObjectOf(const VARIANT& v) {
    const VARIANT* p = &v;
    while (V_VT(p) == (VT_VARIANT | VT_BYREF))
        p = V_VARIANTREF(p);
    ComPtr<IDispatch> d;
    switch (V_VT(p)) {
    case VT_DISPATCH:
        d = V_DISPATCH(p);
        break;
    case VT_DISPATCH | VT_BYREF:
        d = *V_DISPATCHREF(p);
        break;
    case VT_UNKNOWN:
        if (V_UNKNOWN(p))
            V_UNKNOWN(p)->QueryInterface(IID_IDispatch, d.put_void());
        else
            RaiseError(kErrObjectNotSet);
        if (!d) RaiseError(kErrTypeMismatch);
        break;
    case VT_EMPTY:
    case VT_NULL:
        RaiseError(kErrObjectNotSet);
    default:
        RaiseError(kErrTypeMismatch);
    }
    if (!d) RaiseError(kErrObjectNotSet);
    return d;
}

std::vector<ComPtr<IDispatch>> CollectionItems(IDispatch* collection) {
    Variant enumVar = InvokeById(collection, DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
    ComPtr<IEnumVARIANT> items;
    if ((enumVar.vt() != VT_UNKNOWN && enumVar.vt() != VT_DISPATCH) || !V_UNKNOWN(enumVar.get()) ||
        FAILED(V_UNKNOWN(enumVar.get())->QueryInterface(IID_IEnumVARIANT, items.put_void())))
        RaiseError(kErrNotSupported);
    std::vector<ComPtr<IDispatch>> out;
    Variant item;
    ULONG fetched = 0;
    while (items->Next(1, item.put(), &fetched) == S_OK && fetched == 1)
        out.push_back(ObjectOf(*item));
    return out;
}

} // namespace glim
