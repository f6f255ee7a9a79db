#include "ResourceReader.h"

#include <algorithm>
#include <cmath>

namespace skintest {
namespace {

struct GdiDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;

struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct CursorDeleter {
    void operator()(HCURSOR h) const { DestroyCursor(h); }
};

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

// 32-bit top-down copy of any bitmap.
std::vector<DWORD> Bits32(HBITMAP bmp, int w, int h) {
    std::vector<DWORD> out(static_cast<size_t>(w) * h);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    ScreenDc screen;
    if (GetDIBits(screen.dc, bmp, 0, h, out.data(), &bi, DIB_RGB_COLORS) != h) out.clear();
    return out;
}

COLORREF FromBgrx(DWORD v) {
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

double Linear(int c) {
    const double s = c / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

} // namespace

Pixels Pixels::Crop(int x, int y, int w, int h) const {
    Pixels p;
    p.width = w, p.height = h, p.bits = bits;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            p.rgb.push_back(At(x + i, y + j));
    return p;
}

std::optional<Pixels> LoadBitmapPixels(HMODULE module, int id) {
    GdiObject bmp(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bmp) return std::nullopt;
    DIBSECTION ds{};
    if (GetObjectA(bmp.get(), sizeof(ds), &ds) != sizeof(ds)) return std::nullopt;
    Pixels p;
    p.width = ds.dsBm.bmWidth;
    p.height = ds.dsBm.bmHeight;
    p.bits = ds.dsBm.bmBitsPixel;
    const std::vector<DWORD> bits = Bits32(static_cast<HBITMAP>(bmp.get()), p.width, p.height);
    if (bits.empty()) return std::nullopt;
    for (DWORD v : bits)
        p.rgb.push_back(FromBgrx(v));
    return p;
}

std::optional<Pixels> LoadIconPixels(HMODULE module, int id, UINT type, int size, POINT* hotSpot) {
    HANDLE h = LoadImageA(module, MAKEINTRESOURCEA(id), type, size, size, 0);
    if (!h) return std::nullopt;
    std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter> icon;
    std::unique_ptr<std::remove_pointer_t<HCURSOR>, CursorDeleter> cursor;
    if (type == IMAGE_CURSOR)
        cursor.reset(static_cast<HCURSOR>(h));
    else
        icon.reset(static_cast<HICON>(h));
    ICONINFO ii{};
    if (!GetIconInfo(static_cast<HICON>(h), &ii)) return std::nullopt;
    GdiObject colour(ii.hbmColor), mask(ii.hbmMask);
    if (hotSpot) *hotSpot = POINT{static_cast<LONG>(ii.xHotspot), static_cast<LONG>(ii.yHotspot)};
    if (!colour) return std::nullopt;
    BITMAP bm{};
    GetObjectA(colour.get(), sizeof(bm), &bm);
    Pixels p;
    p.width = bm.bmWidth, p.height = bm.bmHeight, p.bits = bm.bmBitsPixel;
    const std::vector<DWORD> c = Bits32(static_cast<HBITMAP>(colour.get()), p.width, p.height);
    const std::vector<DWORD> m = Bits32(static_cast<HBITMAP>(mask.get()), p.width, p.height);
    if (c.empty() || m.empty()) return std::nullopt;
    for (size_t i = 0; i < c.size(); ++i) {
        p.rgb.push_back(FromBgrx(c[i]));
        // The AND mask is black where the picture is drawn.
        p.alpha.push_back((m[i] & 0xFFFFFF) == 0 ? 255 : 0);
    }
    return p;
}

double Luminance(COLORREF c) {
    return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int Chroma(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return std::max({r, g, b}) - std::min({r, g, b});
}

} // namespace skintest
