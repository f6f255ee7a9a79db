#include "RefusingOption.h"

#include "ComObject.h"

namespace toggletest {

namespace {

// Only this process serves it.
constexpr CLSID kRefusingOption = {
    0x7c3e52d1, 0x8a4f, 0x4c2b, {0x91, 0x0e, 0x5d, 0x21, 0x6b, 0x33, 0xa0, 0x17}};

HRESULT TypeInfo(REFGUID guid, ITypeInfo** info) {
    return glim::ModuleTypeInfo(IsEqualGUID(guid, kRefusingOption) ? CLSID_GlimOption : guid, info);
}

const glim::ControlClass kClass{
    "GlimOption",
    &kRefusingOption,
    &IID__GlimOption,
    &DIID___GlimOption,
    0,
    SIZE{60, 16},
    &TypeInfo,
    &RefusingOption::CreateInstance,
};

// A static object: COM's references do not own it.
class Factory final : public glim::UncountedComObject<Factory, IClassFactory> {
  public:
    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        glim::ControlBase* c = kClass.create();
        c->Unknown()->AddRef();
        const HRESULT hr = c->Unknown()->QueryInterface(iid, ppv);
        c->Unknown()->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
    DWORD cookie = 0;
} gFactory;

} // namespace

RefusingOption::RefusingOption() : Control(kClass) {}

void RefusingOption::Register() {
    if (!gFactory.cookie)
        CoRegisterClassObject(kRefusingOption, &gFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                              &gFactory.cookie);
}

void RefusingOption::Revoke() {
    if (gFactory.cookie) CoRevokeClassObject(gFactory.cookie);
    gFactory.cookie = 0;
}

std::string RefusingOption::ClsidText() {
    wchar_t text[64] = {};
    StringFromGUID2(kRefusingOption, text, 64);
    char ansi[64] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

STDMETHODIMP RefusingOption::get_Value(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP RefusingOption::put_Value(VARIANT_BOOL) {
    ++putsRefused;
    return Member([] { glim::RaiseError(glim::kErrInvalidPropertyValue); });
}

} // namespace toggletest
