#pragma once
// The skinned slider: a thumb picture dragged along a groove or a rail
// picture to pick a whole number between Min and Max, with the value tip
// beside the thumb while it is pressed.
#include "ControlBase.h"
#include "GlimFormControl.h"
#include "SliderGeometry.h"

#include <optional>

namespace glim {

// Its members and keys are written by hand rather than kept by the runtime:
// its Enabled is its own flag (a disabled slider still clicks), where a kept
// Enabled disables the window, and its keys are read and written in two
// different orders with fallbacks for thumbs and ranges.
class GlimSlider final : public Control<GlimSlider, _GlimSlider> {
  public:
    static const ControlClass kClass;
    GlimSlider();
    ~GlimSlider() override;

    // _GlimSlider
    STDMETHODIMP get_Enabled(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL New_Enabled) override;
    STDMETHODIMP get_Max(long* pVal) override;
    STDMETHODIMP put_Max(long New_Max) override;
    STDMETHODIMP get_Min(long* pVal) override;
    STDMETHODIMP put_Min(long New_Min) override;
    STDMETHODIMP get_Value(long* pVal) override;
    STDMETHODIMP put_Value(long New_Value) override;
    STDMETHODIMP get_Orientation(sOrientationConstants* pVal) override;
    STDMETHODIMP put_Orientation(sOrientationConstants New_Orientation) override;
    STDMETHODIMP get_RailStyle(sRailStyleConstants* pVal) override;
    STDMETHODIMP put_RailStyle(sRailStyleConstants New_RailStyle) override;
    STDMETHODIMP get_ShowValueTip(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_ShowValueTip(VARIANT_BOOL New_ShowValueTip) override;
    STDMETHODIMP get_Style(MnuStyle* pVal) override;
    STDMETHODIMP put_Style(MnuStyle New_Style) override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnWriteProperties(const PropertyBag& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;

  private:
    // A hidden picture holder: never shown itself, it only keeps a picture,
    // its size and where the control paints it.
    struct PictureHolder {
        ComPtr<IPictureDisp> picture; // Nothing holds nothing
        float Left = 0;               // pixels on the control's surface
        float Top = 0;
        double Width() const;
        double Height() const;
        bool Holds() const;
    };

    SliderSizes Sizes() const;
    // The body of the Value setter, for the other setters and the drag.
    void SetValue(long v);
    void PlaceThumb(long v);
    // The skin's thumb for Style and Orientation into Slider.
    void LoadThumb();
    void Layout();
    void DrawSlider();
    std::optional<short> ThumbToValue();
    void ResetThumb();
    void ShowTip();
    void MoveThumb(float x, float y);
    void RaiseShiftEvent(DISPID id, short shift);

    bool Dragging = false;      // the left button was pressed on the enabled control and not released
    float GrabX = 0;            // pointer offset inside the thumb at the press, pixels
    float GrabY = 0;            //
    RECT GrooveRect{};          // groove drawn with DrawEdge, pixels
    long Range = 10;            // Max - Min
    bool Enabled = true;        // the control's own flag; the look does not change
    long Orientation = 0;       // 0 horizontal, 1 vertical; others stored unchecked
    long RailStyle = 3;         // groove edge, or 99 for the rail picture; unchecked
    bool ShowValueTip = true;   // tip beside the thumb while dragging
    short Min = 0;              //
    short Max = 10;             //
    short Value = 0;            //
    long Style = 0;             // skin index; unchecked
    long LastValue = 0;         // value at the last Change; only the Value setter writes it
    PictureHolder Slider;       // the thumb
    PictureHolder iRailPicture; // the rail, drawn when RailStyle is 99
    int layoutDepth = 0;        // the layout's own resize re-enters it once
};

} // namespace glim
