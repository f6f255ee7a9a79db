#include "ControlsEnum.h"

namespace glim::host {

ComPtr<ControlsEnum> ControlsEnum::Create(std::vector<ComPtr<IDispatch>> items) {
    return ComPtr<ControlsEnum>(new ControlsEnum(std::move(items)));
}

void* ControlsEnum::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) return static_cast<IEnumVARIANT*>(this);
    return nullptr;
}

STDMETHODIMP ControlsEnum::Next(ULONG count, VARIANT* out, ULONG* fetched) {
    if (!out) return E_POINTER;
    ULONG n = 0;
    for (; n < count && next_ < items_.size(); ++n, ++next_) {
        VariantInit(&out[n]);
        out[n].vt = VT_DISPATCH;
        out[n].pdispVal = items_[next_].get();
        if (out[n].pdispVal) out[n].pdispVal->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

STDMETHODIMP ControlsEnum::Skip(ULONG count) {
    const size_t left = items_.size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP ControlsEnum::Reset() {
    next_ = 0;
    return S_OK;
}

STDMETHODIMP ControlsEnum::Clone(IEnumVARIANT** out) {
    if (!out) return E_POINTER;
    ComPtr<ControlsEnum> copy = Create(items_);
    copy->next_ = next_;
    *out = copy.Detach();
    return S_OK;
}

} // namespace glim::host
