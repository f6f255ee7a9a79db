#pragma once
// The design-time property pages the type library lists.  They have no
// behaviour of their own: a designer can show them, and nothing changes.
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "ComObject.h"
#include "ComPtr.h"
#include "Handles.h"

namespace glim {

struct PropertyPageClass {
    const char* name;   // the page's title and class name
    const CLSID* clsid; // fixed by the type library
};

// Every page the library serves.
const PropertyPageClass* FindPropertyPageClass(REFCLSID clsid);
const PropertyPageClass* const* PropertyPageClasses(size_t& count);
// A class object for a page; CLASS_E_CLASSNOTAVAILABLE for other identifiers.
HRESULT GetPropertyPageClassObject(REFCLSID clsid, REFIID iid, void** ppv);

class PropertyPage final : public ComObject<PropertyPage, IPropertyPage> {
  public:
    explicit PropertyPage(const PropertyPageClass& cls);

    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IPropertyPage ? static_cast<IPropertyPage*>(this) : nullptr;
    }

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT cmdShow) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return S_FALSE; }
    STDMETHODIMP Apply() override { return S_OK; }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

  private:
    ~PropertyPage() override;

    const PropertyPageClass& cls_;
    ComPtr<IPropertyPageSite> site_; // the frame showing the page
    OwnedWindow window_;             // the empty page, while active
};

} // namespace glim
