#pragma once
// Takes over the non-client area of one window for an INCAreaModifier:
// margins, frame painting, hit testing, caption dragging, title-bar presses
// and menu notifications.  Without a registered implementation it keeps the
// system margins and hit testing and paints a plain system-look frame.
#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "INCAreaModifier.h"
#include "ISubclass.h"
#include "cMemDC.h"
#include "mDeclares.h"

namespace glim {

// The window property holding the raw, uncounted implementation pointer.
inline constexpr const char* kNCImplementationProp = "wexoCNCImplementation";

class cNCCalcSize : public ISubclass, public IKeyboardClient {
  public:
    cNCCalcSize() = default;

    void Redraw(HWND hWnd);
    // Refreshes the form and makes the platform recompute the frame.
    void Display(IDispatch* form);
    bool WindowActive() override { return bWindowActive_; }
    bool AppActive() const { return bAppActive_; }
    void TitleBarMouseDown();
    void SysCommand(long eCmd);
    // Subscribes to iTo's window; throws the subclassing errors.
    void Attach(INCAreaModifier* iTo);
    HMENU hMenu() const { return hMenu_; }
    // The menu to draw when the window no longer holds it (a new skin).
    void KeepMenu(HMENU menu) { hMenu_ = menu; }
    void Detach();
    void DefaultNCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom);
    bool GetImplementation(Ref<INCAreaModifier>& implementation);
    bool cNCCalcSize_AltKeyAccelerator(long vKey);

    // Read-only views of the kept state.
    HWND Window() const { return window_; }
    long LastHitCode() const { return lastHitCode_; }

    // ISubclass
    MsgResponseMode MsgResponse() override;
    void SetMsgResponse(MsgResponseMode) override {}
    LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

    // IKeyboardClient
    bool AltKeyAccelerator(long vKey) override { return cNCCalcSize_AltKeyAccelerator(vKey); }

  protected:
    ~cNCCalcSize() override;

  private:
    void cNCCalcSize_DragWindow();
    static bool cNCCalcSize_IsMDIChild(HWND hWnd);
    // Hit code of a screen point.
    long cNCCalcSize_NCHitTest(POINT screen);
    void ForEachMessage(void (*action)(cNCCalcSize*, HWND, UINT));
    void Repaint();
    // The off-screen caption of DefaultNCPaint, made on first use.
    HDC WorkDC();
    LRESULT OnNCCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNCPaint(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnNCHitTest(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnNCActivate(HWND hWnd, WPARAM wParam, LPARAM lParam);
    // A client press: one outside the client area may start a title-button press.
    void OnLButtonDown(LPARAM lParam);
    // A move while a title-button press holds the capture.
    void FollowButtonPress(LPARAM lParam);
    // WM_INITMENU, WM_ENTERMENULOOP, WM_INITMENUPOPUP and WM_EXITMENULOOP.
    void OnMenuLoop(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);
    void OnNCLButtonDown(WPARAM wParam, LPARAM lParam);
    // The release at a screen point.
    void OnNCLButtonUp(POINT screen);
    // Offers the press at a screen point to the implementation; true when a
    // title button took it, holding the capture until the release.
    bool PressTitleButton(INCAreaModifier* implementation, POINT screen);
    void ArmButtonPress();
    void DisarmButtonPress();
    void CancelButtonPress();
    LRESULT OnNCLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr; // the window taken over; null while detached
    // The window property's value as this object wrote it, or read it back at
    // the last frame computation: raw and uncounted like the property.  Hit
    // tests and paints come with every mouse move, and a property read is a
    // server round trip under Wine.
    INCAreaModifier* implementation_ = nullptr;
    bool bMDIChild_ = false;          // the window's parent is an MDI client
    HMENU hMenu_ = nullptr;           // the window's menu as it was at Attach
    bool bWindowActive_ = false;      // last WM_NCACTIVATE state
    bool bAppActive_ = false;         // last WM_ACTIVATEAPP state
    bool bMaximizedMDIChild_ = false; // MDI child and zoomed, at the last size or paint
    std::unique_ptr<cMemDC> work_;    // off-screen caption for DefaultNCPaint, while attached
    long lLeftMargin_ = 0;            // margins from the last WM_NCCALCSIZE with wParam set
    long lTopMargin_ = 0;
    long lRightMargin_ = 0;
    long lBottomMargin_ = 0;
    long lCaptionMetric_ = 0; // SM_CYCAPTION as of the last frame computation
    long lastHitCode_ = 0;    // code of the last WM_NCHITTEST
    long probeDx_ = 0;        // last relative cursor nudge of a press
    long probeDy_ = 0;
    bool bInCursor_ = false;    // WM_SETCURSOR is being handled
    bool bButtonArmed_ = false; // a title-button press holds the mouse capture
};

} // namespace glim
