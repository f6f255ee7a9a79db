#include "RefusingOption.h"

#include "ServedClass.h"

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

glimtest::ServedClass& Served() {
    static glimtest::ServedClass served(kClass);
    return served;
}

} // namespace

RefusingOption::RefusingOption() : Control(kClass) {}

void RefusingOption::Register() {
    Served().Register();
}

void RefusingOption::Revoke() {
    Served().Revoke();
}

std::string RefusingOption::ClsidText() {
    return glimtest::ClsidText(kRefusingOption);
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
