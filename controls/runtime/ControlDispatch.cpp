// ControlBase: dispatch, class info and events (connection points, property
// change notices and raised events with their by-reference arguments).
#include "ControlBase.h"

#include "Text.h"

namespace glim {

// ---- class info and connection points ----

STDMETHODIMP ControlBase::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return cls_.typeInfo(*cls_.clsid, info);
}

STDMETHODIMP ControlBase::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = *cls_.eventsIid;
    return S_OK;
}

STDMETHODIMP ControlBase::EnumConnectionPoints(IEnumConnectionPoints** e) {
    return EnumPoints({&events_, &propertyNotify_}, e);
}

STDMETHODIMP ControlBase::FindConnectionPoint(REFIID iid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    if (iid == events_.Iid())
        *cp = &events_;
    else if (iid == IID_IPropertyNotifySink)
        *cp = &propertyNotify_;
    else
        return CONNECT_E_NOCONNECTION;
    (*cp)->AddRef();
    return S_OK;
}

// ---- dispatch ----

ITypeInfo* ControlBase::DualTypeInfo() {
    if (dualInfo_) return dualInfo_.get();
    ComPtr<ITypeInfo> info;
    if (!cls_.typeInfo || FAILED(cls_.typeInfo(*cls_.defaultIid, info.put())) || !info) return nullptr;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
    const TYPEKIND kind = attr->typekind;
    const WORD flags = attr->wTypeFlags;
    info->ReleaseTypeAttr(attr);
    // Invoke needs the vtable side of a dual interface.
    const int implIndex = kind == TKIND_DISPATCH && (flags & TYPEFLAG_FDUAL) ? -1
                          : kind == TKIND_COCLASS                            ? 0
                                                                             : -2;
    if (implIndex != -2) {
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> vtbl;
        if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(implIndex), &ref)) &&
            SUCCEEDED(info->GetRefTypeInfo(ref, vtbl.put())))
            info = vtbl;
    }
    dualInfo_ = info;
    return dualInfo_.get();
}

HRESULT ControlBase::DispGetTypeInfo(UINT index, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* ti = DualTypeInfo();
    if (!ti) return E_UNEXPECTED;
    ti->AddRef();
    *info = ti;
    return S_OK;
}

HRESULT ControlBase::DispGetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    ITypeInfo* ti = DualTypeInfo();
    if (!ti) return E_UNEXPECTED;
    return ::DispGetIDsOfNames(ti, names, count, ids);
}

HRESULT ControlBase::DispInvoke(void* dual, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* ei, UINT* argErr) {
    ITypeInfo* ti = DualTypeInfo();
    if (!ti) return E_UNEXPECTED;
    EXCEPINFO local{};
    EXCEPINFO* e = ei ? ei : &local;
    *e = EXCEPINFO{};
    UINT localArg = 0;
    InternalAddRef(); // a handler may drop the last outside reference
    SetErrorInfo(0, nullptr);
    HRESULT hr = ti->Invoke(dual, id, flags, params, result, e, argErr ? argErr : &localArg);
    if (FAILED(hr) && hr != DISP_E_EXCEPTION) {
        // A member that raised left its error info; callers of Invoke read EXCEPINFO.
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.put()) == S_OK && info) {
            info->GetSource(&e->bstrSource);
            info->GetDescription(&e->bstrDescription);
            e->scode = hr;
            hr = DISP_E_EXCEPTION;
        }
    } else if (hr == DISP_E_EXCEPTION && e->scode == 0 && e->wCode == 0) {
        e->scode = E_FAIL;
    }
    if (e == &local) {
        SysFreeString(local.bstrSource);
        SysFreeString(local.bstrDescription);
        SysFreeString(local.bstrHelpFile);
    }
    InternalRelease();
    return hr;
}

// ---- events ----

void ControlBase::PropertyChanged(const char* name) {
    DISPID id = DISPID_UNKNOWN;
    for (const typelib::Member& m : desc_.members)
        if (m.kind == typelib::MemberKind::Property && lstrcmpiA(m.name, name ? name : "") == 0) id = m.id;
    ITypeInfo* ti = id == DISPID_UNKNOWN ? DualTypeInfo() : nullptr;
    if (ti) {
        std::wstring w = Widen(name ? name : "");
        LPOLESTR names[] = {w.data()};
        if (FAILED(ti->GetIDsOfNames(names, 1, &id))) id = DISPID_UNKNOWN;
    }
    dirty_ = true;
    for (const ComPtr<IUnknown>& s : propertyNotify_.Sinks()) {
        ComPtr<IPropertyNotifySink> sink;
        if (SUCCEEDED(s->QueryInterface(IID_IPropertyNotifySink, sink.put_void()))) sink->OnChanged(id);
    }
}

Variant EventArg::Get() const {
    switch (vt_) {
    case VT_I2:
        return Variant::Integer(*static_cast<short*>(ref_));
    case VT_I4:
        return Variant::Long(*static_cast<long*>(ref_));
    case VT_R4:
        return Coerce(*Variant::Double(*static_cast<float*>(ref_)), VT_R4);
    case VT_R8:
        return Variant::Double(*static_cast<double*>(ref_));
    case VT_BOOL:
        return Variant::Bool(*static_cast<bool*>(ref_));
    default:
        return Variant::String(Widen(*static_cast<std::string*>(ref_)).c_str());
    }
}

void EventArg::Set(const VARIANT& v) const {
    switch (vt_) {
    case VT_I2:
        *static_cast<short*>(ref_) = ToShort(v);
        break;
    case VT_I4:
        *static_cast<long*>(ref_) = ToLong(v);
        break;
    case VT_R4:
        *static_cast<float*>(ref_) = V_R4(Coerce(v, VT_R4).get());
        break;
    case VT_R8:
        *static_cast<double*>(ref_) = ToDouble(v);
        break;
    case VT_BOOL:
        *static_cast<bool*>(ref_) = ToBool(v);
        break;
    default:
        *static_cast<std::string*>(ref_) = ToText(v);
        break;
    }
}

void ControlBase::RaiseEventArgs(DISPID id, std::span<EventArg> args) {
    const typelib::Event* ev = nullptr;
    for (const typelib::Event& e : desc_.events)
        if (e.id == id) ev = &e;
    // A control raising what it does not declare is a fault of the control.
    if (!ev || ev->params.size() != args.size()) RaiseError(kErrInvalidCall);
    if (freezeCount_ > 0) return;
    // Each argument as its declared type; by-reference ones point into these.
    std::vector<Variant> values;
    values.reserve(args.size());
    std::vector<VARIANT> passed(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        const typelib::Param& p = ev->params[i];
        const VARTYPE vt = typelib::VariantTypeOf(p.type.vt);
        values.push_back(vt == VT_VARIANT ? args[i].Get() : Coerce(*args[i].Get(), vt));
        VARIANT& a = passed[i];
        if (!p.byRef) {
            a = *values[i];
            continue;
        }
        V_VT(&a) = static_cast<VARTYPE>(vt | VT_BYREF);
        if (vt == VT_VARIANT)
            V_VARIANTREF(&a) = values[i].get();
        else
            V_BYREF(&a) = &V_UI1(values[i].get()); // every value starts where the union does
    }
    {
        Hold hold(*this, true); // a handler may drop the last outside reference
        events_.Fire(id, passed.data(), static_cast<unsigned>(passed.size()));
        for (size_t i = 0; i < args.size(); ++i)
            if (ev->params[i].byRef) args[i].Set(*values[i]);
    }
}

} // namespace glim
