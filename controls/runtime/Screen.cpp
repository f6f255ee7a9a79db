#include "Screen.h"

#include "Handles.h"

namespace glim {

namespace {

int LogPixels(int index) {
    WindowDC dc(nullptr);
    const int n = GetDeviceCaps(dc.get(), index);
    return n > 0 ? n : 96;
}

} // namespace

long TwipsPerPixelX() {
    return 1440 / LogPixels(LOGPIXELSX);
}
long TwipsPerPixelY() {
    return 1440 / LogPixels(LOGPIXELSY);
}
long ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX();
}
long ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY();
}

LONG HimetricToPixelsX(LONG himetric) {
    return MulDiv(himetric, LogPixels(LOGPIXELSX), 2540);
}
LONG HimetricToPixelsY(LONG himetric) {
    return MulDiv(himetric, LogPixels(LOGPIXELSY), 2540);
}
LONG PixelsToHimetricX(LONG pixels) {
    return MulDiv(pixels, 2540, LogPixels(LOGPIXELSX));
}
LONG PixelsToHimetricY(LONG pixels) {
    return MulDiv(pixels, 2540, LogPixels(LOGPIXELSY));
}

} // namespace glim
