#pragma once
// The skinned push button: fifteen looks, colour schemes, pictures, and an
// optional two-state toggle.  Painting is in GlimButtonLooks; this class
// keeps the state, answers the host and handles input.
#include "ConstituentTimer.h"
#include "ControlBase.h"
#include "GlimButtonLooks.h"
#include "GlimFormControl.h"
#include "PictureClip.h"
#include "cMemDC.h"

#include <cstdint>
#include <memory>
#include <string>

namespace glim {

// The button's state is its face: the painter reads the same fields the
// binding rows keep.
class GlimButton final : public Control<GlimButton, _GlimButton_Stored<GlimButton>>, public GlimButtonFace {
  public:
    static const ControlClass kClass;
    static const Binding<GlimButton> kBindings[];
    GlimButton();
    ~GlimButton() override;
    // The mouse icon of HandPointer: cursor 101 of the library, else the platform's hand.
    static ComPtr<IPictureDisp> HandCursor();

    // _GlimButton: the methods; the runtime keeps the properties.
    STDMETHODIMP DisableRefresh() override;
    STDMETHODIMP Refresh() override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override;
    void OnHide() override;
    void OnGotFocus() override;
    void OnLostFocus() override;
    void OnAccessKeyPress(short keyAscii) override;
    void OnAmbientChanged(DISPID id) override;
    void OnClick() override;
    void OnDblClick() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnKeyDown(short& keyCode, short shift) override;
    void OnKeyPress(short& keyAscii) override;
    void OnKeyUp(short& keyCode, short shift) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    // The face's, not the window's or the runtime's of that name.
    using GlimButtonFace::Enabled;
    using GlimButtonFace::Value;

    static FontFacet<GlimButton> Facet(DISPID facet);
    // What the puts do once the value is kept.
    void Recolour();
    void RecolourUp();
    void Repaint();
    void RepaintUp();
    void BackColorChanged();
    void ForeColorChanged();
    void ButtonTypeChanged();
    void FontPut();
    void FontChanged();
    void HandPointerChanged();
    void PictureNormalChanged();
    void PictureOverChanged();
    void Relayout();
    void RepaintPicture();
    void ValueChanged();
    void StyleChanged();
    void CaptionChanged();

    void GlimButton_DrawButton(int state, bool force);
    void GlimButton_ComputeColors();
    void GlimButton_LayoutCaption();
    void GlimButton_SetAccessKey();
    void GlimButton_LoadSheet(long style);
    void GlimButton_CaptureBackground();
    bool GlimButton_IsMouseOver() const;
    void CreateBackground();
    void DestroyBackground();
    void ClickNow();
    void OverTimerTick();
    // The kept Style as a number (raising when it is none); the face's Style from it.
    long StyleNumber();
    void TakeStyle();

    ComPtr<IFontDisp> Font;        // the control's own font, never the host's
    bool HandPointer = false;      // the hand cursor replaces the mouse pointer
    Variant StyleSetting;          // Style as read or put, whatever it holds
    std::string Version = "2.0.6"; // what Version answers
    std::unique_ptr<cMemDC> bg;    // background of the transparent look, client-sized
    bool bgStale = false;          // a size of none came since bg was taken
    long regionType = -1;          // ButtonType of the window's region, -1 before the first
    SIZE regionSize{};             // client size the window's region was made for
    std::uint8_t lastButton = 0;   // Button of the last mouse-down
    std::uint8_t lastKey = 0;      // KeyCode of the last key-down
    std::uint8_t curState = 0;     // state last painted: 0 up, 2 pressed
    std::string lastCaption;       // caption last painted
    bool isShown = true;           // painting is allowed
    bool resizeLock = false;       // the background capture is changing our height
    bool capturing = false;        // a background capture is running
    bool terminated = false;
    PictureClip pc;             // the skin sheet: five cells in one row
    ConstituentTimer OverTimer; // polls for the pointer leaving while the hover look is on
};

} // namespace glim
