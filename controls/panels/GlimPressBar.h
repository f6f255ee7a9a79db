#pragma once
// The skinned progress bar: a rounded frame shape, a fill image that grows
// in whole steps of Unit twips and stretches the skin's fill strip, and a
// centred label with the percentage.
#include "ConstituentHost.h"
#include "ConstituentImage.h"
#include "ConstituentLabel.h"
#include "ConstituentShape.h"
#include "ControlBase.h"
#include "Conversions.h"
#include "GlimFormControl.h"

namespace glim {

class GlimPressBar final : public Control<GlimPressBar, _GlimPressBar_Stored<GlimPressBar>> {
  public:
    static const ControlClass kClass;
    static const Binding<GlimPressBar> kBindings[];
    GlimPressBar();
    ~GlimPressBar() override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnResize() override;

  private:
    // Value: Max 0 leaves no unit; the fill and the caption follow a new value.
    void CheckValue(long v);
    void ValueChanged();
    void StyleChanged();
    void BackColorChanged();
    // The frame's and the label's members: the constituent takes the value
    // or refuses it before the bar keeps it.
    void PassBorderStyle(long v) { Sh.SetBorderStyle(ToShort(v)); }
    void PassBackStyle(long v) { Sh.SetBackStyle(ToShort(v)); }
    void PassBorderColor(long v) { Sh.SetBorderColor(static_cast<OLE_COLOR>(v)); }
    void PassBorderWidth(long v) { Sh.SetBorderWidth(ToShort(v)); }
    void PassFillColor(long v) { Sh.SetFillColor(static_cast<OLE_COLOR>(v)); }
    void PassFillStyle(long v) { Sh.SetFillStyle(ToShort(v)); }
    void PassForeColor(long v) { Lt.SetForeColor(static_cast<OLE_COLOR>(v)); }

    long Value = 0;            // the current value; the fill shows it from its next put
    long Max = 100;            // the value of a full bar
    long Min = 0;              // kept and saved; nothing else uses it
    OLE_COLOR BackColor = 0;   // the surface's colour
    short Style = 0;           // skin index; picks the fill strip
    short BorderStyle = 1;     // the frame's, as the frame takes them
    short BackStyle = 0;       //   "
    OLE_COLOR BorderColor = 0; //   "
    short BorderWidth = 1;     //   "
    OLE_COLOR FillColor = 0;   //   "
    short FillStyle = 3;       //   "
    short Shape = 4;           //   " (persisted without a member)
    OLE_COLOR ForeColor = 0;   // the caption's colour
    long Unit = 0;             // twips of fill per unit of Value, worked out by the Value setter

    ConstituentHost parts; // draws the three below over the surface
    ConstituentShape Sh;   // the rounded frame, at the back
    ConstituentImage PF;   // the fill, stretched over its width
    ConstituentLabel Lt;   // the percentage, in front
};

} // namespace glim
