#include "LateBound.h"

#include "Text.h"
#include "GlimError.h"

namespace glim::host {

namespace {
Variant InvokeRaw(IDispatch* object, DISPID id, WORD flags, const std::vector<Variant>& args,
                  const Variant* value) {
    if (!object) throw glim::Error(91, "Host", "Object variable or With block variable not set");
    std::vector<VARIANT> raw;
    // DISPPARAMS takes the arguments last first; a put value comes first of all.
    if (value) raw.push_back(*value->get());
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        raw.push_back(*it->get());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{raw.data(), value ? &named : nullptr, static_cast<UINT>(raw.size()), value ? 1u : 0u};
    Variant result;
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr =
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.get(), &info, &argErr);
    if (hr == DISP_E_EXCEPTION) {
        if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
        const HRESULT code = info.scode ? info.scode : static_cast<HRESULT>(0x800A0000u | info.wCode);
        std::string source = Narrow(info.bstrSource), text = Narrow(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        // Run-time errors travel as 0x800A0000 + n; give back n.
        const long number =
            (static_cast<unsigned long>(code) & 0xFFFF0000u) == 0x800A0000u ? (code & 0xFFFF) : code;
        throw glim::Error(number, source, text);
    }
    if (FAILED(hr)) {
        const long number =
            (static_cast<unsigned long>(hr) & 0xFFFF0000u) == 0x800A0000u ? (hr & 0xFFFF) : hr;
        throw glim::Error(number, "Host", "Automation error");
    }
    return result;
}
} // namespace

DISPID IdOfName(IDispatch* object, const std::string& name) {
    if (!object) throw glim::Error(91, "Host", "Object variable or With block variable not set");
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        throw glim::Error(438, "Host", "Object doesn't support this property or method: " + name);
    return id;
}

bool HasMember(IDispatch* object, const std::string& name) {
    if (!object) return false;
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

Variant GetProperty(IDispatch* object, DISPID id, const std::vector<Variant>& args) {
    return InvokeRaw(object, id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr);
}

Variant GetProperty(IDispatch* object, const std::string& name, const std::vector<Variant>& args) {
    return GetProperty(object, IdOfName(object, name), args);
}

void PutProperty(IDispatch* object, DISPID id, const Variant& value) {
    const VARTYPE vt = value.vt();
    const WORD flags = vt == VT_DISPATCH || vt == VT_UNKNOWN ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    InvokeRaw(object, id, flags, {}, &value);
}

void PutProperty(IDispatch* object, const std::string& name, const Variant& value) {
    PutProperty(object, IdOfName(object, name), value);
}

Variant CallMethod(IDispatch* object, DISPID id, const std::vector<Variant>& args) {
    return InvokeRaw(object, id, DISPATCH_METHOD, args, nullptr);
}

Variant CallMethod(IDispatch* object, const std::string& name, const std::vector<Variant>& args) {
    return CallMethod(object, IdOfName(object, name), args);
}

} // namespace glim::host
