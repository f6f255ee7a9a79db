#pragma once
// Pictures of what the screen shows, and the screenshot sheets made of them:
// PNG files in the folder "screenshots" beside the test program.
#include "Raster.h"

#include <windows.h>

#include <string>

namespace glimtest {

// What the screen shows in a rectangle of screen coordinates, clipped to the screen.
skingen::Raster CaptureScreen(RECT screen);
// A window, frame included, as the screen shows it.
skingen::Raster CaptureWindow(HWND hwnd);
// A window's client area as the screen shows it.
skingen::Raster CaptureClient(HWND hwnd);

// The path of a file in the screenshots folder, made when missing.
std::string ShotPath(const std::string& file);
// Writes a picture as a PNG file of the screenshots folder; false when it could not.
bool WriteShot(const std::string& file, const skingen::Raster& img);

} // namespace glimtest
