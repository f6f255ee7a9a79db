#include "GlyphArt.h"

#include "CaptionArt.h"

namespace skingen {
namespace {

const Rgb kWhite = RGB8(255, 255, 255);

template <class Sdf>
void FillShape(Raster& r, Sdf sdf, Rgb c, float opacity = 1) {
    r.Paint(
        0, 0, r.Width(), r.Height(), sdf, [&](float, float) { return c; }, opacity);
}

// A window outline: a rectangle with a thicker top edge.
float SdWindow(float px, float py, float x0, float y0, float x1, float y1, float t) {
    const float outer = SdRoundBox(px, py, x0, y0, x1 - x0, y1 - y0, 0.3f);
    const float inner = SdRoundBox(px, py, x0 + t, y0 + 2 * t, x1 - x0 - 2 * t, y1 - y0 - 3 * t, 0.1f);
    return std::max(outer, -inner);
}

// A glossy disc: gradient body, dark rim, bright cap in the upper half.
void GlossDisc(Raster& r, float cx, float cy, float rad, Rgb body, bool pressed) {
    const Rgb top = pressed ? Darken(body, 0.15f) : Lighten(body, 0.35f);
    const Rgb bottom = pressed ? Lighten(body, 0.1f) : Darken(body, 0.2f);
    r.Paint(
        0, 0, r.Width(), r.Height(), [&](float px, float py) { return SdCircle(px, py, cx, cy, rad + 0.6f); },
        [&](float, float) { return Darken(body, 0.5f); });
    r.Paint(
        0, 0, r.Width(), r.Height(), [&](float px, float py) { return SdCircle(px, py, cx, cy, rad - 0.4f); },
        [&](float, float py) {
            return Mix(top, bottom, std::clamp((py - cy + rad) / (2 * rad), 0.0f, 1.0f));
        });
    if (!pressed)
        r.Paint(
            0, 0, r.Width(), r.Height(),
            [&](float px, float py) {
                const float dx = (px - cx) / (rad * 0.75f), dy = (py - (cy - rad * 0.45f)) / (rad * 0.42f);
                return (std::sqrt(dx * dx + dy * dy) - 1) * rad * 0.42f;
            },
            [&](float, float py) { return Mix(kWhite, Lighten(body, 0.4f), (py - cy + rad) / rad); }, 0.75f);
}

} // namespace

void DrawSymbol(Raster& r, TitleGlyph g, float cx, float cy, float size, float thick, Rgb c) {
    const float h = size / 2;
    switch (g) {
    case TitleGlyph::Close:
        FillShape(
            r,
            [&](float px, float py) {
                return std::min(SdSegment(px, py, cx - h, cy - h, cx + h, cy + h, thick),
                                SdSegment(px, py, cx + h, cy - h, cx - h, cy + h, thick));
            },
            c);
        break;
    case TitleGlyph::Maximize:
        FillShape(
            r,
            [&](float px, float py) {
                return SdWindow(px, py, cx - h, cy - h, cx + h, cy + h, thick * 0.6f);
            },
            c);
        break;
    case TitleGlyph::Restore: {
        const float s = size * 0.7f, t = thick * 0.55f;
        const float fx0 = cx - h, fy0 = cy + h - s;
        FillShape(
            r,
            [&](float px, float py) {
                // The front window hides the back one where they overlap.
                const float back = std::max(SdWindow(px, py, cx + h - s, cy - h, cx + h, cy - h + s, t),
                                            -SdRoundBox(px, py, fx0 - 1, fy0 - 1, s + 2, s + 2, 0));
                return std::min(back, SdWindow(px, py, fx0, fy0, fx0 + s, fy0 + s, t));
            },
            c);
        break;
    }
    case TitleGlyph::Minimize:
        FillShape(
            r,
            [&](float px, float py) {
                return SdRoundBox(px, py, cx - h, cy + h - thick * 1.1f, size, thick * 1.1f, 0.2f);
            },
            c);
        break;
    }
}

namespace {

// The raised square of classic desktops, pushed in when pressed.
void BevelGlyph(Raster& r, TitleGlyph g, Rgb plate, bool pressed) {
    const float shift = pressed ? 1.0f : 0.0f;
    const int x0 = 2, y0 = 3, x1 = 17, y1 = 17;
    r.Fill(x0, y0, x1, y1, pressed ? Darken(plate, 0.06f) : plate);
    const Rgb hi = kWhite, sh = Darken(plate, 0.45f), dk = RGB8(0, 0, 0);
    const Rgb tl = pressed ? dk : hi, br = pressed ? hi : dk;
    r.HLine(x0, x1, y0, tl);
    r.VLine(x0, y0, y1, tl);
    r.HLine(x0, x1, y1 - 1, br);
    r.VLine(x1 - 1, y0, y1, br);
    r.HLine(x0 + 1, x1 - 1, y1 - 2, pressed ? plate : sh);
    r.VLine(x1 - 2, y0 + 1, y1 - 1, pressed ? plate : sh);
    if (pressed) {
        r.HLine(x0 + 1, x1 - 1, y0 + 1, sh);
        r.VLine(x0 + 1, y0 + 1, y1 - 1, sh);
    }
    DrawSymbol(r, g, 9.0f + shift, 9.5f + shift, 7, 2.0f, RGB8(0, 0, 0));
}

// A rounded tile in a white rim, its face shaded top to bottom.
void TileGlyph(Raster& r, TitleGlyph g, Rgb plate, bool pressed) {
    const float shift = pressed ? 1.0f : 0.0f;
    const Rgb body = pressed ? Darken(plate, 0.22f) : plate;
    FillShape(
        r, [&](float px, float py) { return SdRoundBox(px, py, 1.5f, 2, 16, 16.5f, 3); }, kWhite);
    r.Paint(
        0, 0, r.Width(), r.Height(),
        [&](float px, float py) { return SdRoundBox(px, py, 2.5f, 3, 14, 14.5f, 2.2f); },
        [&](float, float py) {
            const float t = (py - 3) / 14.5f;
            return pressed ? Mix(Darken(body, 0.2f), Lighten(body, 0.15f), t)
                           : Mix(Lighten(body, 0.45f), Darken(body, 0.1f), std::sqrt(std::max(t, 0.0f)));
        });
    DrawSymbol(r, g, kGlyphW / 2.0f + shift * 0.5f, 10.2f + shift * 0.5f, 6.5f, 2.0f, kWhite);
}

// A ring with a faint halo; filled when pressed.
void OutlineGlyph(Raster& r, TitleGlyph g, Rgb plate, Rgb line, bool pressed) {
    const float cx = kGlyphW / 2.0f;
    if (pressed) {
        FillShape(
            r, [&](float px, float py) { return SdRoundBox(px, py, 2, 2.5f, 15, 15, 1.5f); }, line);
        DrawSymbol(r, g, cx + 0.5f, 10 + 0.5f, 6.5f, 1.7f, Darken(plate, 0.3f));
        return;
    }
    FillShape(
        r, [&](float px, float py) { return std::fabs(SdRoundBox(px, py, 2.5f, 3, 14, 14, 1.5f)) - 0.5f; },
        line);
    FillShape(
        r, [&](float px, float py) { return std::fabs(SdRoundBox(px, py, 2.5f, 3, 14, 14, 1.5f)) - 2.0f; },
        line, 0.18f);
    DrawSymbol(r, g, cx, 10, 6.5f, 1.7f, line);
}

} // namespace

Raster PaintTitleGlyph(const SkinStyle& s, int skin, TitleGlyph g, bool pressed, const Raster& under) {
    Raster r = under;
    const float cx = kGlyphW / 2.0f, cy = kGlyphH / 2.0f;
    const float shift = pressed ? 1.0f : 0.0f;
    const Rgb plate = g == TitleGlyph::Close ? s.glyphClose : s.glyphBody;
    const Rgb text = TitleTextColour(skin, true);
    switch (s.glyph) {
    case GlyphLook::Bevel:
        BevelGlyph(r, g, plate, pressed);
        break;
    case GlyphLook::Round:
        GlossDisc(r, cx, cy, 7.4f, pressed ? Darken(plate, 0.25f) : plate, pressed);
        DrawSymbol(r, g, cx + shift * 0.5f, cy + shift * 0.5f, 6.2f, 1.7f, kWhite);
        break;
    case GlyphLook::Tile:
        TileGlyph(r, g, plate, pressed);
        break;
    case GlyphLook::Outline:
        OutlineGlyph(r, g, plate, g == TitleGlyph::Close ? s.glyphClose : s.accent, pressed);
        break;
    case GlyphLook::Traffic: {
        const Rgb lights[] = {s.glyphClose, RGB8(40, 200, 70), RGB8(40, 200, 70), RGB8(255, 190, 40)};
        const Rgb body = lights[static_cast<int>(g)];
        GlossDisc(r, cx, cy, 6.6f, pressed ? Darken(body, 0.3f) : body, pressed);
        DrawSymbol(r, g, cx, cy, 5.0f, 1.5f, Darken(body, 0.7f));
        break;
    }
    case GlyphLook::Bare:
        if (pressed)
            FillShape(
                r, [&](float px, float py) { return SdRoundBox(px, py, 1.5f, 2.5f, 16, 16, 3); },
                Mix(r.At(9, 10), text, 0.3f));
        DrawSymbol(r, g, cx + shift * 0.5f, cy + shift * 0.5f, 7.0f, 1.8f, text);
        break;
    }
    return r;
}

} // namespace skingen
