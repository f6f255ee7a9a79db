#include "screenshots.h"

#include "Handles.h"
#include "ImageFiles.h"
#include "Pictures.h"
#include "programs.h"

#include <algorithm>
#include <cstdint>

namespace glimtest {

namespace {
// A w x h area of a DC from (x, y), as top-down 0x00RRGGBB values.
std::vector<std::uint32_t> Blit(HDC from, int x, int y, int w, int h) {
    std::uint32_t* bits = nullptr;
    glim::OwnedBitmap dib = glim::CreateTopDownDib(w, h, &bits);
    {
        glim::OwnedDC mem(CreateCompatibleDC(from));
        glim::SelectGuard sel(mem.get(), dib.get());
        BitBlt(mem.get(), 0, 0, w, h, from, x, y, SRCCOPY);
    }
    GdiFlush();
    return std::vector<std::uint32_t>(bits, bits + static_cast<size_t>(w) * h);
}
} // namespace

skingen::Raster CaptureScreen(RECT r) {
    r.left = std::max(0L, r.left);
    r.top = std::max(0L, r.top);
    r.right = std::min(static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN)), r.right);
    r.bottom = std::min(static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN)), r.bottom);
    const int w = std::max(0L, r.right - r.left), h = std::max(0L, r.bottom - r.top);
    skingen::Raster img(w, h);
    if (!w || !h) return img;
    glim::DisplayDC screen;
    const std::vector<std::uint32_t> bits = Blit(screen.get(), r.left, r.top, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = bits[static_cast<size_t>(y) * w + x];
            img.Set(x, y, skingen::RGB8((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    return img;
}

skingen::Raster CaptureWindow(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return CaptureScreen(r);
}

skingen::Raster CaptureClient(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return CaptureScreen(r);
}

bool ShownOnScreen(HWND hwnd, bool clientOnly) {
    RECT wr{}, r{};
    GetWindowRect(hwnd, &wr);
    if (clientOnly) {
        GetClientRect(hwnd, &r);
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        r = wr;
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return true;
    std::vector<std::uint32_t> painted;
    if (clientOnly) {
        glim::WindowDC dc(hwnd);
        painted = Blit(dc.get(), 0, 0, w, h);
    } else {
        glim::NonClientDC dc(hwnd);
        painted = Blit(dc.get(), 0, 0, w, h);
    }
    glim::DisplayDC screen;
    const std::vector<std::uint32_t> shown = Blit(screen.get(), r.left, r.top, w, h);
    glim::OwnedRegion shape(CreateRectRgn(0, 0, 0, 0));
    const bool shaped = GetWindowRgn(hwnd, shape.get()) != ERROR;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (shaped && !PtInRegion(shape.get(), r.left - wr.left + x, r.top - wr.top + y)) continue;
            const size_t i = static_cast<size_t>(y) * w + x;
            if (painted[i] != shown[i]) return false;
        }
    return true;
}

WindowShot::WindowShot(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    w_ = r.right - r.left;
    h_ = r.bottom - r.top;
    if (w_ <= 0 || h_ <= 0) {
        w_ = h_ = 0;
        return;
    }
    glim::NonClientDC dc(hwnd);
    bits_ = Blit(dc.get(), 0, 0, w_, h_);
}

COLORREF WindowShot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return CLR_INVALID;
    const std::uint32_t p = bits_[static_cast<size_t>(y) * w_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string ShotPath(const std::string& file) {
    const std::string folder = ExeDir() + "screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + file;
}

bool WriteShot(const std::string& file, const skingen::Raster& img) {
    if (img.Width() <= 0 || img.Height() <= 0) return false;
    return skingen::WritePng(ShotPath(file), img);
}

} // namespace glimtest
