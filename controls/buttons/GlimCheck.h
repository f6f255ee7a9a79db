#pragma once
// The skinned three-state check box: a 13 x 13 glyph cut from one of 24
// sheets, with its caption to the right; a click moves the value on.
#include "ConstituentPictureBox.h"
#include "ToggleControl.h"

namespace glim {

class GlimCheck final : public ToggleControl<GlimCheck, _GlimCheck_Stored<GlimCheck>> {
  public:
    static const ControlClass kClass;
    static const std::array<Binding<GlimCheck>, 7> kBindings;
    GlimCheck();

  protected:
    void OnInitialize() override;
    void OnClick() override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    // Cell 4 x value + state; only 0, 1 and 2 have glyphs.
    void ShowCell(GlyphState state) override;
    void Layout() override;

  private:
    void PollPointer();

    long Value = 0;          // any number is kept, only 0, 1 and 2 have glyphs
    ConstituentPictureBox p; // the glyph box, sized to its cell
};

} // namespace glim
