#pragma once
// A type description that carries only a name, a GUID and a kind: enough for
// a caller asking an object what type it is (GetDocumentation of
// MEMBERID_NIL, GetTypeAttr) without a type library behind it.
#include "ComObject.h"
#include "ComPtr.h"

#include <oaidl.h>
#include <string>

namespace glim::host {

class TypeNameInfo : public ComObject<TypeNameInfo, ITypeInfo> {
  public:
    static ComPtr<ITypeInfo> Create(const std::string& name, const GUID& guid, TYPEKIND kind);
    void* Find(REFIID iid);

    STDMETHODIMP GetTypeAttr(TYPEATTR** attr) override;
    STDMETHODIMP GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFuncDesc(UINT, FUNCDESC**) override { return TYPE_E_ELEMENTNOTFOUND; }
    STDMETHODIMP GetVarDesc(UINT, VARDESC**) override { return TYPE_E_ELEMENTNOTFOUND; }
    STDMETHODIMP GetNames(MEMBERID, BSTR*, UINT, UINT* count) override;
    STDMETHODIMP GetRefTypeOfImplType(UINT, HREFTYPE*) override { return TYPE_E_ELEMENTNOTFOUND; }
    STDMETHODIMP GetImplTypeFlags(UINT, INT*) override { return TYPE_E_ELEMENTNOTFOUND; }
    STDMETHODIMP GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                  BSTR* helpFile) override;
    STDMETHODIMP GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
        return TYPE_E_BADMODULEKIND;
    }
    STDMETHODIMP GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return TYPE_E_ELEMENTNOTFOUND; }
    STDMETHODIMP AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return TYPE_E_BADMODULEKIND; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMops(MEMBERID, BSTR* mops) override;
    STDMETHODIMP GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP_(void) ReleaseTypeAttr(TYPEATTR* attr) override { delete attr; }
    STDMETHODIMP_(void) ReleaseFuncDesc(FUNCDESC*) override {}
    STDMETHODIMP_(void) ReleaseVarDesc(VARDESC*) override {}

  private:
    TypeNameInfo(std::string name, const GUID& guid, TYPEKIND kind)
        : name_(std::move(name)), guid_(guid), kind_(kind) {}
    std::string name_; // the type's name, ANSI
    GUID guid_;        // its identifier (GUID_NULL for host-made types)
    TYPEKIND kind_;    // coclass or dispinterface
};

// The name of the type an object reports through IProvideClassInfo or
// IDispatch::GetTypeInfo; empty when it reports none.
std::string TypeNameOf(IUnknown* object);
std::string NameOfTypeInfo(ITypeInfo* info);

} // namespace glim::host
