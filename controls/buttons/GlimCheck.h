#pragma once
// The skinned three-state check box: a 13 x 13 glyph cut from one of 24
// sheets, with its caption to the right; a click moves the value on.
#include "ConstituentPictureBox.h"
#include "ToggleControl.h"

namespace glim {

class GlimCheck final : public ToggleControl<GlimCheck, _GlimCheck_Stored<GlimCheck>> {
  public:
    static const ControlClass kClass;
    GlimCheck();

    // _GlimCheck: Value; the shared members come from ToggleControl, the
    // kept ones from the description.
    STDMETHODIMP put_Value(State New_Value) override;

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
    // The value; any number is kept, only 0, 1 and 2 have glyphs.
    long CurrentValue() { return ToLong(*Value(dispid::GlimCheck::Value)); }
    // Shows cell 4 x value + state of the current sheet, if there is one.
    void ShowCell(GlyphState state);
    void PutValue(long v);
    void PollPointer();

    ConstituentPictureBox p; // the glyph box, sized to its cell
};

} // namespace glim
