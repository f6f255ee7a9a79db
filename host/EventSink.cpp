#include "EventSink.h"

#include "DispatchTable.h"
#include "HandlerGuard.h"

#include <ocidl.h>

namespace glim::host {

VARIANT* EventArgs::Raw(size_t i) const {
    if (i >= Count()) return nullptr;
    return &params_->rgvarg[params_->cArgs - 1 - i];
}

Variant EventArgs::Get(size_t i) const {
    VARIANT* v = Raw(i);
    return v ? Deref(*v) : Variant();
}

bool EventArgs::IsByRef(size_t i) const {
    VARIANT* v = Raw(i);
    return v && (v->vt & VT_BYREF);
}

bool EventArgs::Set(size_t i, const Variant& value) {
    VARIANT* v = Raw(i);
    if (!v || !(v->vt & VT_BYREF) || !v->byref) return false;
    const VARTYPE target = v->vt & ~VT_BYREF;
    if (target == VT_VARIANT) return SUCCEEDED(VariantCopy(v->pvarVal, const_cast<VARIANT*>(value.get())));
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(value.get()), 0, target)))
        return false;
    VARIANT* c = converted.get();
    switch (target) {
    case VT_I2:
        *v->piVal = c->iVal;
        break;
    case VT_I4:
        *v->plVal = c->lVal;
        break;
    case VT_R4:
        *v->pfltVal = c->fltVal;
        break;
    case VT_R8:
        *v->pdblVal = c->dblVal;
        break;
    case VT_BOOL:
        *v->pboolVal = c->boolVal;
        break;
    case VT_UI1:
        *v->pbVal = c->bVal;
        break;
    case VT_CY:
        *v->pcyVal = c->cyVal;
        break;
    case VT_DATE:
        *v->pdate = c->date;
        break;
    case VT_BSTR:
        SysFreeString(*v->pbstrVal);
        *v->pbstrVal = c->bstrVal;
        c->vt = VT_EMPTY; // the string now belongs to the caller's variable
        break;
    default:
        return false;
    }
    return true;
}

ComPtr<EventSink> EventSink::Create() {
    return ComPtr<EventSink>(new EventSink());
}

EventSink::~EventSink() {
    Disconnect();
}

void* EventSink::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || (iid == source_ && source_ != IID_NULL))
        return static_cast<IDispatch*>(this);
    return nullptr;
}

bool EventSink::Connect(IUnknown* control) {
    Disconnect();
    ComPtr<IUnknown> unk(control);
    auto info = unk.As<IProvideClassInfo2>();
    if (!info) return false;
    IID iid{};
    if (FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid))) return false;
    auto container = unk.As<IConnectionPointContainer>();
    if (!container) return false;
    ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(iid, point.put()))) return false;
    source_ = iid;
    DWORD cookie = 0;
    if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie))) {
        source_ = IID_NULL;
        return false;
    }
    point_ = point;
    cookie_ = cookie;
    return true;
}

void EventSink::Disconnect() {
    if (point_ && cookie_) point_->Unadvise(cookie_);
    point_.reset();
    cookie_ = 0;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                               UINT*) {
    if (result) VariantInit(result);
    EventArgs args(params);
    // Handlers may destroy forms and with them this sink's last owner.
    ComPtr<EventSink> keep(this);
    if (observer_) observer_->EventRaising(id, args);
    auto it = handlers_.find(id);
    if (it != handlers_.end()) {
        // A copy: the handler may replace itself.  What it throws is shown
        // here; the control raising the event has nothing to do with it.
        Handler handler = it->second;
        RunHandler([&] { handler(args); });
    }
    if (observer_) observer_->EventRaised(id, args);
    return S_OK;
}

} // namespace glim::host
