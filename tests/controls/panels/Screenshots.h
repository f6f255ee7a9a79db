#pragma once
// Pictures of what the screen shows, for the panels' screenshot sheets, and
// the folder "screenshots" beside the test program they are written to.
#include "Handles.h"
#include "Raster.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace paneltest {

inline std::string ShotFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    p.resize(p.find_last_of("\\/") + 1);
    p += "screenshots";
    CreateDirectoryA(p.c_str(), nullptr);
    return p;
}

// What the screen shows in a rectangle (clipped to the screen).
inline skingen::Raster Capture(RECT r) {
    r.left = std::max(0L, r.left);
    r.top = std::max(0L, r.top);
    r.right = std::min(static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN)), r.right);
    r.bottom = std::min(static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN)), r.bottom);
    const int w = r.right - r.left, h = r.bottom - r.top;
    skingen::Raster img(w, h);
    glim::DisplayDC screen;
    glim::OwnedDC mem(CreateCompatibleDC(screen.get()));
    glim::OwnedBitmap bmp(CreateCompatibleBitmap(screen.get(), w, h));
    {
        glim::SelectGuard sel(mem.get(), bmp.get());
        BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = GetPixel(mem.get(), x, y);
                img.Set(x, y, skingen::RGB8(GetRValue(c), GetGValue(c), GetBValue(c)));
            }
    }
    return img;
}

} // namespace paneltest
