#include "TypeNameInfo.h"

#include "Text.h"

#include <ocidl.h>

namespace glim::host {

ComPtr<ITypeInfo> TypeNameInfo::Create(const std::string& name, const GUID& guid, TYPEKIND kind) {
    return ComPtr<ITypeInfo>(new TypeNameInfo(name, guid, kind));
}

void* TypeNameInfo::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_ITypeInfo) return static_cast<ITypeInfo*>(this);
    return nullptr;
}

STDMETHODIMP TypeNameInfo::GetTypeAttr(TYPEATTR** attr) {
    if (!attr) return E_POINTER;
    auto* a = new TYPEATTR{};
    a->guid = guid_;
    a->lcid = LOCALE_USER_DEFAULT;
    a->memidConstructor = MEMBERID_NIL;
    a->memidDestructor = MEMBERID_NIL;
    a->typekind = kind_;
    a->cbSizeVft = kind_ == TKIND_DISPATCH ? 7 * sizeof(void*) : 0;
    a->cbAlignment = 4;
    a->wMajorVerNum = 1;
    *attr = a;
    return S_OK;
}

STDMETHODIMP TypeNameInfo::GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
    if (max > 0 && names) {
        names[0] = AllocBstr(name_);
        *count = 1;
    }
    return S_OK;
}

STDMETHODIMP TypeNameInfo::GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                            BSTR* helpFile) {
    if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
    if (name) *name = AllocBstr(name_);
    if (doc) *doc = nullptr;
    if (context) *context = 0;
    if (helpFile) *helpFile = nullptr;
    return S_OK;
}

STDMETHODIMP TypeNameInfo::GetMops(MEMBERID, BSTR* mops) {
    if (mops) *mops = nullptr;
    return S_OK;
}

std::string NameOfTypeInfo(ITypeInfo* info) {
    if (!info) return {};
    BSTR name = nullptr;
    if (FAILED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) return {};
    std::string out = Narrow(name);
    SysFreeString(name);
    return out;
}

std::string TypeNameOf(IUnknown* object) {
    if (!object) return {};
    ComPtr<ITypeInfo> info;
    ComPtr<IUnknown> unk(object);
    if (auto pci = unk.As<IProvideClassInfo>()) pci->GetClassInfo(info.put());
    if (!info) {
        if (auto disp = unk.As<IDispatch>()) disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put());
    }
    return NameOfTypeInfo(info.get());
}

} // namespace glim::host
