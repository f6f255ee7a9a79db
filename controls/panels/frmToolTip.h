#pragma once
// The balloon of the tip controls: one per thread, a borderless, topmost,
// non-activating form shaped as a rounded rectangle with a tail pointing at
// the mouse pointer, shown 300 ms after ShowTip while the pointer stays on
// the window it belongs to.
#include "ComPtr.h"
#include "ConstituentImage.h"
#include "ConstituentLabel.h"
#include "ConstituentTimer.h"
#include "Handles.h"
#include "LibraryForm.h"

#include <olectl.h>

#include <memory>
#include <string>

namespace glim {

// What the tip controls of a thread hand to its balloon.
struct TipShared {
    long gTipTopOffset = 0;    // pixels: 0 with the tail below the body, 15 when flipped up
    POINT gTipTail[4] = {};    // tail polygon in balloon pixels; [2] is the tip
    HWND gTipHwnd = nullptr;   // window the current balloon belongs to
    std::string gTipTitle;     // title
    std::string gTipText;      // text
    std::wstring gTipFontName; // face of both labels
    CY gTipFontSize = {};      // points, fixed-point
    OLE_COLOR gTipTextColor = 0;
    OLE_COLOR gTipTitleColor = 0;
    OLE_COLOR gTipFrameColor = 0; // the balloon's foreground colour
    OLE_COLOR gTipBackColor = 0;  // base of the banded gradient
    short gTipIcon = 0;           // icon index, 0 .. 3
};
// This thread's shared balloon state.
TipShared& TipState();
class frmShadow;
// Where this thread keeps its shadow form.
std::unique_ptr<frmShadow>& ShadowInstance();

// The design both tip forms start from: no border, out of the taskbar,
// never activated, off the screen.
FormDesign TipFormDesign();

// The balloon outline for a body of w x h twips: the round rectangle moved
// down by the top offset, joined with the tail polygon.
OwnedRegion BalloonRegion(double w, double h);

class frmToolTip final : public LibraryForm {
  public:
    frmToolTip();
    ~frmToolTip() override;

    // The thread's balloon, made on first use.
    static frmToolTip& Instance();
    // Unloads the thread's balloon and drops it: the next ShowTip makes a new one.
    static void Release();

    // Size of the body (Shape1) in twips.
    double Shape1Width() const { return shape1Width_; }
    double Shape1Height() const { return shape1Height_; }
    const ConstituentLabel& TitleLabel() const { return lblTitle; }
    const ConstituentLabel& TipLabel() const { return lblTip; }
    const ConstituentImage& IconImage() const { return imgIcon; }

  protected:
    void OnLoad() override;
    void OnQueryUnload() override;
    // Clicking it must not take the focus from the host.
    bool CanGetFocus() const override { return false; }

  private:
    void tmrToolTip_Timer();
    void PlaceAndShow();
    void Paint();
    // Moves the labels and the icon to their design places.
    void PlaceParts();

    ConstituentTimer tmrToolTip;
    ConstituentLabel lblTitle;
    ConstituentLabel lblTip;
    ConstituentImage imgIcon;
    double shape1Width_ = 0; // body size, twips
    double shape1Height_ = 0;
    bool tipShown = false;      // placed and shown
    HWND tipLastHwnd = nullptr; // window it was shown for
    bool moduleLocked = false;  // the module stays loaded while the balloon is
};

} // namespace glim
