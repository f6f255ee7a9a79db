#include "Raster.h"

namespace skingen {

Raster::Raster(int w, int h, Rgb fill, float alpha)
    : w_(w), h_(h), px_(static_cast<size_t>(w) * h, Px{fill, alpha}) {}

void Raster::Set(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    px_[Index(x, y)] = Px{c, a};
}

void Raster::Blend(int x, int y, Rgb c, float cover) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || cover <= 0) return;
    Px& p = px_[Index(x, y)];
    cover = std::min(cover, 1.0f);
    const float a = cover + p.a * (1 - cover);
    // Straight (not premultiplied) colour, so icon edges keep their hue.
    p.c = a > 0 ? Rgb{(c.r * cover + p.c.r * p.a * (1 - cover)) / a,
                      (c.g * cover + p.c.g * p.a * (1 - cover)) / a,
                      (c.b * cover + p.c.b * p.a * (1 - cover)) / a}
                : c;
    p.a = a;
}

void Raster::Fill(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = std::max(y0, 0); y < std::min(y1, h_); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, w_); ++x)
            px_[Index(x, y)] = Px{c, 1};
}

void Raster::VGradient(int x0, int y0, int x1, int y1, const std::vector<Rgb>& stops) {
    const int n = y1 - y0;
    for (int y = y0; y < y1; ++y) {
        Rgb c = stops.front();
        if (stops.size() > 1 && n > 1) {
            const float t = static_cast<float>(y - y0) / (n - 1) * (stops.size() - 1);
            const size_t i = std::min(static_cast<size_t>(t), stops.size() - 2);
            c = Mix(stops[i], stops[i + 1], t - i);
        }
        Fill(x0, y, x1, y + 1, c);
    }
}

void Raster::HLine(int x0, int x1, int y, Rgb c, float cover) {
    for (int x = x0; x < x1; ++x)
        Blend(x, y, c, cover);
}

void Raster::VLine(int x, int y0, int y1, Rgb c, float cover) {
    for (int y = y0; y < y1; ++y)
        Blend(x, y, c, cover);
}

void Raster::CopyFrom(const Raster& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
            if (tx < 0 || ty < 0 || tx >= w_ || ty >= h_) continue;
            if (fx < 0 || fy < 0 || fx >= src.w_ || fy >= src.h_) continue;
            px_[Index(tx, ty)] = src.px_[src.Index(fx, fy)];
        }
}

Raster Raster::Crop(int x, int y, int w, int h) const {
    Raster out(w, h);
    out.CopyFrom(*this, x, y, w, h, 0, 0);
    return out;
}

Raster Raster::Transposed() const {
    Raster out(h_, w_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            out.px_[out.Index(y, x)] = px_[Index(x, y)];
    return out;
}

Raster Raster::Scaled(int n) const {
    Raster out(w_ * n, h_ * n);
    for (int y = 0; y < out.h_; ++y)
        for (int x = 0; x < out.w_; ++x)
            out.px_[out.Index(x, y)] = px_[Index(x / n, y / n)];
    return out;
}

bool Raster::SameAs(const Raster& o) const {
    if (w_ != o.w_ || h_ != o.h_) return false;
    for (size_t i = 0; i < px_.size(); ++i) {
        const Rgb a = px_[i].c, b = o.px_[i].c;
        if (Byte(a.r) != Byte(b.r) || Byte(a.g) != Byte(b.g) || Byte(a.b) != Byte(b.b)) return false;
    }
    return true;
}

float SdConvex(float px, float py, const std::vector<float>& xy) {
    // Max of the signed distances to the edge lines: exact inside, close outside.
    const size_t n = xy.size() / 2;
    float area = 0;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        area += xy[2 * i] * xy[2 * j + 1] - xy[2 * j] * xy[2 * i + 1];
    }
    const float sign = area > 0 ? 1.0f : -1.0f;
    float d = -1e9f;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const float ex = xy[2 * j] - xy[2 * i], ey = xy[2 * j + 1] - xy[2 * i + 1];
        const float len = std::hypot(ex, ey);
        if (len == 0) continue;
        // Outward normal for a counter-clockwise (positive area) polygon.
        const float nx = ey / len * sign, ny = -ex / len * sign;
        d = std::max(d, (px - xy[2 * i]) * nx + (py - xy[2 * i + 1]) * ny);
    }
    return d;
}

} // namespace skingen
