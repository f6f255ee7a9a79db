#pragma once
// The frame-skinning control: a fixed 32 x 32 picture on the host form with
// window utilities that act on that form at once.
#include "ControlBase.h"
#include "GlimFormControl.h"
#include "GlimFormSkin.h"

namespace glim {

class GlimForm final : public Control<GlimForm, _GlimForm_Stored<GlimForm>> {
  public:
    static const ControlClass kClass;
    static const Binding<GlimForm> kBindings[];
    GlimForm();

    // _GlimForm; TmpColor and MnuStyleIdx are kept by the runtime.
    STDMETHODIMP LoadSkin(short* idx, VARIANT* pRetVal) override;
    STDMETHODIMP SkinFormFile(BSTR* MainPicFileName, BSTR* BorderPicName, VARIANT* pRetVal) override;
    STDMETHODIMP CloseSkin(VARIANT* pRetVal) override;
    STDMETHODIMP MiniSize(VARIANT_BOOL* SetMiniSize, VARIANT* pRetVal) override;
    STDMETHODIMP AddToTry(IDispatch** Menu, BSTR* ToolTip, VARIANT* pRetVal) override;
    STDMETHODIMP UnloadTryIcon(VARIANT* pRetVal) override;
    STDMETHODIMP SetWindowOnTop(VARIANT_BOOL* SetOntop, VARIANT* pRetVal) override;
    STDMETHODIMP DoRndForm(VARIANT* pRetVal) override;
    STDMETHODIMP AutoSkinControl(VARIANT* pRetVal) override;

  protected:
    void OnInitialize() override;
    void OnResize() override;

  private:
    HWND FormWindow() const;

    long TmpColor = 0;     // a public field of no use to the control
    short MnuStyleIdx = 0; // the skin LoadSkin and AutoSkinControl hand on
    long savedWidth = 0;   // host form size stored by MiniSize(True), twips
    long savedHeight = 0;
    bool sizeSaved = false;        // savedWidth/savedHeight hold a real size
    bool shrunk = false;           // the form is at the small size MiniSize(True) gave it
    ComPtr<IPictureDisp> picture1; // the 32 x 32 design picture
    GlimFormSkin skin;             // the frame painter and the pictures of pc and Pb
};

} // namespace glim
