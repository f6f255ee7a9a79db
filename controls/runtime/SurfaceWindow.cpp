#include "SurfaceWindow.h"

#include "NonClient.h"
#include "Pictures.h"
#include "ReentryGuard.h"
#include "RuntimeErrors.h"

#include <windowsx.h>

#include <exception>
#include <iterator>

namespace glim {

namespace {

const char kClassName[] = "GlimSurfaceWindow";

void RegisterSurfaceClass(WNDPROC proc) {
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(ModuleHandle(), kClassName, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleHandle();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
}

// The system cursor of a MousePointer value; 0, 1, 4 (the icon) and values
// past the table show the arrow.
LPCSTR StandardCursor(short pointer) {
    static const LPCSTR kCursors[] = {IDC_ARROW,    IDC_ARROW,       IDC_CROSS,    IDC_IBEAM,
                                      IDC_ARROW,    IDC_SIZEALL,     IDC_SIZENESW, IDC_SIZENS,
                                      IDC_SIZENWSE, IDC_SIZEWE,      IDC_UPARROW,  IDC_WAIT,
                                      IDC_NO,       IDC_APPSTARTING, IDC_HELP,     IDC_SIZEALL};
    return pointer >= 0 && pointer < static_cast<short>(std::size(kCursors)) ? kCursors[pointer] : IDC_ARROW;
}

} // namespace

std::optional<ButtonMessage> ButtonMessageOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        return ButtonMessage{kLeftButton, true, false};
    case WM_LBUTTONDBLCLK:
        return ButtonMessage{kLeftButton, true, true};
    case WM_LBUTTONUP:
        return ButtonMessage{kLeftButton, false, false};
    case WM_RBUTTONDOWN:
        return ButtonMessage{kRightButton, true, false};
    case WM_RBUTTONDBLCLK:
        return ButtonMessage{kRightButton, true, true};
    case WM_RBUTTONUP:
        return ButtonMessage{kRightButton, false, false};
    case WM_MBUTTONDOWN:
        return ButtonMessage{kMiddleButton, true, false};
    case WM_MBUTTONDBLCLK:
        return ButtonMessage{kMiddleButton, true, true};
    case WM_MBUTTONUP:
        return ButtonMessage{kMiddleButton, false, false};
    default:
        return std::nullopt;
    }
}

short MouseButtonsHeld(WPARAM wp) {
    short b = 0;
    if (wp & MK_LBUTTON) b |= kLeftButton;
    if (wp & MK_RBUTTON) b |= kRightButton;
    if (wp & MK_MBUTTON) b |= kMiddleButton;
    return b;
}

short MouseShiftOf(WPARAM wp) {
    return static_cast<short>(((wp & MK_SHIFT) ? kShiftMask : 0) | ((wp & MK_CONTROL) ? kCtrlMask : 0) |
                              (GetKeyState(VK_MENU) < 0 ? kAltMask : 0));
}

SurfaceWindow::~SurfaceWindow() {
    DestroySurfaceWindow();
}

void SurfaceWindow::CreateSurfaceWindow(DWORD exStyle, DWORD style, HWND parent, const RECT& rect) {
    RegisterSurfaceClass(&StaticProc);
    hwnd_ = CreateWindowExA(exStyle, kClassName, "", style, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent, nullptr, ModuleHandle(), this);
    if (!hwnd_) RaiseError(kErrOutOfMemory);
    RECT client{};
    GetClientRect(hwnd_, &client);
    surface_.SetSize(client.right, client.bottom);
}

void SurfaceWindow::DestroySurfaceWindow() {
    if (HWND h = hwnd_) {
        DestroyWindow(h);
        hwnd_ = nullptr;
    }
}

void SurfaceWindow::DeleteWhenIdle() {
    if (holds_ > 0)
        deletePending_ = true;
    else
        delete this;
}

void SurfaceWindow::OnLastHold(bool) {
    if (!deletePending_) return;
    deletePending_ = false;
    delete this;
}

// A window not on screen gets no paint, and showing it paints it whole: the
// server is asked only for one a person can see (a form being built is not).
void SurfaceWindow::Refresh() {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void SurfaceWindow::Invalidate() {
    if (hwnd_ && IsWindowVisible(hwnd_)) InvalidateRect(hwnd_, nullptr, FALSE);
}

void SurfaceWindow::SetMousePointer(short pointer) {
    if ((pointer < 0 || pointer > 15) && pointer != kCustomPointer) RaiseError(kErrInvalidPropertyValue);
    mousePointer_ = pointer;
}

void SurfaceWindow::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

short SurfaceWindow::ShiftNow() {
    short s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) s |= kAltMask;
    return s;
}

LRESULT CALLBACK SurfaceWindow::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<SurfaceWindow*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    // Uncounted: the object owns the window and outlives it.
    auto* self = reinterpret_cast<SurfaceWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    // The object outlives this message, whatever its handlers release.
    Hold hold(*self);
    // Errors of event handlers must not unwind through the system's dispatch.
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (const Error& e) {
        self->OnEventError(e);
    } catch (...) {
    }
    return 0;
}

void SurfaceWindow::MouseButton(const ButtonMessage& b, WPARAM wp, LPARAM lp) {
    const float x = static_cast<float>(surface_.FromPixelsX(GET_X_LPARAM(lp)));
    const float y = static_cast<float>(surface_.FromPixelsY(GET_Y_LPARAM(lp)));
    const short shift = MouseShiftOf(wp);
    if (b.down) {
        if (CanGetFocus() && GetFocus() != hwnd_) SetFocus(hwnd_);
        const bool dblClick = b.dblClick && TakesDoubleClicks();
        press_.Press(hwnd_, b.button, dblClick);
        if (dblClick)
            OnDblClick();
        else
            OnMouseDown(b.button, shift, x, y);
        return;
    }
    const bool clicks = press_.Release(hwnd_, b.button);
    OnMouseUp(b.button, shift, x, y);
    if (!hwnd_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (clicks && PtInRect(&client, pt)) OnClick();
}

bool SurfaceWindow::SetPointerCursor() {
    if (mousePointer_ == 0) return false;
    if (mousePointer_ == kCustomPointer) {
        const short type = PictureType(mouseIcon_.get());
        if (type != PICTYPE_ICON) return false;
        SetCursor(HandleFromOle<HCURSOR>(PictureHandle(mouseIcon_.get())));
        return true;
    }
    SetCursor(LoadCursorA(nullptr, StandardCursor(mousePointer_)));
    return true;
}

// The handler draws on the surface first, so that what it draws shows in
// this paint, and what it invalidates is validated with it; a repaint it asks
// for at once only shows the surface.  The surface is shown however the
// handler ends: an update region left would bring the message back without end.
void SurfaceWindow::PaintMessage() {
    std::exception_ptr failed;
    if (!painting_) {
        const ReentryGuard guard(painting_);
        try {
            OnPaint();
        } catch (...) {
            failed = std::current_exception();
        }
    }
    if (hwnd_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        surface_.Show(dc, ps.rcPaint);
        EndPaint(hwnd_, &ps);
    }
    if (failed) std::rethrow_exception(failed);
}

LRESULT SurfaceWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (const std::optional<ButtonMessage> b = ButtonMessageOf(msg)) {
        MouseButton(*b, wp, lp);
        return 0;
    }
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the surface covers everything
    case WM_PAINT:
        PaintMessage();
        return 0;
    case WM_NCPAINT:
        if (DrawsNoFrame(hwnd_)) return 0;
        break;
    case WM_SIZE: {
        surface_.SetSize(LOWORD(lp), HIWORD(lp));
        OnResize();
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
        LRESULT r = DefWindowProcA(hwnd_, msg, wp, lp);
        if (pos->flags & SWP_SHOWWINDOW) OnShow();
        if (pos->flags & SWP_HIDEWINDOW) OnHide();
        return r;
    }
    case WM_MOUSEMOVE: {
        const short shift =
            static_cast<short>(((wp & MK_SHIFT) ? kShiftMask : 0) | ((wp & MK_CONTROL) ? kCtrlMask : 0));
        OnMouseMove(MouseButtonsHeld(wp), shift, static_cast<float>(surface_.FromPixelsX(GET_X_LPARAM(lp))),
                    static_cast<float>(surface_.FromPixelsY(GET_Y_LPARAM(lp))));
        return 0;
    }
    case WM_CAPTURECHANGED:
        // A press ending here lets go of the capture after forgetting itself.
        if (reinterpret_cast<HWND>(lp) != hwnd_ && press_.Pressed()) {
            press_.Forget();
            OnCaptureLost();
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd_ && SetPointerCursor()) return TRUE;
        break;
    case WM_KEYDOWN: {
        short code = static_cast<short>(wp);
        OnKeyDown(code, ShiftNow());
        return 0;
    }
    case WM_KEYUP: {
        short code = static_cast<short>(wp);
        OnKeyUp(code, ShiftNow());
        return 0;
    }
    case WM_CHAR: {
        short ascii = static_cast<short>(wp & 0xFF);
        OnKeyPress(ascii);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        OnFocusMessage(true);
        return 0;
    case WM_KILLFOCUS:
        OnFocusMessage(false);
        return 0;
    case WM_DESTROY:
        OnWindowDestroy();
        break;
    default:
        break;
    }
    return WindowProc(msg, wp, lp);
}

LRESULT SurfaceWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

} // namespace glim
