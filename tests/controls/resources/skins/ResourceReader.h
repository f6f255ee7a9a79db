#pragma once
// Reads pictures back from a module's resources through the platform loader.
#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

namespace skintest {

struct Pixels {
    int width = 0, height = 0, bits = 0;
    std::vector<COLORREF> rgb; // row by row from the top, 0x00BBGGRR
    std::vector<BYTE> alpha;   // icons and cursors only: 255 where drawn

    COLORREF At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
    Pixels Crop(int x, int y, int w, int h) const;
    bool operator==(const Pixels& o) const { return width == o.width && height == o.height && rgb == o.rgb; }
};

struct ModuleCloser {
    void operator()(HMODULE m) const { FreeLibrary(m); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

// A bitmap resource as a DIB section; nothing when the id is missing.
std::optional<Pixels> LoadBitmapPixels(HMODULE module, int id);
// An icon or cursor (IMAGE_ICON / IMAGE_CURSOR) at the given size, with its hot spot.
std::optional<Pixels> LoadIconPixels(HMODULE module, int id, UINT type, int size, POINT* hotSpot = nullptr);

double Luminance(COLORREF c); // relative luminance, 0 … 1
double Contrast(COLORREF a, COLORREF b);
int Chroma(COLORREF c); // max channel minus min channel

} // namespace skintest
