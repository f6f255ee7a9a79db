#pragma once
// The balloon tip control: a fixed 32 x 32 picture on the host form whose
// ShowTip hands title, text, icon, colours and font to the thread's one
// balloon, bound to the window under the mouse pointer.
#include "ControlBase.h"
#include "GlimFormControl.h"

namespace glim {

class GlimToolTip final : public Control<GlimToolTip, _GlimToolTip_Stored<GlimToolTip>> {
  public:
    static const ControlClass kClass;
    GlimToolTip();

    // _GlimToolTip; everything but Font and ShowTip is kept by the runtime.
    STDMETHODIMP get_Font(IFontDisp** pVal) override;
    STDMETHODIMP putref_Font(IFontDisp* New_Font) override;
    STDMETHODIMP ShowTip() override;

  protected:
    void OnInitialize() override;
    void OnResize() override;

  private:
    ComPtr<IPictureDisp> Image1; // the 32 x 32 design picture
};

} // namespace glim
