#include "cNeoCaption.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "ComPtr.h"
#include "GlimError.h"
#include "Handles.h"
#include "LateBound.h"
#include "OleColor.h"
#include "Text.h"

namespace glim {

namespace {

// "宋体" in code page 936: the face of the title and menu fonts.
constexpr const char* kSongTi936 = "\xCB\xCE\xCC\xE5";

// The glyph columns start here whatever the right part's geometry is.
constexpr long kGlyphOrigin = 240;
constexpr long kMiddleTileWidth = 52;
// Where the middle tiles start in the strip.
constexpr long kMiddleStart = 90;
// The window-menu box at the left of the caption.
constexpr RECT kSysMenuBox{12, 11, 42, 43};
// Where the menu bar is painted in the caption strip.
constexpr long kBarLeft = 10;
constexpr long kBarTop = 30;

[[noreturn]] void RaiseInvalidPicture() {
    RaiseError(kErrInvalidPicture);
}

HBITMAP PictureBitmap(IPicture* picture) {
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return HandleFromOle<HBITMAP>(handle);
}

void ValidateSkinPicture(IPicture* picture) {
    if (!picture) RaiseInvalidPicture();
    SHORT type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) RaiseInvalidPicture();
    const HBITMAP bitmap = PictureBitmap(picture);
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth < 1 || bm.bmHeight < 1)
        RaiseInvalidPicture();
}

bool HasStyle(HWND hWnd, LONG bits) {
    return (GetWindowLongA(hWnd, GWL_STYLE) & bits) != 0;
}

std::string WindowTextA(HWND hWnd) {
    const int n = GetWindowTextLengthA(hWnd);
    if (n <= 0) return {};
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hWnd, text.data(), n + 1)));
    return text;
}

bool IsDarkTitleSkin(short idx) {
    switch (idx) {
    case 10:
    case 11:
    case 15:
    case 19:
    case 22:
    case 23:
        return true;
    default:
        return false;
    }
}

ComPtr<IFont> NewSongTiFont() {
    ComPtr<IFont> font;
    if (FAILED(OleCreateFontIndirect(nullptr, IID_IFont, font.put_void()))) return nullptr;
    const Bstr name(Widen(kSongTi936, 936));
    font->put_Name(name.get());
    return font;
}

} // namespace

void cNeoCaption_ValidateSkinPictures(IPicture* PicCaption, IPicture* PicBorder) {
    ValidateSkinPicture(PicCaption);
    ValidateSkinPicture(PicBorder);
}

cNeoCaption::cNeoCaption() : captionFont_(NewSongTiFont()), menuFont_(NewSongTiFont()) {}

cNeoCaption::~cNeoCaption() {
    // The form must not keep a takeover or a menu bar that points here.
    Detach();
    UnlockUpdates();
}

void cNeoCaption::LockUpdates(HWND hWnd) {
    if (updateLock_) return;
    updateLock_.emplace(hWnd);
    if (!updateLock_->taken()) updateLock_.reset();
}

void cNeoCaption::UnlockUpdates() {
    updateLock_.reset();
}

HMENU cNeoCaption::ReleaseFrame(bool& wasAttached) {
    wasAttached = takeover_ && takeover_->Window();
    HMENU menu = nullptr;
    HMENU takenMenu = nullptr;
    if (takeover_) {
        takenMenu = takeover_->hMenu();
        takeover_->Detach();
    }
    if (menuBar_) {
        menu = menuBar_->get_hMenu();
        menuBar_->Detach();
        menuBar_->put_hMenu(nullptr);
    }
    // Before the first paint the bar has no menu yet; the takeover kept it.
    return menu ? menu : takenMenu;
}

void cNeoCaption::GiveBackFrame(HMENU menu, bool wasAttached) {
    if (!window_ || !IsWindow(window_)) return;
    if (menu) SetMenu(window_, menu);
    // The platform recomputes and paints its own frame.
    if (wasAttached)
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void cNeoCaption::Detach() {
    bool wasAttached = false;
    const HMENU menu = ReleaseFrame(wasAttached);
    GiveBackFrame(menu, wasAttached);
    // The form holds its GlimForm, which holds this painter: no cycle once
    // the frame is given back.
    form_.reset();
}

void cNeoCaption::Attach(IDispatch* F, IPicture* PicCaption, IPicture* PicBorder, long lButtonWidth,
                         long lButtonHeight, long lActiveLeftEnd, long lActiveRightStart,
                         long lActiveRightEnd, long lInactiveOffset, short MnuStyle, short idx) {
    // Nothing is locked or detached for pictures that cannot be painted from.
    cNeoCaption_ValidateSkinPictures(PicCaption, PicBorder);
    const HWND hWnd = GetProperty(F, "hWnd").ToHandle();

    struct UpdateLockScope {
        cNeoCaption* self;
        ~UpdateLockScope() { self->UnlockUpdates(); }
    } lockScope{this};
    LockUpdates(hWnd);

    // A new skin on the same window goes straight from frame to frame: a
    // platform frame in between would hand the form a passing size.
    bool wasAttached = false;
    HMENU carried = ReleaseFrame(wasAttached);
    if (window_ != hWnd || !wasAttached) {
        GiveBackFrame(carried, wasAttached);
        carried = nullptr;
    }
    form_ = F;
    idx_ = idx;
    // The same pictures again are the same skin: their copies and the
    // surfaces sized for them serve as they are.
    if (!captionPic_ || captionSource_.get() != PicCaption || borderSource_.get() != PicBorder) {
        captionSource_ = PicCaption;
        borderSource_ = PicBorder;
        captionPic_ = std::make_unique<cMemDC>();
        captionPic_->CreateFromPicture(PicCaption);
        borderPic_ = std::make_unique<cMemDC>();
        borderPic_->CreateFromPicture(PicBorder);
        strip_ = std::make_unique<cMemDC>();
        sides_ = std::make_unique<cMemDC>();
        bottom_ = std::make_unique<cMemDC>();
    }
    composed_.reset();
    ForgetShownButtons();
    lButtonWidth_ = lButtonWidth;
    lButtonHeight_ = lButtonHeight;
    lActiveLeftEnd_ = lActiveLeftEnd;
    lActiveRightStart_ = lActiveRightStart;
    lActiveRightEnd_ = lActiveRightEnd;
    lInactiveOffset_ = lInactiveOffset;
    window_ = hWnd;

    menuBar_ = MakeRef<cMenuBar>();
    menuBar_->Attach(window_, MnuStyle);
    menuBar_->cMenuBar_SetFont(menuFont_.get());
    menuBar_->cMenuBar_SetColors(activeMenuColor_, activeMenuColorOver_, inActiveMenuColor_,
                                 menuBackgroundColor_);
    menuBar_->put_CaptionHeight(captionPic_->Height());

    takeover_ = MakeRef<cNCCalcSize>();
    takeover_->Attach(this);
    // The window gave its menu up to the frame just released.
    if (carried && !takeover_->hMenu()) takeover_->KeepMenu(carried);
    takeover_->Display(F);

    if (IsWindowVisible(window_)) {
        SetForegroundWindow(window_);
        SetFocus(window_);
        SendMessageA(window_, WM_NCACTIVATE, 1, 0);
    }
}

long cNeoCaption::GetTopMarginHeight() {
    return captionPic_ ? captionPic_->Height() : 0;
}

long cNeoCaption::GetLeftMarginWidth() {
    return borderPic_ ? borderPic_->Height() : 0;
}

long cNeoCaption::GetRightMarginWidth() {
    return borderPic_ ? borderPic_->Height() : 0;
}

long cNeoCaption::GetBottomMarginHeight() {
    return borderPic_ ? borderPic_->Height() : 0;
}

bool& cNeoCaption::PresentFlag(long button) {
    return button == btnClose ? bClosePresent_ : button == btnMaximize ? bMaxPresent_ : bMinPresent_;
}

bool& cNeoCaption::PressedFlag(long button) {
    return button == btnClose ? bClosePressed_ : button == btnMaximize ? bMaxPressed_ : bMinPressed_;
}

RECT& cNeoCaption::ButtonRectangle(long button) {
    return button == btnClose ? closeRect_ : button == btnMaximize ? maxRect_ : minRect_;
}

RECT cNeoCaption::ButtonRect(Button button) const {
    return const_cast<cNeoCaption*>(this)->ButtonRectangle(button);
}

bool cNeoCaption::ButtonPresent(Button button) const {
    return const_cast<cNeoCaption*>(this)->PresentFlag(button);
}

bool cNeoCaption::ButtonPressed(Button button) const {
    return const_cast<cNeoCaption*>(this)->PressedFlag(button);
}

HICON cNeoCaption::FormIcon() const {
    // A form without an icon simply shows none.
    Variant value;
    try {
        value = GetProperty(form_.get(), "Icon");
    } catch (const Error&) {
        return nullptr;
    }
    IUnknown* unknown = nullptr;
    if (V_VT(value.get()) == VT_DISPATCH) unknown = V_DISPATCH(value.get());
    if (V_VT(value.get()) == VT_UNKNOWN) unknown = V_UNKNOWN(value.get());
    ComPtr<IPicture> picture;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IPicture, picture.put_void()))) return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return HandleFromOle<HICON>(handle);
}

void cNeoCaption::cNeoCaption_FontToLogFont(IFont* font, HDC hDC, LOGFONTA& lf) {
    if (!font) return;
    Bstr name;
    if (SUCCEEDED(font->get_Name(name.put())) && name.get())
        lstrcpynA(lf.lfFaceName, Narrow(name.get()).c_str(), LF_FACESIZE);

    CY size{};
    font->get_Size(&size);
    const int points = static_cast<int>(std::nearbyint(static_cast<double>(size.int64) / 10000.0));
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(hDC, LOGPIXELSY), 72);
    BOOL flag = FALSE;
    font->get_Bold(&flag);
    lf.lfWeight = flag ? FW_BOLD : FW_NORMAL;
    flag = FALSE;
    font->get_Italic(&flag);
    lf.lfItalic = flag ? 255 : 0;
    flag = FALSE;
    font->get_Underline(&flag);
    lf.lfUnderline = flag ? 255 : 0;
    flag = FALSE;
    font->get_Strikethrough(&flag);
    lf.lfStrikeOut = flag ? 255 : 0;
    SHORT charset = 0;
    font->get_Charset(&charset);
    lf.lfCharSet = static_cast<BYTE>(charset);
}

void cNeoCaption::cNeoCaption_DrawButton(HDC hDC, long button, long state) {
    if (!PresentFlag(button) || !captionPic_) return;
    long k = 0;
    if (button == btnMinimize)
        k = 3;
    else if (button == btnMaximize)
        k = HasStyle(window_, WS_MAXIMIZE) ? 1 : 2;
    // An inactive window takes the cells after the four active ones, drawn
    // on the inactive caption, where the picture has room for them.
    const long inactiveCells = kGlyphOrigin + 8 * lButtonWidth_;
    if (takeover_ && !takeover_->WindowActive() && inactiveCells <= captionPic_->Width() &&
        inactiveCells <= lInactiveOffset_)
        k += 4;
    const RECT& r = ButtonRectangle(button);
    BitBlt(hDC, r.left, r.top, lButtonWidth_, lButtonHeight_, captionPic_->hDC(),
           kGlyphOrigin + k * lButtonWidth_, state ? lButtonHeight_ : 0, SRCCOPY);
}

void cNeoCaption::ShowButton(HDC hDC, long button, long state) {
    long& shown = ShownState(button);
    if (shown == state) return;
    cNeoCaption_DrawButton(hDC, button, state);
    shown = state;
}

long& cNeoCaption::ShownState(long button) {
    return shownState_[button];
}

void cNeoCaption::ForgetShownButtons() {
    for (long& shown : shownState_)
        shown = -1;
}

bool cNeoCaption::FrameLook::operator==(const FrameLook& o) const {
    return EqualRect(&frame, &o.frame) && active == o.active && style == o.style && title == o.title &&
           icon == o.icon && std::memcmp(&font, &o.font, sizeof font) == 0 && menu == o.menu;
}

void cNeoCaption::NCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) {
    struct UpdateLockScope {
        cNeoCaption* self;
        ~UpdateLockScope() { self->UnlockUpdates(); }
    } lockScope{this};
    if (!captionPic_ || !borderPic_ || !strip_ || !sides_ || !bottom_ || !takeover_) return;
    const long capH = captionPic_->Height();
    const long bh = borderPic_->Height();
    // Without tiles the side columns could never be filled.
    if (capH < 1 || bh < 1) return;

    FrameLook look;
    look.frame = RECT{lLeft, lTop, lRight, lBottom};
    look.active = takeover_->WindowActive();
    look.style =
        GetWindowLongA(window_, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU | WS_MAXIMIZE);
    look.title = WindowTextA(window_);
    if (!look.title.empty()) look.icon = FormIcon();
    cNeoCaption_FontToLogFont(captionFont_.get(), hDC, look.font);
    if (look.active) look.font.lfWeight = FW_BOLD;
    if (menuBar_) {
        menuBar_->put_hMenu(takeover_->hMenu());
        look.menu = menuBar_->RenderedLook();
    }
    if (!composed_ || !(*composed_ == look)) {
        composed_.reset();
        if (!Compose(look, lLeft, lTop, lRight, lBottom)) return;
        composed_ = std::move(look);
    }

    // Four copies put the frame on the window, so it never flickers.
    BitBlt(hDC, 0, 0, strip_->Width(), strip_->Height(), strip_->hDC(), 0, 0, SRCCOPY);
    const long top = lTop + capH;
    const long columnHeight = lBottom - top;
    if (columnHeight > 0) {
        BitBlt(hDC, lLeft, top, bh, columnHeight, sides_->hDC(), 0, top, SRCCOPY);
        BitBlt(hDC, lRight - bh, top, bh, columnHeight, sides_->hDC(), bh, top, SRCCOPY);
    }
    const long yb = lBottom - bh < capH ? capH : lBottom - bh;
    BitBlt(hDC, lLeft, yb, bottom_->Width(), bh, bottom_->hDC(), 0, 0, SRCCOPY);
    // The strip holds every title button in its normal look.
    for (long& shown : shownState_)
        shown = 0;
}

bool cNeoCaption::Compose(const FrameLook& look, long lLeft, long lTop, long lRight, long lBottom) {
    const long capH = captionPic_->Height();
    const long bh = borderPic_->Height();
    strip_->SetSize(lRight - lLeft + 1, capH);
    sides_->SetSize(2 * borderPic_->Width(), lBottom - lTop + 1);
    bottom_->SetSize(lRight - lLeft + 1, bh);
    const HDC strip = strip_->hDC();
    if (!strip || !sides_->hDC() || !bottom_->hDC()) return false;

    const OwnedFont titleFont(CreateFontIndirectA(&look.font));
    const SelectGuard titleSelection(strip, titleFont.get());

    const long o = look.active ? 0 : lInactiveOffset_;
    BitBlt(strip, lLeft, lTop, lLeft + lActiveLeftEnd_, capH, captionPic_->hDC(), o, 0, SRCCOPY);
    const long w = lActiveRightEnd_ - lActiveRightStart_ + 1;
    long x = lRight - w + 1;
    bool showTitle = true;
    if (x < lLeft + w) {
        x = lLeft + w;
        showTitle = false;
    }
    BitBlt(strip, x, lTop, w, capH, captionPic_->hDC(), o + lActiveRightStart_, 0, SRCCOPY);
    PlaceTitleButtons(look.style, x + w - bh + 4, lTop);
    for (long tx = lLeft + kMiddleStart; tx < x; tx += kMiddleTileWidth) {
        const long tw = tx + kMiddleTileWidth > x ? x - tx : kMiddleTileWidth;
        BitBlt(strip, tx, 0, tw, capH, captionPic_->hDC(), o + lActiveLeftEnd_ + 1, 0, SRCCOPY);
    }
    if (showTitle) DrawTitle(look, lLeft, lRight);
    if (menuBar_) {
        LOGFONTA barLf = look.font;
        barLf.lfWeight = FW_NORMAL;
        const OwnedFont barFont(CreateFontIndirectA(&barLf));
        // Hit rectangles in client coordinates: the client area starts
        // below the caption and right of the left border.
        menuBar_->Render(barFont.get(), strip, kBarLeft, kBarTop, x + 80, capH / 2, kBarLeft - bh,
                         kBarTop - capH);
    }
    ComposeBorders(lLeft, lTop, lRight, lBottom);
    return true;
}

// Right to left from `right`, one slot a glyph and a pixel wide; an absent
// button leaves its slot to the next one.
void cNeoCaption::PlaceTitleButtons(LONG style, long right, long lTop) {
    const HDC strip = strip_->hDC();
    bMaxPresent_ = (style & WS_MAXIMIZEBOX) != 0;
    bMinPresent_ = (style & WS_MINIMIZEBOX) != 0;
    bClosePresent_ = (style & WS_SYSMENU) != 0;
    const long slot = lButtonWidth_ + 1;
    const auto place = [&](RECT& rect, long edge) {
        rect.left = edge - slot;
        rect.top = lTop + 5;
        rect.right = rect.left + slot;
        rect.bottom = rect.top + lButtonHeight_;
    };
    if (bClosePresent_) {
        place(closeRect_, right);
        cNeoCaption_DrawButton(strip, btnClose, 0);
    } else {
        closeRect_.left = right;
    }
    if (bMaxPresent_) {
        place(maxRect_, closeRect_.left);
        cNeoCaption_DrawButton(strip, btnMaximize, 0);
    } else {
        maxRect_.left = closeRect_.left;
    }
    if (bMinPresent_) {
        place(minRect_, maxRect_.left);
        cNeoCaption_DrawButton(strip, btnMinimize, 0);
    }
}

// The window text and icon, in the title font the strip holds.
void cNeoCaption::DrawTitle(const FrameLook& look, long lLeft, long lRight) {
    const HDC strip = strip_->hDC();
    const long capH = captionPic_->Height();
    const long bh = borderPic_->Height();
    SetBkMode(strip, TRANSPARENT);
    long color = RGB(170, 180, 167);
    if (look.active) color = IsDarkTitleSkin(idx_) ? RGB(20, 20, 20) : 0xFFFFFF;
    SetTextColor(strip, TranslateColor(static_cast<OLE_COLOR>(color)).value_or(CLR_INVALID));
    if (look.title.empty()) return;
    RECT textRect{lLeft + 28, 8, lRight - 80, 8 + (capH - bh - 2) / 2};
    DrawTextA(strip, look.title.c_str(), -1, &textRect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    DrawIconEx(strip, 7, 5, look.icon, 16, 16, 0, nullptr, DI_NORMAL);
}

// The side columns and the bottom strip, from the border picture's tiles.
void cNeoCaption::ComposeBorders(long lLeft, long lTop, long lRight, long lBottom) {
    const HDC sides = sides_->hDC();
    const HDC bottom = bottom_->hDC();
    const HDC border = borderPic_->hDC();
    const long capH = captionPic_->Height();
    const long bh = borderPic_->Height();
    // Side columns: one tile each, then the filled part copied below itself
    // in rounds of doubling height.
    const long top = lTop + capH;
    BitBlt(sides, 0, top, bh, bh, border, 0, 0, SRCCOPY);
    BitBlt(sides, bh, top, bh, bh, border, 4 * bh, 0, SRCCOPY);
    for (long y = capH + bh, h = bh; y < lBottom - bh; y += h, h *= 2)
        BitBlt(sides, 0, lTop + y, 2 * bh, h, sides, 0, top, SRCCOPY);
    // Bottom strip: whole tiles from the first one on while they start left
    // of the corner, the filled part copied after itself in doubling rounds.
    const long first = lLeft + bh;
    if (first < lRight - bh) {
        const long end = first + (lRight - bh - first + bh - 1) / bh * bh;
        BitBlt(bottom, first, 0, bh, bh, border, 3 * bh, 0, SRCCOPY);
        for (long x = first + bh; x < end; x += x - first)
            BitBlt(bottom, x, 0, std::min(x - first, end - x), bh, bottom, first, 0, SRCCOPY);
    }
    BitBlt(bottom, lLeft, 0, bh, bh, border, 2 * bh, 0, SRCCOPY);
    BitBlt(bottom, lRight - bh, 0, bh, bh, border, 6 * bh, 0, SRCCOPY);
}

void cNeoCaption::HitTest(long X, long Y, long& eHitTest) {
    const POINT pt{X, Y};
    // Where a menu bar is drawn, the window-menu box stops above its band:
    // a click on the first bar item must open that item.
    RECT box = kSysMenuBox;
    if (menuBar_ && menuBar_->cMenuBar_GetItemCount() > 0 && box.bottom > kBarTop) box.bottom = kBarTop;
    if (PtInRect(&box, pt)) {
        eHitTest = HTSYSMENU;
        return;
    }
    bool inside[3] = {};
    for (long b = btnClose; b <= btnMinimize; ++b) {
        inside[b] = PresentFlag(b) && PtInRect(&ButtonRectangle(b), pt);
        if (inside[b]) eHitTest = HTSYSMENU;
    }
    // A pressed button the cursor has left looks normal again; it stays
    // pressed until the release.  The DC is taken only when a button's look
    // changes: hit tests come with every mouse move.
    std::optional<NonClientDC> dc;
    for (long b = btnClose; b <= btnMinimize; ++b) {
        if (!PresentFlag(b) || PressedFlag(b) == inside[b] || ShownState(b) == 0) continue;
        if (!dc) dc.emplace(window_);
        ShowButton(dc->get(), b, 0);
    }
}

void cNeoCaption::NCMouseDown(long X, long Y, bool& bHandled, HDC hDC, long, long, long, long) {
    const POINT pt{X, Y};
    for (long b = btnClose; b <= btnMinimize; ++b) {
        if (!PresentFlag(b) || !PtInRect(&ButtonRectangle(b), pt)) continue;
        ShowButton(hDC, b, 1);
        PressedFlag(b) = true;
        bHandled = true;
    }
}

void cNeoCaption::NCMouseUp(long X, long Y, HDC hDC, long, long, long, long) {
    const POINT pt{X, Y};
    for (long b = btnClose; b <= btnMinimize; ++b) {
        if (!PresentFlag(b) || !PressedFlag(b) || !PtInRect(&ButtonRectangle(b), pt) || !takeover_) continue;
        long command = SC_MINIMIZE;
        if (b == btnClose) command = SC_CLOSE;
        if (b == btnMaximize) command = HasStyle(window_, WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
        takeover_->SysCommand(command);
    }
    for (long b = btnClose; b <= btnMinimize; ++b) {
        ShowButton(hDC, b, 0);
        PressedFlag(b) = false;
    }
}

void cNeoCaption::InitMenuPopup(WPARAM wParam, LPARAM) {
    if (menuBar_) menuBar_->cMenuBar_PreparePopup(reinterpret_cast<HMENU>(wParam));
}

void cNeoCaption::ExitMenuLoop() {
    if (menuBar_) menuBar_->cMenuBar_RestoreMenus();
}

bool cNeoCaption::AltKeyAccelerator(long vKey) {
    return menuBar_ ? menuBar_->cMenuBar_AltKeyAccelerator(vKey) : false;
}

} // namespace glim
