#include "LateBound.h"

#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

namespace {

HRESULT LookUpId(IDispatch* obj, const std::string& name, DISPID* id) {
    std::wstring w = Widen(name);
    LPOLESTR names[] = {w.data()};
    *id = DISPID_UNKNOWN;
    return obj->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

// Arguments in written order; a put value travels as the named argument
// DISPID_PROPERTYPUT, first of all.
Variant Invoke(IDispatch* obj, DISPID id, WORD flags, const std::vector<Variant>& args,
               const Variant* value) {
    if (!obj) RaiseError(kErrObjectNotSet);
    std::vector<VARIANT> raw;
    if (value) raw.push_back(**value);
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        raw.push_back(**it);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS dp{raw.empty() ? nullptr : raw.data(), value ? &named : nullptr, static_cast<UINT>(raw.size()),
                  value ? 1u : 0u};
    Variant result;
    EXCEPINFO ei{};
    UINT argErr = 0;
    const HRESULT hr = obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp,
                                   value ? nullptr : result.get(), &ei, &argErr);
    if (FAILED(hr)) {
        if (ei.pfnDeferredFillIn) {
            ei.pfnDeferredFillIn(&ei);
            ei.pfnDeferredFillIn = nullptr;
        }
        const Error e = ErrorFromCom(hr, &ei);
        SysFreeString(ei.bstrSource);
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrHelpFile);
        throw e;
    }
    return result;
}

} // namespace

DISPID DispIdOf(IDispatch* obj, const std::string& name) {
    if (!obj) RaiseError(kErrObjectNotSet);
    DISPID id;
    if (FAILED(LookUpId(obj, name, &id))) RaiseError(kErrNotSupported);
    return id;
}

bool HasMember(IDispatch* obj, const std::string& name) {
    DISPID id;
    return obj && SUCCEEDED(LookUpId(obj, name, &id));
}

Variant GetProperty(IDispatch* obj, DISPID id, const std::vector<Variant>& args) {
    return Invoke(obj, id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr);
}

Variant GetProperty(IDispatch* obj, const std::string& name, const std::vector<Variant>& args) {
    return GetProperty(obj, DispIdOf(obj, name), args);
}

void PutProperty(IDispatch* obj, DISPID id, const Variant& value) {
    if (value.vt() != VT_DISPATCH && value.vt() != VT_UNKNOWN) {
        Invoke(obj, id, DISPATCH_PROPERTYPUT, {}, &value);
        return;
    }
    // An object goes to whichever of put and put-by-reference the target has;
    // a target that refuses the pair is asked for put-by-reference alone.
    try {
        Invoke(obj, id, DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF, {}, &value);
    } catch (const Error& first) {
        try {
            Invoke(obj, id, DISPATCH_PROPERTYPUTREF, {}, &value);
        } catch (const Error&) {
            throw first;
        }
    }
}

void PutProperty(IDispatch* obj, const std::string& name, const Variant& value) {
    PutProperty(obj, DispIdOf(obj, name), value);
}

Variant CallMethod(IDispatch* obj, DISPID id, const std::vector<Variant>& args) {
    return Invoke(obj, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr);
}

Variant CallMethod(IDispatch* obj, const std::string& name, const std::vector<Variant>& args) {
    return CallMethod(obj, DispIdOf(obj, name), args);
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
    Variant enumVar = GetProperty(collection, DISPID_NEWENUM);
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
