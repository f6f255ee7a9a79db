#include "Screen.h"

#include "DisplayCache.h"

namespace glim {

namespace {

int LogPixels(int index) {
    const DisplayMetrics screen = CurrentDisplay();
    return index == LOGPIXELSX ? screen.dpiX : screen.dpiY;
}

} // namespace

long TwipsPerPixelX() {
    return 1440 / LogPixels(LOGPIXELSX);
}
long TwipsPerPixelY() {
    return 1440 / LogPixels(LOGPIXELSY);
}
long ScreenWidth() {
    return CurrentDisplay().width * TwipsPerPixelX();
}
long ScreenHeight() {
    return CurrentDisplay().height * TwipsPerPixelY();
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
