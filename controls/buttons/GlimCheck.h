#pragma once
// The skinned three-state check box: a 13 x 13 glyph cut from one of 24
// sheets, with its caption to the right; a click moves the value on.
#include "ConstituentPictureBox.h"
#include "GlimFormControl.h"
#include "ToggleControl.h"

namespace glim {

class GlimCheck final : public ToggleControl<GlimCheck, _GlimCheck> {
  public:
    static const ControlClass kClass;
    GlimCheck();

    // _GlimCheck (the members both toggles share come from ToggleControl)
    STDMETHODIMP get_Value(State* pVal) override;
    STDMETHODIMP put_Value(State New_Value) override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnWriteProperties(const PropertyBag& bag) override;
    void OnClick() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;

  private:
    // ToggleParts::Owner
    void DrawState() override;
    void Layout() override;

    void DrawDisabled();
    bool HasGlyph() const { return value >= 0 && value <= 2; }
    // Shows cell 4 x value + state of the current sheet, if there is one.
    void ShowCell(GlyphState state);
    void PutValue(long v);
    void PollPointer();

    long value = 0;          // Value; any number is kept, only 0, 1, 2 have glyphs
    ConstituentPictureBox p; // the glyph box, sized to its cell
};

} // namespace glim
