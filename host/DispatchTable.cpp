#include "DispatchTable.h"

#include "Text.h"
#include "ComPtr.h"
#include "GlimError.h"
#include "RuntimeErrors.h"

#include <new>

namespace glim::host {

bool DispArgs::Has(size_t i) const {
    VARIANT* v = Raw(i);
    return v && !(v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
}

VARIANT* DispArgs::Raw(size_t i) const {
    if (i >= Count()) return nullptr;
    return &params_->rgvarg[params_->cArgs - 1 - i];
}

Variant DispArgs::Get(size_t i) const {
    VARIANT* v = Raw(i);
    if (!v) throw glim::Error(449, "Host", "Argument not optional");
    return Deref(*v);
}

void DispatchTable::AddProperty(const char* name, DISPID id, Getter get, Setter put) {
    members_.push_back({name, id, std::move(get), std::move(put), {}});
}

void DispatchTable::AddMethod(const char* name, DISPID id, Method call) {
    members_.push_back({name, id, {}, {}, std::move(call)});
}

bool DispatchTable::FindId(const wchar_t* name, DISPID* id) const {
    const std::string ansi = Narrow(name);
    for (const Member& m : members_) {
        if (SameName(m.name, ansi)) {
            *id = m.id;
            return true;
        }
    }
    return false;
}

bool DispatchTable::Has(DISPID id) const {
    return Find(id) != nullptr;
}

const DispatchTable::Member* DispatchTable::Find(DISPID id) const {
    for (const Member& m : members_)
        if (m.id == id) return &m;
    return nullptr;
}

HRESULT DispatchTable::Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* info) const {
    const Member* m = Find(id);
    if (!m) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    if (!params) params = &none;
    try {
        Variant value;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (!m->put) return DISP_E_MEMBERNOTFOUND;
            // The new value is the named argument DISPID_PROPERTYPUT, first in rgvarg.
            if (params->cArgs < 1) return DISP_E_PARAMNOTOPTIONAL;
            m->put(Deref(params->rgvarg[0]));
            return S_OK;
        }
        if (m->call && (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) {
            value = m->call(DispArgs(params));
        } else if (m->get && (flags & DISPATCH_PROPERTYGET)) {
            value = m->get();
        } else if (m->get && (flags & DISPATCH_METHOD)) {
            // Late-bound callers may read a property as a method call.
            value = m->get();
        } else {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (result) value.Detach(result);
        return S_OK;
    } catch (const glim::Error& e) {
        return ReportException(e.Number(), e.Source(), e.Description(), info);
    } catch (const std::bad_alloc&) {
        return ReportException(7, "Host", "Out of memory", info);
    } catch (...) {
        // Nothing else may cross the COM boundary.
        return E_UNEXPECTED;
    }
}

HRESULT ReportException(long number, const std::string& source, const std::string& description,
                        EXCEPINFO* info) {
    const glim::Error e(number, source, description);
    FillExcepInfo(info, e);
    const HRESULT hr = ReportError(e, GUID_NULL);
    return info ? DISP_E_EXCEPTION : hr;
}

} // namespace glim::host
