#pragma once
// A control that passes for an option button (it answers to GlimOption's
// interface) but refuses every put of Value: the member of a group that fails.
#include "ControlBase.h"
#include "GlimFormControl.h"

#include <string>

namespace toggletest {

class RefusingOption final : public glim::Control<RefusingOption, _GlimOption> {
  public:
    // Serves the class from this thread until Revoke; its "{CLSID}" text.
    static void Register();
    static void Revoke();
    static std::string ClsidText();

    STDMETHODIMP get_Enabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Enabled(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Value(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_Value(VARIANT_BOOL New_Value) override;
    STDMETHODIMP get_Caption(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Caption(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_Font(IFontDisp**) override { return E_NOTIMPL; }
    STDMETHODIMP putref_Font(IFontDisp*) override { return E_NOTIMPL; }
    STDMETHODIMP get_BackColor(OLE_COLOR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_BackColor(OLE_COLOR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ForeColor(OLE_COLOR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ForeColor(OLE_COLOR) override { return E_NOTIMPL; }
    STDMETHODIMP get_Style(MnuStyle*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Style(MnuStyle) override { return E_NOTIMPL; }

    static inline int putsRefused = 0; // puts of Value seen, all refused

  private:
    friend class glim::Control<RefusingOption, _GlimOption>;
    RefusingOption();
};

} // namespace toggletest
