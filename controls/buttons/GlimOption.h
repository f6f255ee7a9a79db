#pragma once
// The skinned option button: a 13 x 13 glyph cut from one of 24 sheets, with
// its caption to the right.  A click clears every option of the form, in
// whatever frame or panel, then sets itself: one group per form.
#include "ConstituentImage.h"
#include "ToggleControl.h"

namespace glim {

class GlimOption final : public ToggleControl<GlimOption, _GlimOption_Stored<GlimOption>> {
  public:
    static const ControlClass kClass;
    static const std::array<Binding<GlimOption>, 7> kBindings;
    GlimOption();

  protected:
    void OnInitialize() override;
    void OnClick() override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    // Cell 4 x row + state; the row of True is 1, of False 0, any other value has none.
    void ShowCell(GlyphState state) override;
    void Layout() override;

  private:
    int Row();
    void ClearGroup();
    void PollPointer();

    VARIANT_BOOL Value = VARIANT_FALSE; // another value than True or False is kept as it is
    ConstituentImage p;                 // the glyph, at the top-left of a 16 x 16 area
};

} // namespace glim
