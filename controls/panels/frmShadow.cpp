#include "frmShadow.h"

#include "Conversions.h"
#include "Handles.h"
#include "frmToolTip.h"
#include "theModule.h"

#include <memory>

namespace glim {

namespace {

constexpr OLE_COLOR kShadowColor = RGB(64, 64, 64);
constexpr BYTE kShadowAlpha = 100;
constexpr UINT kShowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;

FormDesign ShadowDesign() {
    FormDesign d = TipFormDesign();
    d.width = 855;
    d.height = 645;
    d.caption = "Form9";
    return d;
}

} // namespace

frmShadow::frmShadow() : LibraryForm(ShadowDesign()) {}

frmShadow::~frmShadow() {
    Unload();
}

frmShadow& frmShadow::Instance() {
    std::unique_ptr<frmShadow>& slot = ShadowInstance();
    if (!slot) slot = std::make_unique<frmShadow>();
    return *slot;
}

void frmShadow::Release() {
    std::unique_ptr<frmShadow> shadow = std::move(ShadowInstance());
    if (shadow) shadow->Unload();
}

void frmShadow::OnLoad() {
    SetBackColor(kShadowColor);
    // The balloon's size and outline, flips included: it is placed first.
    frmToolTip& balloon = frmToolTip::Instance();
    Move(Left(), Top(), balloon.ScaleWidth(), balloon.ScaleHeight());
    OwnedRegion region = BalloonRegion(balloon.Shape1Width(), balloon.Shape1Height());
    // The window owns the region from here on.
    if (SetWindowRgn(hWnd(), region.get(), TRUE)) region.release();
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, kShowFlags);
    if (theModule_IsLayeringSupported()) {
        theModule_MakeLayered(hWnd());
        SetLayeredWindowAttributes(hWnd(), 0, kShadowAlpha, LWA_ALPHA);
    }
}

} // namespace glim
