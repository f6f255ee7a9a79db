#pragma once
// The balloon tip control: a fixed 32 x 32 picture on the host form whose
// ShowTip hands title, text, icon, colours and font to the thread's one
// balloon, bound to the window under the mouse pointer.
#include "ControlBase.h"
#include "GlimFormControl.h"

#include <string>

namespace glim {

class GlimToolTip final : public Control<GlimToolTip, _GlimToolTip_Stored<GlimToolTip>> {
  public:
    static const ControlClass kClass;
    static const Binding<GlimToolTip> kBindings[];
    GlimToolTip();

    // _GlimToolTip; the properties are kept by the runtime.
    STDMETHODIMP ShowTip() override;

  protected:
    void OnInitialize() override;
    void OnResize() override;

  private:
    // The face reaches the balloon at once; the size waits for ShowTip.
    void FontChanged();

    OLE_COLOR BackColor = 0;     // base of the balloon's gradient
    ComPtr<IFontDisp> Font;      // the labels' face and size; Nothing: the default one
    OLE_COLOR FrameColor = 0;    // the balloon's outline
    std::string TipText;         // text
    std::string TitleText;       // title
    long Icon = 0;               // icon index; ShowTip takes 0 .. 3
    long Ctrl_hWnd = 0;          // the window the tip belongs to, 0 until ShowTip binds it
    OLE_COLOR TitleColor = 0;    // the title's colour
    OLE_COLOR TipColor = 0;      // the text's colour
    ComPtr<IPictureDisp> Image1; // the 32 x 32 design picture
};

} // namespace glim
