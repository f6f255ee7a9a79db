#pragma once
// A small floating-point canvas for the skin artwork generator.  Everything is
// drawn with coverage-based anti-aliasing from signed distance functions, so the
// output depends only on arithmetic and is the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace skingen {

// One colour, channels 0 … 255 (not clamped while mixing).
struct Rgb {
    float r = 0, g = 0, b = 0;
};

constexpr Rgb RGB8(int r, int g, int b) {
    return Rgb{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

inline Rgb Mix(Rgb a, Rgb b, float t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Lighten(Rgb c, float t) {
    return Mix(c, RGB8(255, 255, 255), t);
}
inline Rgb Darken(Rgb c, float t) {
    return Mix(c, RGB8(0, 0, 0), t);
}
inline float Luma(Rgb c) {
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}
inline Rgb Grey(Rgb c) {
    const float l = Luma(c);
    return Rgb{l, l, l};
}
// Keeps the hue, scales the distance from grey.
inline Rgb Saturate(Rgb c, float s) {
    return Mix(Grey(c), c, s);
}

struct Px {
    Rgb c;
    float a = 1; // coverage / opacity, used by icons and cursors only
};

class Raster {
  public:
    Raster() = default;
    Raster(int w, int h, Rgb fill = Rgb{}, float alpha = 1);

    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgb At(int x, int y) const { return px_[Index(x, y)].c; }
    float AlphaAt(int x, int y) const { return px_[Index(x, y)].a; }
    void Set(int x, int y, Rgb c, float a = 1);
    // Paints c over the pixel with the given coverage (0 … 1).
    void Blend(int x, int y, Rgb c, float cover);

    void Fill(int x0, int y0, int x1, int y1, Rgb c); // x1, y1 exclusive
    // Top-to-bottom gradient through evenly spaced stops over rows y0 … y1 - 1.
    void VGradient(int x0, int y0, int x1, int y1, const std::vector<Rgb>& stops);
    void HLine(int x0, int x1, int y, Rgb c, float cover = 1);
    void VLine(int x, int y0, int y1, Rgb c, float cover = 1);

    // Shapes with a signed distance function sdf(x, y) (negative inside) and a
    // colour function shade(x, y); only the box x0 … x1, y0 … y1 is visited.
    template <class Sdf, class Shade>
    void Paint(int x0, int y0, int x1, int y1, Sdf sdf, Shade shade, float opacity = 1) {
        x0 = std::max(x0, 0), y0 = std::max(y0, 0);
        x1 = std::min(x1, w_), y1 = std::min(y1, h_);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float cover = std::clamp(0.5f - sdf(px, py), 0.0f, 1.0f) * opacity;
                if (cover > 0) Blend(x, y, shade(px, py), cover);
            }
    }

    void CopyFrom(const Raster& src, int sx, int sy, int w, int h, int dx, int dy);
    Raster Crop(int x, int y, int w, int h) const;
    Raster Transposed() const;
    // Each pixel becomes an n x n block, for previews.
    Raster Scaled(int n) const;
    bool SameAs(const Raster& o) const;
    // 8-bit channel of a pixel as written to files (rounded, clamped).
    static uint8_t Byte(float v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

  private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * w_ + x; }
    int w_ = 0, h_ = 0;
    std::vector<Px> px_;
};

// Signed distances, negative inside.
inline float SdRoundBox(float px, float py, float x, float y, float w, float h, float r) {
    const float cx = x + w / 2, cy = y + h / 2;
    const float qx = std::fabs(px - cx) - (w / 2 - r), qy = std::fabs(py - cy) - (h / 2 - r);
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}
inline float SdCircle(float px, float py, float cx, float cy, float r) {
    return std::hypot(px - cx, py - cy) - r;
}
// A line segment with round ends, thickness t.
inline float SdSegment(float px, float py, float ax, float ay, float bx, float by, float t) {
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float h = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0f, 1.0f) : 0;
    return std::hypot(px - ax - dx * h, py - ay - dy * h) - t / 2;
}
// A band of half-width h around the curve y = base - rise * u * u, where u
// runs from 0 to 1 across a picture w wide: a sweep of light or colour.
inline float SdSweep(float px, float py, float w, float base, float rise, float h) {
    const float u = px / w;
    return std::fabs(py - (base - rise * u * u)) - h;
}
// Convex polygon given counter-clockwise or clockwise; exact enough for glyphs.
float SdConvex(float px, float py, const std::vector<float>& xy);

} // namespace skingen
