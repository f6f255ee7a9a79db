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
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnClick() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;

    void DrawState() override;
    void Layout() override;

  private:
    void DrawDisabled();
    // The sheet row of the value: 1 for True, 0 for False, -1 for any other value.
    int Row();
    // Shows cell 4 x row + state of the current sheet, if there is one.
    void ShowCell(GlyphState state);
    void ClearGroup();
    void PollPointer();

    VARIANT_BOOL Value = VARIANT_FALSE; // another value than True or False is kept as it is
    ConstituentImage p;                 // the glyph, at the top-left of a 16 x 16 area
};

} // namespace glim
