#include "LibraryForm.h"

#include "Conversions.h"
#include "Pictures.h"
#include "ReentryGuard.h"
#include "RuntimeErrors.h"
#include "Screen.h"

#include <vector>

namespace glim {

namespace {

struct DisabledWindows {
    HWND keep;                 // the modal form
    std::vector<HWND> windows; // disabled here, enabled again after the loop
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lp) {
    auto* list = reinterpret_cast<DisabledWindows*>(lp);
    if (hwnd != list->keep && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        list->windows.push_back(hwnd);
    }
    return TRUE;
}

long ToPixelsX(double twips) {
    return RoundToLong(twips / TwipsPerPixelX());
}
long ToPixelsY(double twips) {
    return RoundToLong(twips / TwipsPerPixelY());
}

} // namespace

LibraryForm::LibraryForm(FormDesign design) : design_(std::move(design)), parts_(*this) {}

LibraryForm::~LibraryForm() {
    parts_.Detach();
    DestroySurfaceWindow();
}

void LibraryForm::Load() {
    if (Loaded()) return;
    const DWORD style =
        (design_.captionBar ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX : WS_POPUP) |
        WS_CLIPCHILDREN;
    const DWORD exStyle =
        (design_.showInTaskbar ? 0 : WS_EX_TOOLWINDOW) | (design_.activates ? 0 : WS_EX_NOACTIVATE);
    const long l = ToPixelsX(design_.left), t = ToPixelsY(design_.top);
    const RECT r{l, t, l + ToPixelsX(design_.width), t + ToPixelsY(design_.height)};
    CreateSurfaceWindow(exStyle, style, nullptr, r);
    SetWindowTextA(hWnd(), design_.caption.c_str());
    Cls();
    parts_.Attach();
    try {
        OnLoad();
    } catch (...) {
        // A form whose load failed is not left half loaded: the next Load starts afresh.
        Unload();
        throw;
    }
}

void LibraryForm::Unload() {
    if (!Loaded() || unloading_) return;
    {
        const ReentryGuard guard(unloading_);
        OnQueryUnload();
    }
    parts_.Detach();
    DestroySurfaceWindow();
}

void LibraryForm::Show(bool modal) {
    Load();
    if (!modal) {
        ShowWindow(hWnd(), SW_SHOW);
        return;
    }
    RunModalLoop();
}

void LibraryForm::RunModalLoop() {
    DisabledWindows others{hWnd(), {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&others));
    ShowWindow(hWnd(), SW_SHOW);
    SetActiveWindow(hWnd());
    // The form may be unloaded, or even deleted, by a handler in the loop.
    std::weak_ptr<int> alive = alive_;
    MSG msg;
    while (!alive.expired() && hWnd() && IsWindowVisible(hWnd())) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the outer loop gets the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    for (HWND w : others.windows)
        if (IsWindow(w)) EnableWindow(w, TRUE);
}

void LibraryForm::Hide() {
    if (hWnd()) ShowWindow(hWnd(), SW_HIDE);
}

RECT LibraryForm::OuterPixels() {
    Load();
    RECT r{};
    GetWindowRect(hWnd(), &r);
    return r;
}

double LibraryForm::Left() {
    return static_cast<double>(OuterPixels().left) * TwipsPerPixelX();
}
double LibraryForm::Top() {
    return static_cast<double>(OuterPixels().top) * TwipsPerPixelY();
}
double LibraryForm::Width() {
    const RECT r = OuterPixels();
    return static_cast<double>(r.right - r.left) * TwipsPerPixelX();
}
double LibraryForm::Height() {
    const RECT r = OuterPixels();
    return static_cast<double>(r.bottom - r.top) * TwipsPerPixelY();
}

void LibraryForm::Move(double left, std::optional<double> top, std::optional<double> width,
                       std::optional<double> height) {
    const RECT now = OuterPixels();
    const long l = ToPixelsX(left);
    const long t = top ? ToPixelsY(*top) : now.top;
    const long w = width ? ToPixelsX(*width) : now.right - now.left;
    const long h = height ? ToPixelsY(*height) : now.bottom - now.top;
    if (w < 0 || h < 0) RaiseError(kErrInvalidPropertyValue);
    SetWindowPos(hWnd(), nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

double LibraryForm::ScaleWidth() {
    Load();
    return Canvas().ScaleWidth();
}
double LibraryForm::ScaleHeight() {
    Load();
    return Canvas().ScaleHeight();
}

void LibraryForm::SetCaption(const std::string& caption) {
    design_.caption = caption;
    if (hWnd()) SetWindowTextA(hWnd(), caption.c_str());
}

void LibraryForm::SetBackColor(OLE_COLOR c) {
    Canvas().SetBackColor(c);
    Cls();
}

void LibraryForm::SetPicture(IPictureDisp* picture) {
    picture_ = picture;
    Cls();
}

void LibraryForm::Cls() {
    Canvas().Cls();
    if (PictureHandle(picture_.get()) != 0) Canvas().PaintPicture(picture_.get(), 0, 0);
    Invalidate();
}

LRESULT LibraryForm::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEACTIVATE && !design_.activates) return MA_NOACTIVATE;
    if (msg == WM_CLOSE) {
        Unload();
        return 0;
    }
    return SurfaceWindow::WindowProc(msg, wp, lp);
}

} // namespace glim
