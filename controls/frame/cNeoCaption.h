#pragma once
// Paints the caption, borders and menu bar of one form from two skin
// pictures: a caption strip (active image, inactive image, title-button
// glyphs) and a border picture of seven square tiles.  Owns the non-client
// takeover, the menu bar and the surfaces of the attached form.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <optional>
#include <string>

#include "ComPtr.h"
#include "Handles.h"
#include "INCAreaModifier.h"
#include "cMemDC.h"
#include "cMenuBar.h"
#include "cNCCalcSize.h"
#include "RuntimeErrors.h"

namespace glim {

// Throws glim::Error 481 unless both pictures are bitmaps of at least one
// pixel; Attach checks this before it touches the form.
void cNeoCaption_ValidateSkinPictures(IPicture* PicCaption, IPicture* PicBorder);

class cNeoCaption : public INCAreaModifier {
  public:
    // Title buttons, in the order their rectangles are laid out.
    enum Button : long { btnClose = 0, btnMaximize = 1, btnMinimize = 2 };

    cNeoCaption();

    // Gives the frame and the menu back to the form.
    void Detach();
    // Takes over the frame of F (a form object: hWnd, Icon, Refresh).
    void Attach(IDispatch* F, IPicture* PicCaption, IPicture* PicBorder, long lButtonWidth,
                long lButtonHeight, long lActiveLeftEnd, long lActiveRightStart, long lActiveRightEnd,
                long lInactiveOffset, short MnuStyle, short idx);

    OLE_COLOR get_MenuBackgroundColor() const { return menuBackgroundColor_; }
    void put_MenuBackgroundColor(OLE_COLOR oColor) { menuBackgroundColor_ = oColor; }
    OLE_COLOR get_ActiveCaptionColor() const { return activeCaptionColor_; }
    void put_ActiveCaptionColor(OLE_COLOR oColor) { activeCaptionColor_ = oColor; }
    OLE_COLOR get_InActiveCaptionColor() const { return inActiveCaptionColor_; }
    void put_InActiveCaptionColor(OLE_COLOR oColor) { inActiveCaptionColor_ = oColor; }
    ComPtr<IFont> get_CaptionFont() const { return captionFont_; }
    void putref_CaptionFont(IFont* iFnt) { captionFont_ = iFnt; }
    ComPtr<IFont> get_MenuFont() const { return menuFont_; }
    void putref_MenuFont(IFont* iFnt) { menuFont_ = iFnt; }
    OLE_COLOR get_ActiveMenuColor() const { return activeMenuColor_; }
    OLE_COLOR get_ActiveMenuColorOver() const { return activeMenuColorOver_; }
    OLE_COLOR get_InActiveMenuColor() const { return inActiveMenuColor_; }
    void put_ActiveMenuColor(OLE_COLOR oColor) { activeMenuColor_ = oColor; }
    void put_ActiveMenuColorOver(OLE_COLOR oColor) { activeMenuColorOver_ = oColor; }
    void put_InActiveMenuColor(OLE_COLOR oColor) { inActiveMenuColor_ = oColor; }

    // INCAreaModifier
    HWND hWnd() override { return window_; }
    long GetTopMarginHeight() override;
    long GetLeftMarginWidth() override;
    long GetRightMarginWidth() override;
    long GetBottomMarginHeight() override;
    void NCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) override;
    void HitTest(long X, long Y, long& eHitTest) override;
    void NCMouseDown(long X, long Y, bool& bHandled, HDC hDC, long lLeft, long lTop, long lRight,
                     long lBottom) override;
    void NCMouseUp(long X, long Y, HDC hDC, long lLeft, long lTop, long lRight, long lBottom) override;
    void InitMenuPopup(WPARAM wParam, LPARAM lParam) override;
    void ExitMenuLoop() override;
    bool AltKeyAccelerator(long vKey) override;

    // Read-only views of the kept state.
    cNCCalcSize* Takeover() const { return takeover_.get(); }
    cMenuBar* MenuBar() const { return menuBar_.get(); }
    RECT ButtonRect(Button button) const;
    bool ButtonPresent(Button button) const;
    bool ButtonPressed(Button button) const;
    bool HoldsUpdateLock() const { return updateLock_.has_value(); }

    static void cNeoCaption_FontToLogFont(IFont* font, HDC hDC, LOGFONTA& lf);

  protected:
    ~cNeoCaption() override;

  private:
    // What a composed frame shows besides the skin: a paint whose look equals
    // the last one copies the kept surfaces to the window and nothing else.
    struct FrameLook {
        RECT frame{}; // window rectangle at (0, 0)
        bool active = false;
        LONG style = 0;       // the bits that pick title buttons and glyphs
        std::string title;    // window text
        HICON icon = nullptr; // form icon, read only with a title
        LOGFONTA font{};      // title font
        std::string menu;     // the bar's own look
        bool operator==(const FrameLook& o) const;
    };

    // Draws the caption strip, side columns and bottom strip of look into
    // their surfaces; false when a surface could not be had.
    bool Compose(const FrameLook& look, long lLeft, long lTop, long lRight, long lBottom);
    // Steps of Compose, each on the surfaces it sized.
    void PlaceTitleButtons(LONG style, long right, long lTop);
    void DrawTitle(const FrameLook& look, long lLeft, long lRight);
    void ComposeBorders(long lLeft, long lTop, long lRight, long lBottom);
    // Ends the takeover and the bar; returns the menu they drew.
    HMENU ReleaseFrame(bool& wasAttached);
    // The window gets its menu and the platform's frame back.
    void GiveBackFrame(HMENU menu, bool wasAttached);
    void cNeoCaption_DrawButton(HDC hDC, long button, long state);
    // Draws a title button on the window unless it shows that look already.
    void ShowButton(HDC hDC, long button, long state);
    long& ShownState(long button);
    void ForgetShownButtons();
    bool& PresentFlag(long button);
    bool& PressedFlag(long button);
    RECT& ButtonRectangle(long button);
    void LockUpdates(HWND hWnd);
    void UnlockUpdates();
    HICON FormIcon() const;

    ComPtr<IDispatch> form_;                    // the attached form; its Icon is drawn in the caption
    Ref<cNCCalcSize> takeover_;                 // created by Attach, kept after Detach
    HWND window_ = nullptr;                     // the form's window
    std::unique_ptr<cMemDC> borderPic_;         // copy of the border picture; height = tile size
    std::unique_ptr<cMemDC> captionPic_;        // copy of the caption picture; height = caption height
    std::unique_ptr<cMemDC> strip_;             // caption strip of the last composed look
    std::unique_ptr<cMemDC> sides_;             // left and right border columns of it
    std::unique_ptr<cMemDC> bottom_;            // bottom strip of it
    ComPtr<IPicture> captionSource_;            // what captionPic_ was copied from
    ComPtr<IPicture> borderSource_;             // what borderPic_ was copied from
    std::optional<FrameLook> composed_;         // what the three surfaces hold; none after Attach
    Ref<cMenuBar> menuBar_;                     // created by Attach
    OLE_COLOR activeCaptionColor_ = 0xCCCCCC;   // stored only
    OLE_COLOR inActiveCaptionColor_ = 0x999999; // stored only
    ComPtr<IFont> captionFont_;                 // title and bar text, read at every paint
    OLE_COLOR activeMenuColor_ = 0;             // menu bar normal text, given at Attach
    OLE_COLOR activeMenuColorOver_ = 0;         // menu bar hot text, given at Attach
    OLE_COLOR inActiveMenuColor_ = 0x808080;    // given at Attach
    OLE_COLOR menuBackgroundColor_ = 0xFFFFFF;  // given at Attach
    ComPtr<IFont> menuFont_;                    // popup text, given at Attach
    long lButtonWidth_ = 0;                     // one title-button glyph, pixels
    long lButtonHeight_ = 0;
    long lActiveLeftEnd_ = 0; // caption-strip geometry, pixels
    long lActiveRightStart_ = 0;
    long lActiveRightEnd_ = 0;
    long lInactiveOffset_ = 0;
    short idx_ = 0;    // skin index: picks the title colour
    RECT closeRect_{}; // window-relative, set by each paint
    RECT maxRect_{};
    RECT minRect_{};
    bool bMaxPresent_ = false;   // WS_MAXIMIZEBOX, at the last paint
    bool bMinPresent_ = false;   // WS_MINIMIZEBOX, at the last paint
    bool bClosePresent_ = false; // WS_SYSMENU, at the last paint
    bool bMinPressed_ = false;   // a press began on that button
    bool bMaxPressed_ = false;
    bool bClosePressed_ = false;
    long shownState_[3] = {-1, -1, -1}; // look on the window by Button: 0 normal, 1 pressed, -1 not known
    std::optional<WindowUpdateLock> updateLock_; // held from Attach to the end of it or the first paint
};

} // namespace glim
