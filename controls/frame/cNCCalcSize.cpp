#include "cNCCalcSize.h"

#include <windowsx.h>

#include <cmath>
#include <cstring>

#include "DisplayCache.h"
#include "GlimError.h"
#include "Handles.h"
#include "Interaction.h"
#include "LateBound.h"
#include "MSubclass.h"

namespace glim {

namespace {

// The messages taken over, in subscription order; WM_SIZE only for an MDI
// child.  A title-button press holds the capture: its release comes as a
// client message, and so do its moves, which are taken only while it lasts.
constexpr UINT kMessages[] = {WM_NCCALCSIZE,  WM_NCPAINT,         WM_NCACTIVATE,     WM_NCLBUTTONDOWN,
                              WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCHITTEST,      WM_SETCURSOR,
                              WM_INITMENU,    WM_INITMENUPOPUP,   WM_STYLECHANGED,   WM_SETTEXT,
                              WM_ACTIVATEAPP, WM_ENTERMENULOOP,   WM_EXITMENULOOP,   WM_SIZE,
                              WM_DESTROY,     WM_LBUTTONUP,       WM_CAPTURECHANGED, WM_LBUTTONDOWN};

constexpr UINT kFrameChangedFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
constexpr UINT kDragFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER;

// The screen width in whole twips divided by whole twips per pixel.
int ScreenWidthPixels() {
    const DisplayMetrics screen = CurrentDisplay();
    const double twipsPerPixel = 1440.0 / screen.dpiX;
    const long whole = std::lrint(twipsPerPixel);
    const long widthTwips = std::lrint(screen.width * twipsPerPixel);
    return whole > 0 ? static_cast<int>(widthTwips / whole) : screen.width;
}

// The point of a non-client mouse message, in screen coordinates: signed,
// as a screen left of or above the primary one has negative positions.
POINT ScreenPointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The point of a client mouse message (client coordinates) on the screen.
POINT ScreenPointOf(HWND hWnd, LPARAM lParam) {
    POINT p = ScreenPointOf(lParam);
    ClientToScreen(hWnd, &p);
    return p;
}

POINT RelativeTo(HWND hWnd, POINT p, RECT& windowRect) {
    GetWindowRect(hWnd, &windowRect);
    p.x -= windowRect.left;
    p.y -= windowRect.top;
    OffsetRect(&windowRect, -windowRect.left, -windowRect.top);
    return p;
}

} // namespace

cNCCalcSize::~cNCCalcSize() {
    Detach();
}

void cNCCalcSize::Redraw(HWND hWnd) {
    RedrawWindow(hWnd, nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

void cNCCalcSize::Display(IDispatch* form) {
    // The frame is redrawn below whether or not the form can refresh itself.
    try {
        CallMethod(form, "Refresh");
    } catch (const Error&) {
    }
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
}

void cNCCalcSize::TitleBarMouseDown() {
    POINT p{};
    GetCursorPos(&p);
    ReleaseCapture();
    SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)));
}

void cNCCalcSize::SysCommand(long eCmd) {
    PostMessageA(window_, WM_SYSCOMMAND, static_cast<WPARAM>(eCmd), 0);
}

void cNCCalcSize::Attach(INCAreaModifier* iTo) {
    Detach();
    window_ = iTo->hWnd();
    hMenu_ = GetMenu(window_);
    bMDIChild_ = cNCCalcSize_IsMDIChild(window_);
    for (const UINT msg : kMessages)
        if (msg != WM_SIZE || bMDIChild_) AttachMessage(this, window_, msg);
    lCaptionMetric_ = GetSystemMetrics(SM_CYCAPTION);
    // The window had its last WM_NCACTIVATE before the takeover: an active
    // window is painted active from the first paint, not composed inactive
    // only to be composed again at the activation that follows.
    bWindowActive_ = GetActiveWindow() == window_;
    SetPropA(window_, kNCImplementationProp, reinterpret_cast<HANDLE>(iTo));
    implementation_ = iTo;
    mDeclares_AttachKeyboardHook(this);
}

void cNCCalcSize::Detach() {
    mDeclares_DetachKeyboardHook(this);
    if (bButtonArmed_) {
        bButtonArmed_ = false;
        if (window_) {
            DetachMessage(this, window_, WM_MOUSEMOVE);
            if (GetCapture() == window_) ReleaseCapture();
        }
    }
    if (window_) {
        for (const UINT msg : kMessages)
            if (msg != WM_SIZE || bMDIChild_) DetachMessage(this, window_, msg);
        bMDIChild_ = false;
    }
    work_.reset();
    if (window_) RemovePropA(window_, kNCImplementationProp);
    implementation_ = nullptr;
    window_ = nullptr;
    hMenu_ = nullptr;
}

bool cNCCalcSize::GetImplementation(Ref<INCAreaModifier>& implementation) {
    if (!window_ || !implementation_) return false;
    implementation = Ref<INCAreaModifier>(implementation_);
    return true;
}

bool cNCCalcSize::cNCCalcSize_AltKeyAccelerator(long vKey) {
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) return false;
    return implementation->AltKeyAccelerator(vKey);
}

bool cNCCalcSize::cNCCalcSize_IsMDIChild(HWND hWnd) {
    char name[260] = {};
    const int n = GetClassNameA(GetParent(hWnd), name, 259);
    name[n > 0 ? n : 0] = '\0';
    return std::strcmp(name, "MDIClient") == 0;
}

MsgResponseMode cNCCalcSize::MsgResponse() {
    switch (CurrentMessage()) {
    case WM_SIZE:
    case WM_SETTEXT:
    case WM_SETCURSOR:
    case WM_STYLECHANGED:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_LBUTTONUP:
    // Its handler calls the previous procedure itself, and once is enough:
    // each call paints the platform's caption under ours.
    case WM_NCACTIVATE:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        return mrNoDefault;
    default:
        return mrDefaultBefore;
    }
}

void cNCCalcSize::Repaint() {
    if (window_) WindowProc(window_, WM_NCPAINT, 0, 0);
}

LRESULT cNCCalcSize::WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    switch (iMsg) {
    case WM_DESTROY:
        Detach();
        return 0;
    case WM_SIZE:
        CallOldWindowProc(hWnd, iMsg, wParam, lParam);
        Repaint();
        return 0;
    case WM_SETTEXT:
    case WM_STYLECHANGED: {
        const LRESULT result = CallOldWindowProc(hWnd, iMsg, wParam, lParam);
        if (!bInCursor_) Repaint();
        return result;
    }
    case WM_NCLBUTTONDBLCLK:
        return OnNCLButtonDblClk(wParam, lParam);
    case WM_ACTIVATEAPP:
        bAppActive_ = wParam != 0;
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
    case WM_NCCALCSIZE:
        return OnNCCalcSize(wParam, lParam);
    case WM_NCHITTEST:
        return OnNCHitTest(hWnd, wParam, lParam);
    case WM_NCPAINT:
        return OnNCPaint(hWnd, wParam, lParam);
    case WM_NCACTIVATE:
        return OnNCActivate(hWnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        OnNCLButtonDown(wParam, lParam);
        return 0;
    case WM_NCLBUTTONUP:
        OnNCLButtonUp(ScreenPointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(lParam);
        return 0;
    case WM_LBUTTONUP:
        // The release of a title-button press, wherever it happens.
        if (!bButtonArmed_) return CallOldWindowProc(hWnd, iMsg, wParam, lParam);
        OnNCLButtonUp(ScreenPointOf(window_, lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (bButtonArmed_) FollowButtonPress(lParam);
        return 0;
    case WM_CAPTURECHANGED:
        // Someone else took the mouse: the press ends without a command.
        if (bButtonArmed_ && reinterpret_cast<HWND>(lParam) != window_) CancelButtonPress();
        return 0;
    case WM_INITMENU:
    case WM_ENTERMENULOOP:
    case WM_INITMENUPOPUP:
    case WM_EXITMENULOOP:
        OnMenuLoop(hWnd, iMsg, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

LRESULT cNCCalcSize::OnNCHitTest(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) return CallOldWindowProc(hWnd, WM_NCHITTEST, wParam, lParam);
    // The point asked about, which need not be the cursor's.
    lastHitCode_ = cNCCalcSize_NCHitTest(ScreenPointOf(lParam));
    // The menu bar band reaches the bar as client mouse messages.
    return lastHitCode_ == HTMENU ? HTCLIENT : lastHitCode_;
}

LRESULT cNCCalcSize::OnNCActivate(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    bWindowActive_ = wParam != 0;
    // An update region of -1 asks the platform to keep the state and
    // leave the frame unpainted: the repaint below paints it.  A
    // maximized MDI child's frame is the platform's to paint.
    const LRESULT result = CallOldWindowProc(hWnd, WM_NCACTIVATE, wParam, bMaximizedMDIChild_ ? lParam : -1);
    Repaint();
    return result;
}

void cNCCalcSize::OnLButtonDown(LPARAM lParam) {
    // A press queued while a title-button press held the capture comes
    // as a client message even when it lies on a title button.
    Ref<INCAreaModifier> implementation;
    if (bButtonArmed_ || !GetImplementation(implementation)) return;
    RECT r{};
    const POINT p = RelativeTo(window_, ScreenPointOf(window_, lParam), r);
    const POINT client = ScreenPointOf(lParam);
    RECT cr{};
    GetClientRect(window_, &cr);
    if (PtInRect(&cr, client)) return;
    bool handled = false;
    {
        const NonClientDC dc(window_);
        implementation->NCMouseDown(p.x, p.y, handled, dc.get(), r.left, r.top, r.right, r.bottom);
    }
    if (handled) ArmButtonPress();
}

void cNCCalcSize::FollowButtonPress(LPARAM lParam) {
    // No hit tests while the capture is held: the pressed look follows the
    // cursor from here.
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) return;
    RECT r{};
    const POINT p = RelativeTo(window_, ScreenPointOf(window_, lParam), r);
    long code = HTCLIENT;
    implementation->HitTest(p.x, p.y, code);
}

void cNCCalcSize::OnMenuLoop(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    CallOldWindowProc(hWnd, iMsg, wParam, lParam);
    Repaint();
    Ref<INCAreaModifier> implementation;
    if (iMsg == WM_INITMENUPOPUP && HIWORD(lParam) == 0 && GetImplementation(implementation))
        implementation->InitMenuPopup(wParam, lParam);
    else if (iMsg == WM_EXITMENULOOP && GetImplementation(implementation))
        implementation->ExitMenuLoop();
}

LRESULT cNCCalcSize::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    bInCursor_ = true;
    const LRESULT result = CallOldWindowProc(window_, WM_SETCURSOR, wParam, lParam);
    // The platform menu bar is taken off for good, the window hidden
    // meanwhile so that no frame is drawn for it.  Only then: a window
    // without WS_VISIBLE is passed over when input is routed, and this
    // message comes with every mouse move and press, so a click arriving
    // meanwhile from another thread went to the window beneath.
    if (GetMenu(window_)) {
        const LONG style = GetWindowLongA(window_, GWL_STYLE);
        SetWindowLongA(window_, GWL_STYLE, style & ~WS_VISIBLE);
        SetMenu(window_, nullptr);
        SetWindowLongA(window_, GWL_STYLE, style);
    }
    bInCursor_ = false;
    return result;
}

LRESULT cNCCalcSize::OnNCCalcSize(WPARAM wParam, LPARAM lParam) {
    bMaximizedMDIChild_ = bMDIChild_ && IsZoomed(window_);
    // Somebody else may have changed the property; the frame is recomputed
    // whenever that should show.
    implementation_ =
        window_ ? reinterpret_cast<INCAreaModifier*>(GetPropA(window_, kNCImplementationProp)) : nullptr;
    lCaptionMetric_ = GetSystemMetrics(SM_CYCAPTION);
    // The previous procedure already turned the rectangle into the client
    // rectangle in place; a second call would shrink it twice.
    if (!wParam) return 0;

    NCCALCSIZE_PARAMS params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS pos = *params.lppos;
    params.rgrc[0] = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};

    lLeftMargin_ = lRightMargin_ = GetSystemMetrics(SM_CXFRAME);
    lTopMargin_ = lCaptionMetric_ + GetSystemMetrics(SM_CYFRAME);
    lBottomMargin_ = GetSystemMetrics(SM_CYFRAME);
    Ref<INCAreaModifier> implementation;
    if (!bMaximizedMDIChild_ && GetImplementation(implementation)) {
        lLeftMargin_ = implementation->GetLeftMarginWidth();
        lTopMargin_ = implementation->GetTopMarginHeight();
        lRightMargin_ = implementation->GetRightMarginWidth();
        lBottomMargin_ = implementation->GetBottomMarginHeight();
    }

    params.rgrc[0].left += lLeftMargin_;
    params.rgrc[0].top += lTopMargin_;
    params.rgrc[0].right -= lRightMargin_;
    params.rgrc[0].bottom -= lBottomMargin_;
    params.rgrc[1] = params.rgrc[0];
    *reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam) = params;
    return WVR_VALIDRECTS;
}

LRESULT cNCCalcSize::OnNCPaint(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    if (!IsWindowVisible(hWnd)) return 0;
    bMaximizedMDIChild_ = bMDIChild_ && IsZoomed(hWnd);
    if (bMaximizedMDIChild_) return CallOldWindowProc(hWnd, WM_NCPAINT, wParam, lParam);

    const NonClientDC dc(window_);
    RECT r{};
    GetWindowRect(window_, &r);
    OffsetRect(&r, -r.left, -r.top);
    Ref<INCAreaModifier> implementation;
    if (GetImplementation(implementation))
        implementation->NCPaint(dc.get(), r.left, r.top, r.right, r.bottom);
    else
        DefaultNCPaint(dc.get(), r.left, r.top, r.right, r.bottom);
    return 0;
}

long cNCCalcSize::cNCCalcSize_NCHitTest(POINT screen) {
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) return HTNOWHERE;

    long code = HTCLIENT;
    const bool sizing = (GetWindowLongA(window_, GWL_STYLE) & WS_THICKFRAME) != 0;
    RECT wr{};
    const POINT p = RelativeTo(window_, screen, wr);
    const long w = wr.right, h = wr.bottom;
    const long L = lLeftMargin_, T = lTopMargin_, R = lRightMargin_, B = lBottomMargin_;
    const long caption = lCaptionMetric_;

    if (PtInRect(&wr, p)) {
        long sizingCode = 0;
        if (p.x <= L)
            sizingCode = p.y <= B ? HTTOPLEFT : p.y >= h - B ? HTBOTTOMLEFT : HTLEFT;
        else if (p.x >= w - R)
            sizingCode = p.y <= B ? HTTOPRIGHT : p.y >= h - B ? HTBOTTOMRIGHT : HTRIGHT;
        else if (p.y <= B)
            sizingCode = HTTOP;
        else if (p.y >= h - B)
            sizingCode = HTBOTTOM;
        else if (p.y <= T && p.y <= caption + B)
            code = p.x <= caption ? HTSYSMENU : HTCAPTION;
        // Below the caption inside the top margin lies the menu bar: client.
        if (sizingCode && sizing) code = sizingCode;
    }
    implementation->HitTest(p.x, p.y, code);
    return code;
}

void cNCCalcSize::OnNCLButtonDown(WPARAM wParam, LPARAM lParam) {
    // A one-pixel nudge whose direction alternates from press to press.
    if (!probeDx_) probeDx_ = 1;
    if (!probeDy_) probeDy_ = 1;
    probeDx_ = -probeDx_;
    probeDy_ = -probeDy_;
    mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(probeDx_), static_cast<DWORD>(probeDy_), 0, 0);

    const POINT press = ScreenPointOf(lParam);
    const long code = cNCCalcSize_NCHitTest(press);
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) {
        // Nothing computed a code of ours: the platform's own code goes on.
        CallOldWindowProc(window_, WM_NCLBUTTONDOWN, wParam, lParam);
        Repaint();
        return;
    }
    if (lastHitCode_ == HTCAPTION) {
        if (!bWindowActive_) SetForegroundWindow(window_);
        cNCCalcSize_DragWindow();
        return;
    }

    if (PressTitleButton(implementation.get(), press)) return;
    CallOldWindowProc(window_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), lParam);
    Repaint();
}

bool cNCCalcSize::PressTitleButton(INCAreaModifier* implementation, POINT screen) {
    bool handled = false;
    {
        RECT r{};
        const POINT p = RelativeTo(window_, screen, r);
        const NonClientDC dc(window_);
        implementation->NCMouseDown(p.x, p.y, handled, dc.get(), r.left, r.top, r.right, r.bottom);
    }
    if (handled) ArmButtonPress();
    return handled;
}

void cNCCalcSize::ArmButtonPress() {
    // A release outside the window would never reach a non-client handler
    // and would leave the button armed for a later stray release.
    if (!bButtonArmed_) AttachMessage(this, window_, WM_MOUSEMOVE);
    bButtonArmed_ = true;
    SetCapture(window_);
}

void cNCCalcSize::DisarmButtonPress() {
    if (!bButtonArmed_) return;
    // Cleared first: releasing the capture sends WM_CAPTURECHANGED.
    bButtonArmed_ = false;
    DetachMessage(this, window_, WM_MOUSEMOVE);
    if (GetCapture() == window_) ReleaseCapture();
}

void cNCCalcSize::CancelButtonPress() {
    DisarmButtonPress();
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) return;
    RECT r{};
    GetWindowRect(window_, &r);
    OffsetRect(&r, -r.left, -r.top);
    const NonClientDC dc(window_);
    // A point outside every button: nothing runs, everything is disarmed.
    implementation->NCMouseUp(-1, -1, dc.get(), r.left, r.top, r.right, r.bottom);
}

void cNCCalcSize::OnNCLButtonUp(POINT screen) {
    DisarmButtonPress();
    Ref<INCAreaModifier> implementation;
    if (!GetImplementation(implementation)) return;
    RECT r{};
    const POINT p = RelativeTo(window_, screen, r);
    const NonClientDC dc(window_);
    implementation->NCMouseUp(p.x, p.y, dc.get(), r.left, r.top, r.right, r.bottom);
}

LRESULT cNCCalcSize::OnNCLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    // The second click of a double click on a title button is a press of
    // that button; passed on, it would read as a window-menu double click,
    // which closes the window.
    Ref<INCAreaModifier> implementation;
    if (GetImplementation(implementation) && PressTitleButton(implementation.get(), ScreenPointOf(lParam)))
        return 0;
    const LRESULT result = CallOldWindowProc(window_, WM_NCLBUTTONDBLCLK, wParam, lParam);
    if (!bInCursor_) Repaint();
    return result;
}

void cNCCalcSize::cNCCalcSize_DragWindow() {
    // Only a child window lives in its parent's client coordinates; the
    // parent reported for a top-level popup is its owner.
    const HWND parent = (GetWindowLongA(window_, GWL_STYLE) & WS_CHILD) ? GetParent(window_) : nullptr;
    RECT r{};
    GetWindowRect(window_, &r);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    POINT last{};
    GetCursorPos(&last);
    const LONG style = GetWindowLongA(window_, GWL_STYLE);

    while (GetAsyncKeyState(VK_LBUTTON) != 0 && !(style & WS_MAXIMIZE) && window_ && IsWindow(window_)) {
        POINT c{};
        GetCursorPos(&c);
        if (c.x != last.x || c.y != last.y) {
            SetWindowPos(window_, nullptr, r.left + c.x - last.x, r.top + c.y - last.y, 0, 0, kDragFlags);
            last = c;
            GetWindowRect(window_, &r);
            if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        }
        if (!DoEvents()) break;
        Sleep(1);
    }
}

HDC cNCCalcSize::WorkDC() {
    // Made at the first plain paint: a painter that takes over the frame
    // never needs it.
    if (!work_ && window_) {
        work_ = std::make_unique<cMemDC>();
        work_->SetSize(ScreenWidthPixels(), 4 * lCaptionMetric_);
    }
    return work_ ? work_->hDC() : nullptr;
}

void cNCCalcSize::DefaultNCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) {
    const long CX = GetSystemMetrics(SM_CXFRAME), CY = GetSystemMetrics(SM_CYFRAME);
    const long C = GetSystemMetrics(SM_CYCAPTION);
    const bool active = bWindowActive_;
    const HBRUSH caption = GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const HBRUSH border = GetSysColorBrush(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);

    const RECT borders[] = {{lLeft, CY, CX, lBottom - CY},
                            {lLeft, lTop, lRight, CY},
                            {lRight - CX, CY, lRight, lBottom - CY},
                            {lLeft, lBottom - CY, lRight, lBottom},
                            {lLeft, CX + C - 1, lRight, CX + C}};
    for (const RECT& b : borders)
        FillRect(hDC, &b, border);

    const RECT K{lLeft + CX, lTop + CY, lRight - CX, lTop + CY + C - 1};
    const long Kw = K.right - K.left, Kh = K.bottom - K.top;
    const HDC work = WorkDC();
    if (work) {
        const RECT text{0, 0, Kw - 3 * Kh - 2, Kh};
        DrawCaption(window_, work, &text, DC_TEXT | DC_ICON | (active ? DC_ACTIVE : 0));
        const RECT rest{Kw - 3 * Kh - 2, 0, Kw, Kh};
        FillRect(work, &rest, caption);

        RECT button{Kw - Kh, 2, Kw - 2, Kh - 2};
        DrawFrameControl(work, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE);
        OffsetRect(&button, -(button.right - button.left + 2), 0);
        DrawFrameControl(work, &button, DFC_CAPTION,
                         IsZoomed(window_) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX);
        OffsetRect(&button, -(button.right - button.left), 0);
        DrawFrameControl(work, &button, DFC_CAPTION, DFCS_CAPTIONMIN);
        BitBlt(hDC, K.left, K.top, Kw, Kh, work, 0, 0, SRCCOPY);
    }
    RECT edge{lLeft, lTop, lRight, lBottom};
    DrawEdge(hDC, &edge, EDGE_RAISED, BF_RECT);
}

} // namespace glim
