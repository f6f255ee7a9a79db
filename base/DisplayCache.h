#pragma once
// What the code asks of the screen, asked once per process: under Wine every
// display-device query (a display DC, the screen size) is several server
// round trips.
#include "NonCopyable.h"

#include <windows.h>

namespace glim {

// Screen size in pixels, logical pixels per inch and colour depth.
struct DisplayMetrics {
    int width = 0;
    int height = 0;
    int dpiX = 96;
    int dpiY = 96;
    int bitsPerPixel = 32;
};

// Kept from the first call until ForgetDisplayMetrics.
DisplayMetrics CurrentDisplay();

// For WM_DISPLAYCHANGE and WM_SETTINGCHANGE: the next query asks again.
void ForgetDisplayMetrics();

// A w x h bitmap in the screen's format, black, for a memory DC: a DIB
// section of the screen's depth where that is 24 or 32 bits (a bitmap made
// compatible with a display DC asks the server for the depth at its making
// and at every selection), else a bitmap compatible with the screen.  A size
// of 0 makes it 1 pixel that way.
HBITMAP CreateScreenBitmap(int w, int h);

// The process's one display DC, for what must be compatible with the screen.
// A DC serves one thread at a time, so it is lent under a lock for the
// object's lifetime.
class ScreenDC : NonCopyable {
  public:
    ScreenDC();
    ~ScreenDC();
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

} // namespace glim
