#pragma once
// The skinned slider: a thumb picture dragged along a groove or a rail
// picture to pick a whole number between Min and Max, with the value tip
// beside the thumb while it is pressed.
#include "ControlBase.h"
#include "Conversions.h"
#include "GlimFormControl.h"
#include "SliderGeometry.h"

#include <optional>

namespace glim {

// Its values live in the runtime's slots, read and written in the orders
// the description gives; Enabled is its own flag (a disabled slider still
// clicks), kept like ShowValueTip without an accessor here.
class GlimSlider final : public Control<GlimSlider, _GlimSlider_Stored<GlimSlider>> {
  public:
    static const ControlClass kClass;
    GlimSlider();
    ~GlimSlider() override;

    // _GlimSlider: the puts; the runtime answers the gets.
    STDMETHODIMP put_Max(long New_Max) override;
    STDMETHODIMP put_Min(long New_Min) override;
    STDMETHODIMP put_Value(long New_Value) override;
    STDMETHODIMP put_Orientation(sOrientationConstants New_Orientation) override;
    STDMETHODIMP put_RailStyle(sRailStyleConstants New_RailStyle) override;
    STDMETHODIMP put_Style(MnuStyle New_Style) override;

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
        GlimSlider* owner;
        const char* key;
        float Left = 0; // pixels on the control's surface
        float Top = 0;
        ComPtr<IPictureDisp> Picture() const; // Nothing holds nothing
        double Width() const;
        double Height() const;
        bool Holds() const;
    };

    // The kept values, as the fields they are.
    long Number(DISPID member) { return ToLong(*Value(member)); }
    short Min() { return static_cast<short>(Number(dispid::GlimSlider::Min)); }
    short Max() { return static_cast<short>(Number(dispid::GlimSlider::Max)); }
    short Current() { return static_cast<short>(Number(dispid::GlimSlider::Value)); }
    long Orientation() { return Number(dispid::GlimSlider::Orientation); }
    long RailStyle() { return Number(dispid::GlimSlider::RailStyle); }
    long Style() { return Number(dispid::GlimSlider::Style); }
    bool IsEnabled() { return ToBool(*Value(dispid::GlimSlider::Enabled)); }
    bool ShowsValueTip() { return ToBool(*Value(dispid::GlimSlider::ShowValueTip)); }

    SliderSizes Sizes();
    // The body of the Value setter, for the other setters and the drag.
    void PutValue(long v);
    void PlaceThumb(long v);
    // The skin's thumb for Style and Orientation into Slider.
    void LoadThumb();
    void Layout();
    void DrawSlider();
    std::optional<short> ThumbToValue();
    void ResetThumb();
    void ShowTip();
    void MoveThumb(float x, float y);
    // The drag ends: MouseUp when there was one, and the tip goes.
    void EndDrag(short shift);

    bool Dragging = false; // the left button was pressed on the enabled control and not released
    float GrabX = 0;       // pointer offset inside the thumb at the press, pixels
    float GrabY = 0;       //
    RECT GrooveRect{};     // groove drawn with DrawEdge, pixels
    long Range = 10;       // Max - Min
    long LastValue = 0;    // value at the last Change; only the Value setter writes it
    PictureHolder Slider{this, "SliderIcon"};        // the thumb
    PictureHolder iRailPicture{this, "RailPicture"}; // the rail, drawn when RailStyle is 99
    int layoutDepth = 0;                             // the layout's own resize re-enters it once
};

} // namespace glim
