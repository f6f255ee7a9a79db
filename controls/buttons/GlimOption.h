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
    GlimOption();

    // _GlimOption: Value; the shared members come from ToggleControl, the
    // kept ones from the description.
    STDMETHODIMP put_Value(VARIANT_BOOL New_Value) override;

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
    void PutValue(VARIANT_BOOL v);
    void ClearGroup();
    void PollPointer();

    ConstituentImage p; // the glyph, at the top-left of a 16 x 16 area
};

} // namespace glim
