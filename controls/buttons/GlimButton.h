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

class GlimButton final : public Control<GlimButton, _GlimButton_Stored<GlimButton>> {
  public:
    static const ControlClass kClass;
    GlimButton();
    ~GlimButton() override;
    // The mouse icon of HandPointer: cursor 101 of the library, else the platform's hand.
    static ComPtr<IPictureDisp> HandCursor();

    // _GlimButton: the puts; the runtime answers the gets of kept values.
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override;
    STDMETHODIMP put_BackOver(OLE_COLOR New_BackOver) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR New_ForeColor) override;
    STDMETHODIMP put_ForeOver(OLE_COLOR New_ForeOver) override;
    STDMETHODIMP put_MaskColor(OLE_COLOR New_MaskColor) override;
    STDMETHODIMP put_ButtonType(ButtonTypes New_ButtonType) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL New_Enabled) override;
    STDMETHODIMP putref_Font(IFontDisp* New_Font) override;
    STDMETHODIMP get_FontBold(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_FontBold(VARIANT_BOOL New_FontBold) override;
    STDMETHODIMP get_FontItalic(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_FontItalic(VARIANT_BOOL New_FontItalic) override;
    STDMETHODIMP get_FontUnderline(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_FontUnderline(VARIANT_BOOL New_FontUnderline) override;
    STDMETHODIMP get_FontSize(short* pVal) override;
    STDMETHODIMP put_FontSize(short New_FontSize) override;
    STDMETHODIMP get_FontName(BSTR* pVal) override;
    STDMETHODIMP put_FontName(BSTR New_FontName) override;
    STDMETHODIMP put_ColorScheme(ColorTypes New_ColorScheme) override;
    STDMETHODIMP put_ShowFocusRect(VARIANT_BOOL New_ShowFocusRect) override;
    STDMETHODIMP put_MousePointer(long New_MousePointer) override;
    STDMETHODIMP putref_MouseIcon(IPictureDisp* New_MouseIcon) override;
    STDMETHODIMP put_HandPointer(VARIANT_BOOL New_HandPointer) override;
    STDMETHODIMP put_SoftBevel(VARIANT_BOOL New_SoftBevel) override;
    STDMETHODIMP putref_PictureNormal(IPictureDisp* New_PictureNormal) override;
    STDMETHODIMP putref_PictureOver(IPictureDisp* New_PictureOver) override;
    STDMETHODIMP put_PicturePosition(PicPositions New_PicturePosition) override;
    STDMETHODIMP put_UseMaskColor(VARIANT_BOOL New_UseMaskColor) override;
    STDMETHODIMP put_UseGreyscale(VARIANT_BOOL New_UseGreyscale) override;
    STDMETHODIMP put_SpecialEffect(fx New_SpecialEffect) override;
    STDMETHODIMP put_CheckBoxBehaviour(VARIANT_BOOL New_CheckBoxBehaviour) override;
    STDMETHODIMP put_Value(VARIANT_BOOL New_Value) override;
    STDMETHODIMP get_Version(BSTR* pVal) override;
    STDMETHODIMP DisableRefresh() override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP put_Style(MnuStyle New_Style) override;
    STDMETHODIMP put_Caption(BSTR New_Caption) override;

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
    // Keeps a value and has the face show it.
    void Store(DISPID member, const VARIANT& value);
    void TakeValues();
    void GlimButton_DrawButton(int state, bool force);
    void GlimButton_ComputeColors();
    void GlimButton_LayoutCaption();
    void GlimButton_SetAccessKey();
    void GlimButton_LoadSheet(long style);
    void GlimButton_CaptureBackground();
    bool GlimButton_IsMouseOver() const;
    void CreateBackground();
    void DestroyBackground();
    void SetButtonType(long value);
    void SetHandPointer(bool value);
    void SetFont(IFontDisp* font);
    void FontChanged();
    void ClickNow();
    void OverTimerTick();
    long StyleNumber();

    GlimButtonFace face;                // the state the painter reads, kept values taken in
    ComPtr<IPictureDisp> PictureNormal; // the kept picture face.PictureNormal points at
    ComPtr<IPictureDisp> PictureOver;   // the kept picture face.PictureOver points at
    ComPtr<IFontDisp> font;             // the kept font, the control's own, never the host's
    std::unique_ptr<cMemDC> bg;         // background of the transparent look, client-sized
    HRGN btnRegion = nullptr;           // the last region handed to the window (the window's)
    std::uint8_t lastButton = 0;        // Button of the last mouse-down
    std::uint8_t lastKey = 0;           // KeyCode of the last key-down
    std::uint8_t curState = 0;          // state last painted: 0 up, 2 pressed
    std::string lastCaption;            // caption last painted
    bool isShown = true;                // painting is allowed
    bool resizeLock = false;            // the background capture is changing our height
    bool capturing = false;             // a background capture is running
    bool terminated = false;
    PictureClip pc;             // the skin sheet: five cells in one row
    ConstituentTimer OverTimer; // polls for the pointer leaving while the hover look is on
};

} // namespace glim
