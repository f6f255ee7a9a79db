// A full repaint of an 80 x 24 GlimButton (look 1 with a skin sheet, and
// the gradient of look 3) against Wine's own push button of the same size.
// The button's repaint clears its surface, paints the face into it and
// shows it on the window, as the control does; Wine's button is invalidated
// and painted at once.  Prints microseconds per repaint and the ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "GlimButtonLooks.h"
#include "Handles.h"
#include "PictureClip.h"
#include "Pictures.h"
#include "SkinResourceIds.h"

namespace {

constexpr int kW = 80, kH = 24;
constexpr int kPaints = 2000;
constexpr int kRounds = 7;

double Now() {
    static LARGE_INTEGER freq{};
    if (!freq.QuadPart) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(freq.QuadPart);
}

template <class F>
double Microseconds(F&& paint) {
    const double start = Now();
    for (int i = 0; i < kPaints; ++i)
        paint();
    GdiFlush();
    return (Now() - start) / kPaints;
}

// The control's persistent surface: a screen-compatible bitmap in a memory
// DC that the window shows on every paint.
HDC gSurface = nullptr;

LRESULT CALLBACK SurfaceProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        BitBlt(dc, 0, 0, kW, kH, gSurface, 0, 0, SRCCOPY);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class SurfaceWindow {
  public:
    explicit SurfaceWindow(HWND parent) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &SurfaceProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "GlimBenchSurface";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(0, "GlimBenchSurface", "", WS_CHILD | WS_VISIBLE, 10, 50, kW, kH, parent,
                                nullptr, wc.hInstance, nullptr);
        HDC screen = GetDC(hwnd_);
        dc_.reset(CreateCompatibleDC(screen));
        bmp_.reset(CreateCompatibleBitmap(screen, kW, kH));
        ReleaseDC(hwnd_, screen);
        old_ = SelectObject(dc_.get(), bmp_.get());
        gSurface = dc_.get();
    }
    ~SurfaceWindow() {
        SelectObject(dc_.get(), old_);
        DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }
    // Clear, paint the face into the surface, show it through WM_PAINT.
    void Repaint(glim::GlimButtonFace& face) {
        RECT all{0, 0, kW, kH};
        FillRect(dc_.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
        glim::GlimButton_PaintFace(dc_.get(), face, 0);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }

  private:
    HWND hwnd_ = nullptr;
    glim::OwnedDC dc_;
    glim::OwnedBitmap bmp_;
    HGDIOBJ old_ = nullptr;
};

} // namespace

int main() {
    HWND host = CreateWindowExA(0, "STATIC", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr,
                                nullptr, nullptr);
    HWND own = CreateWindowExA(0, "BUTTON", "Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, kW, kH,
                               host, nullptr, nullptr, nullptr);
    SendMessageA(own, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    glim::PictureClip sheet;
    sheet.SetCols(5);
    sheet.SetPicture(glim::LoadResPicture(glim::skinres::Button(19), glim::kResBitmap).get());
    glim::GlimButtonFace face;
    face.clientWidth = kW;
    face.clientHeight = kH;
    face.ColorScheme = glim::kUseWindows;
    face.caption = "Button";
    face.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    face.sheet = &sheet;
    face.Style = 19;
    SurfaceWindow surface(host);

    // The three are measured in turn within each round, so a busy machine
    // slows them alike; the best round of each counts.
    const long looks[2] = {glim::kLookGlimButton, glim::kLookWinXP};
    glim::GlimButtonFace faces[2] = {face, face};
    for (int i = 0; i < 2; ++i) {
        faces[i].ButtonType = looks[i];
        faces[i].palette = glim::GlimButton_ComputeColors(faces[i], host);
        HDC dc = GetDC(surface.hwnd());
        glim::GlimButton_LayoutCaption(dc, faces[i]);
        ReleaseDC(surface.hwnd(), dc);
    }
    double ownUs = 1e30, lookUs[2] = {1e30, 1e30};
    for (int r = 0; r < kRounds; ++r) {
        ownUs = std::min(ownUs, Microseconds([&] {
                             RedrawWindow(own, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                         }));
        for (int i = 0; i < 2; ++i)
            lookUs[i] = std::min(lookUs[i], Microseconds([&] { surface.Repaint(faces[i]); }));
    }
    std::printf("full repaint of an 80 x 24 button, best of %d x %d:\n", kRounds, kPaints);
    std::printf("  Wine's own push button      %8.1f us\n", ownUs);
    std::printf("  look 1 (skin 19 cells)      %8.1f us  ratio %5.2f\n", lookUs[0], lookUs[0] / ownUs);
    std::printf("  look 3 (gradient)           %8.1f us  ratio %5.2f\n", lookUs[1], lookUs[1] / ownUs);
    DestroyWindow(host);
    return 0;
}
