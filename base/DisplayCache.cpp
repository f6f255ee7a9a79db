#include "DisplayCache.h"
#include "NonCopyable.h"

#include <optional>

#include "Handles.h"

namespace glim {

namespace {

struct Display : NonCopyable {
    Display() { InitializeCriticalSection(&lock); }
    ~Display() { DeleteCriticalSection(&lock); }

    CRITICAL_SECTION lock;                 // taken again by a thread that lends the DC and asks the metrics
    OwnedDC dc;                            // made on first use
    std::optional<DisplayMetrics> metrics; // none until asked, or since the display changed
};

Display& TheDisplay() {
    static Display display;
    return display;
}

// The process's display record for the length of a scope.
class HeldDisplay : NonCopyable {
  public:
    HeldDisplay() : d_(TheDisplay()) { EnterCriticalSection(&d_.lock); }
    ~HeldDisplay() { LeaveCriticalSection(&d_.lock); }

    HDC Dc() {
        if (!d_.dc) d_.dc.reset(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        return d_.dc.get();
    }
    DisplayMetrics Metrics() {
        if (!d_.metrics) {
            DisplayMetrics m;
            m.width = GetSystemMetrics(SM_CXSCREEN);
            m.height = GetSystemMetrics(SM_CYSCREEN);
            if (const HDC dc = Dc()) {
                const int x = GetDeviceCaps(dc, LOGPIXELSX), y = GetDeviceCaps(dc, LOGPIXELSY);
                const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
                if (x > 0) m.dpiX = x;
                if (y > 0) m.dpiY = y;
                if (bits > 0) m.bitsPerPixel = bits;
            }
            d_.metrics = m;
        }
        return *d_.metrics;
    }
    void Forget() { d_.metrics.reset(); }

  private:
    Display& d_;
};

} // namespace

DisplayMetrics CurrentDisplay() {
    return HeldDisplay().Metrics();
}

void ForgetDisplayMetrics() {
    HeldDisplay().Forget();
}

HBITMAP CreateScreenBitmap(int w, int h) {
    const int bits = CurrentDisplay().bitsPerPixel;
    if (bits != 24 && bits != 32) {
        const ScreenDC screen;
        return CreateCompatibleBitmap(screen.get(), w, h);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w > 0 ? w : 1;
    info.bmiHeader.biHeight = h > 0 ? h : 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

ScreenDC::ScreenDC() {
    EnterCriticalSection(&TheDisplay().lock);
    dc_ = HeldDisplay().Dc();
}

ScreenDC::~ScreenDC() {
    LeaveCriticalSection(&TheDisplay().lock);
}

} // namespace glim
