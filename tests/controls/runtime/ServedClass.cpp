#include "ServedClass.h"

#include "ControlBase.h"
#include "Text.h"

namespace glimtest {

std::string ClsidText(const CLSID& clsid) {
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    return glim::Narrow(text);
}

void ServedClass::Register() {
    if (!cookie_)
        CoRegisterClassObject(*cls_.clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

void ServedClass::Revoke() {
    if (cookie_) CoRevokeClassObject(cookie_);
    cookie_ = 0;
}

STDMETHODIMP ServedClass::CreateInstance(IUnknown* outer, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    glim::ControlBase* c = cls_.create();
    // The first reference taken here; a failed query ends the instance.
    c->Unknown()->AddRef();
    const HRESULT hr = c->Unknown()->QueryInterface(iid, ppv);
    c->Unknown()->Release();
    return hr;
}

} // namespace glimtest
