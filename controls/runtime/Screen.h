#pragma once
// The screen object: its size and the twips-per-pixel the host's form
// runtime reports, plus unit conversions built on them.
#include <windows.h>

namespace glim {

// Twips per screen pixel (1440 / logical pixels per inch).
long TwipsPerPixelX();
long TwipsPerPixelY();
// Screen size in twips.
long ScreenWidth();
long ScreenHeight();

LONG HimetricToPixelsX(LONG himetric);
LONG HimetricToPixelsY(LONG himetric);
LONG PixelsToHimetricX(LONG pixels);
LONG PixelsToHimetricY(LONG pixels);

} // namespace glim
