#pragma once
// IDispatch and IProvideClassInfo over a DispatchTable, for the host's own
// automation objects.  A derived class may answer names and identifiers the
// table lacks (the extender forwards them to its control).
#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchTable.h"

#include <ocidl.h>

namespace glim::host {

template <class Derived, class... I>
class DispatchObject : public ComObject<Derived, IDispatch, IProvideClassInfo, I...> {
  public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        *info = TypeInfo().Detach();
        return *info ? S_OK : E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_POINTER;
        HRESULT hr = S_OK;
        if (!table_.FindId(names[0], &ids[0])) hr = MoreIds(names[0], &ids[0]);
        // Named arguments are not supported: their names stay unknown.
        for (UINT i = 1; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* info, UINT*) override {
        if (result) VariantInit(result);
        // Keeps the object alive when a member closes what owns it.
        ComPtr<IDispatch> keep(static_cast<IDispatch*>(this));
        if (table_.Has(id)) return table_.Invoke(id, flags, params, result, info);
        return MoreInvoke(id, flags, params, result, info);
    }
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = TypeInfo().Detach();
        return *info ? S_OK : E_NOTIMPL;
    }

  protected:
    void* FindDispatch(REFIID iid) {
        if (iid == IID_IUnknown || iid == IID_IDispatch) return static_cast<IDispatch*>(this);
        if (iid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo*>(this);
        return nullptr;
    }
    virtual ComPtr<ITypeInfo> TypeInfo() = 0;
    virtual HRESULT MoreIds(LPOLESTR, DISPID* id) {
        *id = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    virtual HRESULT MoreInvoke(DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*) {
        return DISP_E_MEMBERNOTFOUND;
    }

    DispatchTable table_;
};

} // namespace glim::host
