#pragma once
// The skinned slider: a thumb picture dragged along a groove or a rail
// picture to pick a whole number between Min and Max, with the value tip
// beside the thumb while it is pressed.
#include "ControlBase.h"
#include "GlimFormControl.h"
#include "SliderGeometry.h"

#include <optional>

namespace glim {

// Its values live in typed fields, read and written in the orders the
// description gives; Enabled is its own flag (a disabled slider still
// clicks).
class GlimSlider final : public Control<GlimSlider, _GlimSlider_Stored<GlimSlider>> {
  public:
    static const ControlClass kClass;
    static const Binding<GlimSlider> kBindings[];
    GlimSlider();
    ~GlimSlider() override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    // A quick second press grabs the thumb again.
    bool TakesDoubleClicks() const override { return false; }
    void OnCaptureLost() override;

  private:
    // A hidden picture holder: never shown itself, it only stands for the
    // picture of a persisted key, its size and where the control paints it.
    struct PictureHolder {
        const ComPtr<IPictureDisp>& Picture; // the key's picture; Nothing holds nothing
        float Left = 0;                      // pixels on the control's surface
        float Top = 0;
        double Width() const;
        double Height() const;
        bool Holds() const;
    };

    SliderSizes Sizes();
    // Checks of the puts: a value outside the range, and a range that does
    // not fit 16 bits, are refused before anything is stored.
    void CheckMax(long v);
    void CheckMin(long v);
    void CheckValue(long v);
    void MaxChanged();
    void MinChanged();
    // The thumb, the events of a new value and the tip.
    void ValueChanged();
    void OrientationChanged();
    void StyleChanged();
    void PlaceThumb(long v);
    // The skin's thumb for Style and Orientation into SliderIcon.
    void LoadThumb();
    void Layout();
    void DrawSlider();
    std::optional<short> ThumbToValue();
    void ResetThumb();
    void ShowTip();
    void MoveThumb(float x, float y);
    // The drag ends: MouseUp when there was one, and the tip goes.
    void EndDrag(short shift);

    OLE_COLOR BackColor = 0;          // persisted without a member: the surface's colour
    bool OwnEnabled = true;           // Enabled: a disabled slider takes no drag but still clicks
    ComPtr<IPictureDisp> SliderIcon;  // the thumb's picture
    long Orientation = 0;             // kSliderHorizontal or kSliderVertical
    ComPtr<IPictureDisp> RailPicture; // the rail drawn when RailStyle is 99
    long RailStyle = 0;               // groove edge, or the rail picture
    bool ShowValueTip = true;         // the tip shows while the thumb is pressed
    short Min = 0;                    // bottom of the range, 16 bits as stored
    short Max = 10;                   // top of the range
    short Value = 0;                  // Min .. Max
    long Style = 0;                   // skin index; picks the thumb

    bool Dragging = false; // the left button was pressed on the enabled control and not released
    float GrabX = 0;       // pointer offset inside the thumb at the press, pixels
    float GrabY = 0;
    RECT GrooveRect{};                       // groove drawn with DrawEdge, pixels
    long Range = 10;                         // Max - Min
    long LastValue = 0;                      // value at the last Change; only the Value setter writes it
    PictureHolder Slider{SliderIcon};        // the thumb
    PictureHolder iRailPicture{RailPicture}; // the rail, drawn when RailStyle is 99
    int layoutDepth = 0;                     // the layout's own resize re-enters it once
};

} // namespace glim
