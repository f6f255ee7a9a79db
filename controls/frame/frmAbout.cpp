#include "frmAbout.h"

#include <olectl.h>

#include <vector>

#include "Pictures.h"
#include "SkinResourceIds.h"

namespace glim {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr const char* kLabelCaption = "\xB9\xD8\xB1\xD5";  // 关闭
constexpr const char* kLabelFontName = "\xCB\xCE\xCC\xE5"; // 宋体
constexpr int kLabelFontPoints = 9;

thread_local frmAbout* tInstance = nullptr; // the box being shown on this thread

COLORREF ToRgb(OLE_COLOR color) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(color, nullptr, &rgb))) rgb = 0;
    return rgb;
}

struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND hWnd, LPARAM lParam) {
    auto* list = reinterpret_cast<DisabledWindows*>(lParam);
    if (hWnd != list->keep && IsWindowVisible(hWnd) && IsWindowEnabled(hWnd)) {
        EnableWindow(hWnd, FALSE);
        list->windows.push_back(hWnd);
    }
    return TRUE;
}

} // namespace

frmAbout::frmAbout() {
    picture_.reset(static_cast<HBITMAP>(LoadImageA(ModuleHandle(), MAKEINTRESOURCEA(GLIM_RES_ABOUT),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const WindowDC screen(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(kLabelFontPoints, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    // Plain pixels: the label is tiny and its colour is its whole message.
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, kLabelFontName, LF_FACESIZE);
    font_.reset(CreateFontIndirectA(&lf));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &frmAbout::WindowProc;
    wc.hInstance = ModuleHandle();
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);

    RECT r{0, 0, kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel};
    const DWORD style = WS_POPUP | WS_BORDER;
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    hWnd_ = CreateWindowExA(0, kClassName, "", style, x, y, w, h, nullptr, nullptr, ModuleHandle(), this);
}

frmAbout::~frmAbout() {
    if (hWnd_) DestroyWindow(hWnd_);
    // Registered per showing, so a library unloaded meanwhile leaves no
    // class behind that points into it.
    UnregisterClassA(kClassName, ModuleHandle());
}

frmAbout* frmAbout::Instance() {
    return tInstance;
}

HWND frmAbout::Window() {
    return tInstance ? tInstance->hWnd_ : nullptr;
}

void frmAbout::ShowModal() {
    if (tInstance) {
        // Already modal further up this thread's stack.
        if (tInstance->hWnd_) SetForegroundWindow(tInstance->hWnd_);
        return;
    }
    frmAbout box;
    if (!box.hWnd_) return;
    tInstance = &box;
    box.RunModalLoop();
    tInstance = nullptr;
}

void frmAbout::RunModalLoop() {
    DisabledWindows others{hWnd_, {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&others));
    ShowWindow(hWnd_, SW_SHOW);
    SetForegroundWindow(hWnd_);
    SetFocus(hWnd_);
    MSG msg;
    while (!closed_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // Enabled again before the box goes, so the activation returns to them.
    for (HWND w : others.windows)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    if (hWnd_) DestroyWindow(hWnd_);
}

void frmAbout::Close() {
    closed_ = true;
    if (hWnd_) ShowWindow(hWnd_, SW_HIDE);
}

RECT frmAbout::LabelRect() const {
    return RECT{kLabelLeft / kTwipsPerPixel, kLabelTop / kTwipsPerPixel,
                (kLabelLeft + kLabelWidth) / kTwipsPerPixel, (kLabelTop + kLabelHeight) / kTwipsPerPixel};
}

void frmAbout::SetLabelForeColor(OLE_COLOR color) {
    if (labelForeColor_ == color) return;
    labelForeColor_ = color;
    const RECT r = LabelRect();
    InvalidateRect(hWnd_, &r, FALSE);
}

void frmAbout::Paint(HDC dc) {
    RECT client{};
    GetClientRect(hWnd_, &client);
    const OwnedBrush back(CreateSolidBrush(ToRgb(kBackColor)));
    FillRect(dc, &client, back.get());
    if (picture_) {
        BITMAP bm{};
        GetObjectA(picture_.get(), sizeof bm, &bm);
        const OwnedDC source(CreateCompatibleDC(dc));
        const SelectGuard keep(source.get(), picture_.get());
        StretchBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    }
    const RECT label = LabelRect();
    const OwnedBrush labelBack(CreateSolidBrush(ToRgb(kLabelBackColor)));
    FillRect(dc, &label, labelBack.get());
    const SelectGuard keepFont(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToRgb(labelForeColor_));
    RECT text = label;
    DrawTextA(dc, kLabelCaption, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

LRESULT CALLBACK frmAbout::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<frmAbout*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hWnd, uMsg, wParam, lParam);

    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const RECT label = self->LabelRect();
    switch (uMsg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd, &ps);
        self->Paint(dc);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        self->SetLabelForeColor(PtInRect(&label, pt) ? kLabelHoverColor : kLabelFormColor);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (PtInRect(&label, pt)) {
            self->SetLabelForeColor(kLabelPressColor);
            if (uMsg == WM_LBUTTONDOWN) {
                self->pressedOnLabel_ = true;
                SetCapture(hWnd);
            }
        }
        return 0;
    case WM_LBUTTONUP: {
        const bool click = self->pressedOnLabel_ && PtInRect(&label, pt);
        self->pressedOnLabel_ = false;
        if (GetCapture() == hWnd) ReleaseCapture();
        if (click) self->Close();
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) self->Close();
        return 0;
    case WM_CLOSE:
        self->Close();
        return 0;
    case WM_NCDESTROY:
        self->hWnd_ = nullptr;
        self->closed_ = true;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

} // namespace glim
