#include "frmToolTip.h"

#include "Conversions.h"
#include "Fonts.h"
#include "LayoutScale.h"
#include "ModuleLocks.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Screen.h"
#include "SkinResourceIds.h"
#include "OleColor.h"
#include "frmShadow.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace glim {

namespace {

// One set per thread.  The balloon is declared last so it goes first: its
// unloading drops the shadow.
struct TipThread {
    TipShared shared;
    std::unique_ptr<frmShadow> shadow;
    std::unique_ptr<frmToolTip> balloon;
};
thread_local TipThread tThread;

// The wait before the balloon shows.  GLIM_TIP_DELAY_MS shortens it for
// the tests, which check the real one once.
long TipDelayMs() {
    char ms[8] = {};
    const DWORD n = GetEnvironmentVariableA("GLIM_TIP_DELAY_MS", ms, sizeof ms);
    return n > 0 && n < sizeof ms ? std::atol(ms) : 300;
}

// Design places, in layout twips (15 to a pixel); the form's own scale and
// places are in the screen's twips.
constexpr double kTipLeft = 150;
constexpr double kTipTop = 450;
constexpr double kTitleLeft = 460;
constexpr double kIconLeft = 120;
constexpr double kIconTop = 90;
constexpr double kIconSize = 240;
// The body's margins around the text, and the tail's room below it.
constexpr double kSideMargin = 150;
constexpr double kBottomMargin = 120;
constexpr double kTailRoom = 450;
// A flipped balloon starts its body this many pixels down.
constexpr long kFlipOffset = 15;
constexpr UINT kPlaceFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;

double Points(const CY& size) {
    return static_cast<double>(size.int64) / 10000.0;
}

ComPtr<IFontDisp> LabelFont(bool bold) {
    TipShared& t = tThread.shared;
    return CreateStdFont(t.gTipFontName, Points(t.gTipFontSize), bold, DEFAULT_CHARSET);
}

} // namespace

FormDesign TipFormDesign() {
    FormDesign d;
    d.captionBar = false;
    d.showInTaskbar = false;
    d.activates = false;
    d.left = -4995;
    d.top = -4995;
    return d;
}

TipShared& TipState() {
    return tThread.shared;
}

std::unique_ptr<frmShadow>& ShadowInstance() {
    return tThread.shadow;
}

OwnedRegion BalloonRegion(double w, double h) {
    TipShared& t = tThread.shared;
    const long off = t.gTipTopOffset;
    OwnedRegion r(
        CreateRoundRectRgn(0, off, RoundToLong((w + 15) / 15), RoundToLong((h + 15) / 15 + off), 13, 13));
    OwnedRegion tail(CreatePolygonRgn(t.gTipTail, 4, ALTERNATE));
    if (!r || !tail) RaiseError(kErrOutOfMemory);
    CombineRgn(r.get(), tail.get(), r.get(), RGN_OR);
    return r;
}

frmToolTip::frmToolTip()
    : LibraryForm(TipFormDesign()), lblTitle(Constituents()), lblTip(Constituents()),
      imgIcon(Constituents()) {
    tmrToolTip.SetEnabled(false);
    tmrToolTip.SetInterval(TipDelayMs());
    tmrToolTip.Timer = [this] { tmrToolTip_Timer(); };
    for (ConstituentLabel* l : {&lblTitle, &lblTip}) {
        l->SetAutoSize(true);
        l->SetBackStyle(0);
    }
    lblTip.Move(ScreenTwipsX(kTipLeft), ScreenTwipsY(kTipTop));
    // The icons are drawn at 16 x 16 whatever sizes their resources hold.
    imgIcon.SetStretch(true);
    imgIcon.Move(ScreenTwipsX(kIconLeft), ScreenTwipsY(kIconTop), ScreenTwipsX(kIconSize),
                 ScreenTwipsY(kIconSize));
}

frmToolTip::~frmToolTip() {
    tmrToolTip.SetEnabled(false);
    tmrToolTip.Timer = nullptr;
    Unload();
}

frmToolTip& frmToolTip::Instance() {
    if (!tThread.balloon) tThread.balloon = std::make_unique<frmToolTip>();
    return *tThread.balloon;
}

void frmToolTip::Release() {
    // Taken out first: unloading may come back here.
    std::unique_ptr<frmToolTip> balloon = std::move(tThread.balloon);
    if (balloon) balloon->Unload();
}

void frmToolTip::OnLoad() {
    TipShared& t = tThread.shared;
    // A loaded balloon ticks into this module: it stays while the balloon does.
    if (!moduleLocked) LockModule();
    moduleLocked = true;
    tipShown = false;
    tipLastHwnd = nullptr;
    SetBackColor(t.gTipBackColor);
    Canvas().SetForeColor(t.gTipFrameColor);

    lblTip.SetFont(LabelFont(false).get());
    lblTip.SetForeColor(t.gTipTextColor);
    lblTip.SetCaption(t.gTipText);
    lblTitle.SetFont(LabelFont(true).get());
    lblTitle.SetForeColor(t.gTipTitleColor);
    lblTitle.SetCaption(t.gTipTitle);

    // The icon index was checked by ShowTip.
    imgIcon.SetPicture(LoadResPicture(skinres::TipIcon(t.gTipIcon), kResIcon).get());
    PlaceParts();

    shape1Width_ = LayoutTwipsX(lblTip.Width()) + kSideMargin + kSideMargin;
    shape1Height_ = LayoutTwipsY(lblTip.Height() + lblTip.Top()) + kBottomMargin;
    Move(Left(), Top(), ScreenTwipsX(shape1Width_), ScreenTwipsY(shape1Height_ + kTailRoom));

    const double h = shape1Height_;
    const long bottom = RoundToLong(h / 15 - 1);
    t.gTipTail[0] = {35, bottom};
    t.gTipTail[1] = {25, bottom};
    t.gTipTail[2] = {20, RoundToLong(h / 15 + 15)};
    t.gTipTail[3] = {35, bottom};

    tmrToolTip.SetInterval(TipDelayMs());
    tmrToolTip.SetEnabled(true);
}

void frmToolTip::PlaceParts() {
    lblTip.Move(ScreenTwipsX(kTipLeft), ScreenTwipsY(kTipTop));
    lblTitle.Move(ScreenTwipsX(kTitleLeft));
    imgIcon.Move(ScreenTwipsX(kIconLeft), ScreenTwipsY(kIconTop));
    lblTitle.SetTop((imgIcon.Height() - lblTitle.Height()) / 2 + imgIcon.Top());
}

void frmToolTip::OnQueryUnload() {
    tmrToolTip.SetEnabled(false);
    frmShadow::Release();
    if (moduleLocked) UnlockModule();
    moduleLocked = false;
}

void frmToolTip::tmrToolTip_Timer() {
    TipShared& t = tThread.shared;
    POINT pt{};
    GetCursorPos(&pt);
    try {
        tmrToolTip.SetInterval(1);
    } catch (const Error&) {
    }
    const HWND under = WindowFromPoint(pt);
    if (under != t.gTipHwnd) {
        tmrToolTip.SetEnabled(false);
        tipShown = false;
        Unload();
        return;
    }
    if (!tipShown) {
        tipLastHwnd = t.gTipHwnd;
        tipShown = true;
        try {
            PlaceAndShow();
        } catch (const Error&) {
        }
        if (!Loaded()) return;
    }
    if (tipLastHwnd == t.gTipHwnd) {
        if (lblTitle.Caption() != t.gTipTitle || lblTip.Caption() != t.gTipText) {
            tmrToolTip.SetEnabled(false);
            // Nothing of this balloon is touched after it is released.
            Release();
        }
        return;
    }
    tmrToolTip.SetEnabled(false);
    tipShown = false;
    Unload();
}

void frmToolTip::PlaceAndShow() {
    TipShared& t = tThread.shared;
    POINT pt{};
    GetCursorPos(&pt);
    // The place is worked out in layout twips, the pointer's included, and
    // handed to the forms in the screen's twips.
    const long x = RoundToLong(kLayoutTwipsPerPixel * pt.x - 450);
    const long y = RoundToLong(kLayoutTwipsPerPixel * pt.y + 300);
    const double w = shape1Width_, h = shape1Height_;
    const long balloonWidth = RoundToLong(LayoutTwipsX(Width()));
    const long balloonHeight = RoundToLong(LayoutTwipsY(Height()));
    t.gTipTopOffset = 0;
    // Near the right edge the balloon opens to the left of the pointer.
    const bool flipRight =
        static_cast<float>(balloonWidth + x + 250) > static_cast<float>(LayoutTwipsX(ScreenWidth()));
    if (flipRight) {
        t.gTipTail[0].x = RoundToLong(w / 15 - 35);
        t.gTipTail[1].x = RoundToLong(w / 15 - 25);
        t.gTipTail[2].x = RoundToLong(w / 15 - 20);
        t.gTipTail[3].x = RoundToLong(w / 15 - 35);
    }
    // Near the top it hangs below the pointer with the tail pointing up.
    if (y - balloonHeight - 350 < 0) {
        t.gTipTopOffset = kFlipOffset;
        const double down = ScreenTwipsY(kFlipOffset * kLayoutTwipsPerPixel);
        lblTitle.SetTop(lblTitle.Top() + down);
        imgIcon.SetTop(imgIcon.Top() + down);
        lblTip.SetTop(lblTip.Top() + down);
        for (int i : {0, 1, 3})
            t.gTipTail[i].y = kFlipOffset;
        t.gTipTail[2].y = 0;
    }
    OwnedRegion region = BalloonRegion(w, h);
    // The window owns the region from here on.
    if (SetWindowRgn(hWnd(), region.get(), FALSE)) region.release();
    Paint();

    frmShadow::Instance().Load();
    try {
        const POINT tip = t.gTipTail[2];
        long left = tip.x * 15 + x - 150;
        const long top = y - tip.y * 15 - 375 + t.gTipTopOffset * 10;
        if (flipRight) left = left - tip.x * 15 - balloonWidth + 900;
        frmShadow::Instance().Move(ScreenTwipsX(left + 30), ScreenTwipsY(top + 30));
        Move(ScreenTwipsX(left), ScreenTwipsY(top));
        SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, kPlaceFlags);
    } catch (...) {
        Unload();
        throw;
    }
}

void frmToolTip::Paint() {
    const double w = shape1Width_, h = shape1Height_;
    Surface& s = Canvas();
    s.Cls();
    long step = RoundToLong(155 / ((h / 15) / 2));
    auto k = static_cast<short>(step);
    // Translated first, so a system colour starts from its own value; one
    // that cannot be translated starts from black.
    const COLORREF base = TranslateColor(BackColor()).value_or(0);
    const int r = static_cast<int>(base & 0xFF), g = static_cast<int>((base >> 8) & 0xFF),
              b = static_cast<int>((base >> 16) & 0xFF);
    const auto shade = [&](int offset) {
        return RGB(std::clamp(r + offset, 0, 255), std::clamp(g + offset, 0, 255),
                   std::clamp(b + offset, 0, 255));
    };
    COLORREF colour = RGB(r, g, b);
    const long last = RoundToLong(h + 225);
    for (long row = 0; row <= last; row += 15) {
        s.Line(0, ScreenTwipsY(row), ScreenTwipsX(w), ScreenTwipsY(row), colour);
        if (k > 254 || k < 1) step = -step;
        k = static_cast<short>(k + step);
        colour = shade(k);
    }
    OwnedRegion outline = BalloonRegion(w, h);
    OwnedBrush black(CreateSolidBrush(0));
    FrameRgn(s.hDC(), outline.get(), black.get(), 1, 1);
    Invalidate();
}

} // namespace glim
