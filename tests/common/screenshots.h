#pragma once
// Pictures of what the screen shows, and the screenshot sheets made of them:
// PNG files in the folder "screenshots" beside the test program.
#include "Raster.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace glimtest {

// What the screen shows in a rectangle of screen coordinates, clipped to the screen.
skingen::Raster CaptureScreen(RECT screen);
// A window, frame included, as the screen shows it.
skingen::Raster CaptureWindow(HWND hwnd);
// A window's client area as the screen shows it.
skingen::Raster CaptureClient(HWND hwnd);

// Whether the screen shows what a window has painted, frame included or its
// client area alone; pixels its window region leaves out are not compared.
// Painting reaches the screen some time after it is done.
bool ShownOnScreen(HWND hwnd, bool clientOnly = false);

// The pixels of a window, frame included, read from its window DC at once.
class WindowShot {
  public:
    explicit WindowShot(HWND hwnd);
    // As a COLORREF, so it compares with GetPixel's answers; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    int Width() const { return w_; }
    int Height() const { return h_; }

  private:
    int w_ = 0, h_ = 0;
    std::vector<std::uint32_t> bits_;
};

// The path of a file in the screenshots folder, made when missing.
std::string ShotPath(const std::string& file);
// Writes a picture as a PNG file of the screenshots folder; false when it could not.
bool WriteShot(const std::string& file, const skingen::Raster& img);

} // namespace glimtest
