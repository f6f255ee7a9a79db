#include "CaptionArt.h"

#include "GlyphArt.h"

namespace skingen {
namespace {

const Rgb kWhite = RGB8(255, 255, 255);

// A small deterministic hash for brushed and grainy textures.
float Noise(int n) {
    uint32_t h = static_cast<uint32_t>(n) * 2654435761u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return static_cast<float>(h & 0xFFFF) / 65535.0f - 0.5f;
}

// Pastel bands of the colourful skin.
Rgb RainbowRow(float t) {
    static const Rgb bands[] = {RGB8(255, 214, 226), RGB8(255, 228, 196), RGB8(255, 246, 190),
                                RGB8(214, 244, 206), RGB8(204, 232, 255), RGB8(226, 214, 250)};
    const float f = t * 5;
    const int i = std::min(static_cast<int>(f), 4);
    return Mix(bands[i], bands[i + 1], f - i);
}

// Colour of row y of the title band, the same in every column.
Rgb TitleRow(const SkinStyle& s, int y) {
    const int tb = kTitleBand;
    const float t = static_cast<float>(y) / (tb - 1);
    const Rgb base = Mix(s.titleTop, s.titleBottom, t);
    switch (s.caption) {
    case CaptionLook::Classic:
        if (y == 1) return Lighten(s.titleTop, 0.45f);
        return base;
    case CaptionLook::Gloss: {
        // White titles need a quieter shine than dark ones.
        const float shine = s.darkTitle ? 0.45f : 0.2f;
        const int half = tb / 2;
        if (y < half) {
            const float u = static_cast<float>(y) / half;
            return Mix(Lighten(s.titleTop, shine), Lighten(s.titleTop, shine * 0.2f), u);
        }
        const float u = static_cast<float>(y - half) / (tb - 1 - half);
        return Mix(s.titleBottom, Mix(s.titleBottom, s.titleTop, 0.55f), u * u);
    }
    case CaptionLook::Metal: {
        const float streak = Noise(y * 7 + 3) * 14 + Noise(y * 13 + 1) * 6;
        Rgb c = Mix(s.titleTop, s.titleBottom, std::pow(t, 0.8f));
        c = Rgb{c.r + streak, c.g + streak, c.b + streak};
        if (y == 1) c = Lighten(c, 0.5f);
        return c;
    }
    case CaptionLook::Stripes:
        return (y % 2) ? Darken(base, 0.07f) : Lighten(base, 0.25f);
    case CaptionLook::Neon: {
        Rgb c = base;
        if (y % 3 == 0) c = Mix(c, s.accent, 0.08f);
        // The glowing line lies below the title's rows.
        const float glow = std::exp(-std::pow((y - (tb - 1)) / 0.9f, 2.0f));
        return Mix(c, s.accent, 0.85f * glow);
    }
    case CaptionLook::Pipe: {
        const float body = std::pow(std::sin(3.14159265f * (0.1f + 0.85f * t)), 0.6f);
        Rgb c = Mix(s.titleBottom, s.titleTop, body);
        // The tube's shine sits above the title's rows.
        const float shine = std::exp(-std::pow((t - 0.13f) / 0.07f, 2.0f));
        return Mix(c, kWhite, 0.6f * shine);
    }
    case CaptionLook::Flat:
        return s.titleTop;
    case CaptionLook::Luna: {
        if (y <= 1) return Lighten(s.titleTop, 0.55f - 0.2f * y);
        if (y <= 5) return Mix(Lighten(s.titleTop, 0.25f), s.titleTop, (y - 2) / 3.0f);
        if (y >= tb - 3) return Darken(s.titleBottom, 0.1f * (y - (tb - 4)));
        return Mix(s.titleTop, s.titleBottom, static_cast<float>(y - 5) / (tb - 9));
    }
    case CaptionLook::Rainbow:
        return RainbowRow(t);
    case CaptionLook::Wave:
        return Mix(s.titleTop, s.titleBottom, t * t * (3 - 2 * t));
    }
    return base;
}

Rgb MenuRow(const SkinStyle& s, int y, int capH) {
    const int tb = kTitleBand;
    if (y == tb) return Darken(Mix(s.titleBottom, s.frame, 0.5f), 0.35f);
    if (y == tb + 1) return Lighten(s.menuTop, 0.6f);
    if (y == capH - 1) return FrameProfile(s, kBorder - 1, FrameSide::Bottom);
    const float t = static_cast<float>(y - tb - 2) / std::max(1, capH - tb - 4);
    Rgb c = Mix(s.menuTop, s.menuBottom, t);
    if (s.caption == CaptionLook::Stripes && (y % 2)) c = Darken(c, 0.03f);
    return c;
}

// Two swooshes sweeping up to the right, at both ends of the band.
void WaveEnds(Raster& r, const SkinStyle& s) {
    const int tb = kTitleBand;
    for (int pass = 0; pass < 2; ++pass) {
        const float x0 = pass ? 150.0f : -30.0f;
        const float lift = pass ? 6.0f : 0.0f;
        r.Paint(
            pass ? 150 : 0, 0, pass ? 176 : 30, tb,
            [&](float px, float py) {
                const float u = (px - x0) / 40.0f;
                const float cy = tb - 2 - lift - 18 * u * u;
                return std::fabs(py - cy) - 1.6f;
            },
            [&](float, float) { return s.accent; }, 0.55f);
        r.Paint(
            pass ? 150 : 0, 0, pass ? 176 : 30, tb,
            [&](float px, float py) {
                const float u = (px - x0 - 6) / 40.0f;
                const float cy = tb - 1 - lift - 16 * u * u;
                return std::fabs(py - cy) - 0.8f;
            },
            [&](float, float) { return kWhite; }, 0.45f);
    }
}

// The left and right ends of the title band: a few strokes of character.
void DecorateEnds(Raster& r, const SkinStyle& s) {
    const int tb = kTitleBand;
    switch (s.caption) {
    case CaptionLook::Wave:
        WaveEnds(r, s);
        break;
    case CaptionLook::Neon: {
        // Circuit traces with pads at the right end, before the buttons.
        const Rgb c = s.accent;
        r.HLine(160, 172, 7, c, 0.55f);
        r.VLine(160, 7, 20, c, 0.55f);
        r.HLine(160, 170, 20, c, 0.55f);
        r.Paint(
            166, 10, 176, 18, [](float px, float py) { return SdCircle(px, py, 170.5f, 13.5f, 2.2f); },
            [&](float, float) { return c; }, 0.8f);
        r.Paint(
            0, 0, 8, tb, [](float px, float py) { return std::fabs(px - 3.5f) - 0.5f + (py < 4 ? 9 : 0); },
            [&](float, float) { return c; }, 0.25f);
        break;
    }
    case CaptionLook::Pipe: {
        // A flange where the pipe leaves the frame.
        for (int x : {24, 170}) {
            for (int y = 1; y < tb - 1; ++y) {
                const Rgb row = TitleRow(s, y);
                r.Set(x, y, Darken(row, 0.35f));
                r.Set(x + 1, y, Lighten(row, 0.3f));
                r.Set(x + 2, y, Darken(row, 0.1f));
            }
        }
        break;
    }
    case CaptionLook::Rainbow: {
        // Confetti dots at both ends.
        const Rgb dots[] = {RGB8(255, 120, 150), RGB8(255, 190, 60), RGB8(90, 200, 120), RGB8(90, 160, 240)};
        const float pos[][2] = {{4, 5}, {9, 22}, {163, 6}, {168, 21}, {172, 12}, {3, 15}};
        for (int i = 0; i < 6; ++i)
            r.Paint(
                0, 0, r.Width(), tb,
                [&](float px, float py) { return SdCircle(px, py, pos[i][0], pos[i][1], 1.6f); },
                [&](float, float) { return dots[i % 4]; });
        break;
    }
    case CaptionLook::Metal: {
        // Rivets at both ends.
        for (float cx : {4.5f, 163.5f})
            for (float cy : {6.5f, 22.5f}) {
                r.Paint(
                    0, 0, r.Width(), tb, [&](float px, float py) { return SdCircle(px, py, cx, cy, 1.8f); },
                    [&](float px, float py) {
                        return Mix(Lighten(s.titleTop, 0.5f), Darken(s.titleBottom, 0.4f),
                                   std::clamp((px - cx + py - cy) / 3.6f + 0.5f, 0.0f, 1.0f));
                    });
            }
        break;
    }
    default:
        break;
    }
}

// The whole visible caption for a window whose right edge is column 239.
Raster PaintLogical(const SkinStyle& s, int capH) {
    const int w = kRightEnd + 1;
    const int tb = kTitleBand;
    Raster r(w, capH);
    for (int y = 0; y < capH; ++y)
        r.Fill(0, y, w, y + 1, y < tb ? TitleRow(s, y) : MenuRow(s, y, capH));
    DecorateEnds(r, s);
    // Outline of the title band: outer dark line, then a soft light line.
    const Rgb outer = FrameProfile(s, 0, FrameSide::Left);
    r.Fill(0, 0, w, 1, outer);
    for (int y = 0; y < tb; ++y) {
        r.Set(0, y, outer);
        r.Set(kRightEnd - 1, y, FrameProfile(s, 0, FrameSide::Right));
        r.Blend(1, y, kWhite, y ? 0.3f : 0);
    }
    r.HLine(1, kRightEnd - 1, 1, kWhite, s.caption == CaptionLook::Flat ? 0.0f : 0.2f);
    // The frame's sides continue through the menu band.
    for (int y = tb; y < capH; ++y)
        for (int k = 0; k < kBorder; ++k) {
            r.Set(k, y, FrameProfile(s, k, FrameSide::Left));
            r.Set(kRightEnd - 1 - k, y, FrameProfile(s, k, FrameSide::Right));
        }
    // Column 240 lies beyond the window's right edge; keep it a copy.
    for (int y = 0; y < capH; ++y)
        r.Set(kRightEnd, y, r.At(kRightEnd - 1, y));
    return r;
}

// The inactive look: the title band grey and dim, the rest only a little
// quieter.  The frame's side columns stay as they are, because the border
// tiles below them are shared by both looks.
Raster Dulled(const Raster& active, const SkinStyle& s, int capH) {
    Raster r = active;
    float sum = 0;
    for (int y = 0; y < kTitleBand; ++y)
        sum += Luma(active.At(kTileStart, y));
    const float mean = sum / kTitleBand;
    float target = s.darkTitle ? 118.0f : 96.0f;
    // Grey skins would barely change at that level; they go darker instead.
    if (std::fabs(mean - target) < 30) target = mean - 42;
    for (int y = 0; y < capH; ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const bool side = y >= kTitleBand && (x < kBorder || x >= kRightEnd - kBorder);
            if (side) continue;
            Rgb c = active.At(x, y);
            if (y < kTitleBand) {
                const float l = target + (Luma(c) - mean) * 0.4f;
                c = Saturate(c, 0.3f);
                const float shift = l - Luma(c);
                c = Rgb{c.r + shift, c.g + shift, c.b + shift};
            } else {
                c = Mix(Saturate(c, 0.4f), RGB8(236, 236, 236), 0.2f);
            }
            r.Set(x, y, c);
        }
    return r;
}

} // namespace

Rgb FrameProfile(const SkinStyle& s, int k, FrameSide side) {
    const Rgb f = s.frame;
    const bool lit = side == FrameSide::Left;
    if (s.caption == CaptionLook::Flat) {
        if (k == 0) return Darken(f, 0.25f);
        if (k == kBorder - 1) return Darken(s.menuBottom, 0.18f);
        return f;
    }
    switch (k) {
    case 0:
        return Darken(f, 0.55f);
    case 1:
        return s.caption == CaptionLook::Neon ? Mix(f, s.accent, 0.55f) : Lighten(f, lit ? 0.4f : 0.2f);
    case 7:
        return Darken(f, 0.12f);
    case 8:
        return Darken(f, 0.4f);
    case 9:
        return Mix(Darken(s.menuBottom, 0.3f), f, 0.15f);
    default: {
        const float t = (k - 2) / 4.0f;
        return Mix(Lighten(f, lit ? 0.18f : 0.08f), f, t);
    }
    }
}

Rgb TitleTextColour(int skin, bool active) {
    if (!active) return RGB8(170, 180, 167);
    return Skins()[skin].darkTitle ? RGB8(20, 20, 20) : RGB8(255, 255, 255);
}

Raster PaintCaption(int skin) {
    const SkinStyle& s = Skins()[skin];
    const int capH = CaptionHeight(skin);
    const Raster active = PaintLogical(s, capH);
    Raster strip(kStripWidth, capH);
    strip.CopyFrom(active, 0, 0, active.Width(), capH, 0, 0);
    // Unused columns between the glyphs and the inactive image: plain middle.
    for (int x = active.Width(); x < kInactiveX; ++x)
        strip.CopyFrom(active, kTileStart, 0, 1, capH, x, 0);
    const Raster dulled = Dulled(active, s, capH);
    strip.CopyFrom(dulled, 0, 0, kStripWidth - kInactiveX, capH, kInactiveX, 0);
    // Glyph cells sit on the caption where the painter places them: rows 5 … 24.
    // The four cells of an inactive window follow the active ones, on the
    // inactive caption.
    const Raster under[2] = {active.Crop(200, 5, kGlyphW, kGlyphH), dulled.Crop(200, 5, kGlyphW, kGlyphH)};
    for (int look = 0; look < 2; ++look)
        for (int k = 0; k < 4; ++k)
            for (int pressed = 0; pressed < 2; ++pressed)
                strip.CopyFrom(
                    PaintTitleGlyph(s, skin, static_cast<TitleGlyph>(k), pressed != 0, under[look]), 0, 0,
                    kGlyphW, kGlyphH, kGlyphX + (4 * look + k) * kGlyphW, pressed * kGlyphH);
    return strip;
}

Raster PaintBorder(int skin) {
    const SkinStyle& s = Skins()[skin];
    Raster r(7 * kBorder, kBorder);
    auto tile = [&](int t, auto colourAt) {
        for (int y = 0; y < kBorder; ++y)
            for (int x = 0; x < kBorder; ++x)
                r.Set(t * kBorder + x, y, colourAt(x, y));
    };
    const int e = kBorder - 1;
    auto corner = [&](int kSide, FrameSide side, int kBottom) {
        return kSide <= kBottom ? FrameProfile(s, kSide, side) : FrameProfile(s, kBottom, FrameSide::Bottom);
    };
    tile(0, [&](int x, int) { return FrameProfile(s, x, FrameSide::Left); });
    tile(1, [&](int x, int y) { return corner(x, FrameSide::Left, y); });
    tile(2, [&](int x, int y) { return corner(x, FrameSide::Left, e - y); });
    tile(3, [&](int, int y) { return FrameProfile(s, e - y, FrameSide::Bottom); });
    tile(4, [&](int x, int) { return FrameProfile(s, e - x, FrameSide::Right); });
    tile(5, [&](int x, int y) { return corner(e - x, FrameSide::Right, y); });
    tile(6, [&](int x, int y) { return corner(e - x, FrameSide::Right, e - y); });
    return r;
}

} // namespace skingen
