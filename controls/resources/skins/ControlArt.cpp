#include "ControlArt.h"

namespace skingen {
namespace {

const Rgb kWhite = RGB8(255, 255, 255);
const Rgb kSurface = RGB8(224, 224, 224); // the controls' own back colour around rounded corners

enum class State { Up, Hover, Pressed, Disabled, Focus };

template <class Sdf>
void FillShape(Raster& r, Sdf sdf, Rgb c, float opacity = 1) {
    r.Paint(
        0, 0, r.Width(), r.Height(), sdf, [&](float, float) { return c; }, opacity);
}

// Classic raised or sunken 3D frame inside x0 … x1 - 1, y0 … y1 - 1.
void Bevel(Raster& r, int x0, int y0, int x1, int y1, bool sunken, Rgb face) {
    const Rgb hi = kWhite, lo = Darken(face, 0.38f), dk = Darken(face, 0.72f), li = Lighten(face, 0.4f);
    const Rgb outTL = sunken ? lo : li, outBR = sunken ? hi : dk;
    const Rgb inTL = sunken ? dk : hi, inBR = sunken ? li : lo;
    r.HLine(x0, x1, y0, outTL);
    r.VLine(x0, y0, y1, outTL);
    r.HLine(x0, x1, y1 - 1, outBR);
    r.VLine(x1 - 1, y0, y1, outBR);
    r.HLine(x0 + 1, x1 - 1, y0 + 1, inTL);
    r.VLine(x0 + 1, y0 + 1, y1 - 1, inTL);
    r.HLine(x0 + 1, x1 - 1, y1 - 2, inBR);
    r.VLine(x1 - 2, y0 + 1, y1 - 1, inBR);
}

// The Bevel look's cell: the platform's raised or sunken button.
Raster BevelButtonCell(State st, Rgb face, Rgb glow) {
    Raster r(kCellW, kCellH, kSurface);
    r.Fill(0, 0, kCellW, kCellH, face);
    Bevel(r, 0, 0, kCellW, kCellH, st == State::Pressed, face);
    if (st == State::Hover) {
        r.HLine(2, kCellW - 2, 2, glow, 0.6f);
        r.HLine(2, kCellW - 2, kCellH - 3, glow, 0.6f);
    }
    if (st == State::Focus) {
        // The default button's extra black ring.
        r.HLine(0, kCellW, 0, RGB8(0, 0, 0));
        r.VLine(0, 0, kCellH, RGB8(0, 0, 0));
        r.HLine(0, kCellW, kCellH - 1, RGB8(0, 0, 0));
        r.VLine(kCellW - 1, 0, kCellH, RGB8(0, 0, 0));
        Bevel(r, 1, 1, kCellW - 1, kCellH - 1, false, face);
    }
    if (st == State::Disabled) Bevel(r, 0, 0, kCellW, kCellH, false, Lighten(face, 0.2f));
    return r;
}

// One push-button cell.
Raster ButtonCell(const SkinStyle& s, State st) {
    const float W = kCellW, H = kCellH;
    Rgb face = s.buttonFace, edge = s.buttonEdge;
    const Rgb glow = s.button == ButtonLook::Luna ? RGB8(248, 179, 48) : Lighten(edge, 0.35f);
    if (st == State::Disabled) {
        face = Lighten(Saturate(face, 0.2f), 0.3f);
        edge = Lighten(Saturate(edge, 0.15f), 0.5f);
    }
    if (st == State::Hover) face = Lighten(face, 0.35f);
    if (st == State::Pressed) face = Darken(face, 0.14f);
    if (s.button == ButtonLook::Bevel) return BevelButtonCell(st, face, glow);
    const bool down = st == State::Pressed;
    Raster r(kCellW, kCellH, kSurface);
    float radius = 3;
    Rgb top = Lighten(face, 0.5f), bottom = Darken(face, 0.08f);
    bool split = false;
    switch (s.button) {
    case ButtonLook::Gloss:
        split = true;
        top = Lighten(face, 0.7f), bottom = Mix(face, edge, 0.18f);
        break;
    case ButtonLook::Aqua:
        split = true;
        top = Lighten(face, 0.6f), bottom = Mix(face, edge, 0.35f);
        if (st == State::Disabled) bottom = Lighten(bottom, 0.4f);
        break;
    case ButtonLook::Flat:
        radius = 1.5f;
        top = bottom = face;
        break;
    case ButtonLook::Metal:
        radius = 2;
        top = Lighten(face, 0.6f), bottom = Darken(face, 0.16f);
        break;
    case ButtonLook::Neon:
        radius = 2;
        break;
    case ButtonLook::Luna:
        top = kWhite, bottom = Mix(face, RGB8(214, 208, 197), 0.8f);
        break;
    case ButtonLook::Bevel:
        break;
    }
    if (down) std::swap(top, bottom);
    if (st == State::Disabled && s.button != ButtonLook::Aqua) top = bottom = face;

    FillShape(
        r, [&](float px, float py) { return SdRoundBox(px, py, 0, 0, W, H, radius); }, edge);
    r.Paint(
        0, 0, kCellW, kCellH,
        [&](float px, float py) { return SdRoundBox(px, py, 1, 1, W - 2, H - 2, radius - 1); },
        [&](float, float py) {
            const float t = std::clamp((py - 1) / (H - 2), 0.0f, 1.0f);
            if (!split) return Mix(top, bottom, t);
            // Glass: a bright upper half, then the deep colour rising again.
            return t < 0.5f ? Mix(top, Lighten(face, 0.25f), t * 2)
                            : Mix(bottom, Lighten(bottom, 0.25f), (t - 0.5f) * 2);
        });
    if (s.button == ButtonLook::Neon && st != State::Disabled)
        r.Paint(
            0, 0, kCellW, kCellH,
            [&](float px, float py) {
                return std::fabs(SdRoundBox(px, py, 1, 1, W - 2, H - 2, radius - 1)) - 0.5f;
            },
            [&](float, float) { return Lighten(edge, 0.3f); }, down ? 0.3f : 0.6f);
    if (st == State::Hover || st == State::Focus) {
        const Rgb ring =
            st == State::Hover ? glow : (s.button == ButtonLook::Luna ? RGB8(105, 130, 238) : edge);
        r.Paint(
            0, 0, kCellW, kCellH,
            [&](float px, float py) {
                return std::fabs(SdRoundBox(px, py, 1.5f, 1.5f, W - 3, H - 3, radius - 1)) - 0.6f;
            },
            [&](float, float) { return ring; }, 0.85f);
    }
    if (!down && st != State::Disabled) r.HLine(3, kCellW - 3, 1, kWhite, 0.55f);
    return r;
}

// Box of a check glyph for one look and state; returns the colour of its mark.
Rgb ToggleBox(Raster& r, const ToggleSpec& t, State st, bool round) {
    const float c = kToggle / 2.0f;
    const bool off = st == State::Disabled;
    const Rgb edge = off ? RGB8(176, 176, 170) : t.edge;
    auto shape = [&](float inset, float px, float py) {
        return round ? SdCircle(px, py, c, c, c - 0.5f - inset)
                     : SdRoundBox(px, py, 0.5f + inset, 0.5f + inset, kToggle - 1 - 2 * inset,
                                  kToggle - 1 - 2 * inset, t.look == ToggleLook::Gloss ? 3.0f - inset : 0.5f);
    };
    Rgb top = kWhite, bottom = RGB8(236, 236, 232);
    switch (t.look) {
    case ToggleLook::Classic:
        if (!round) {
            r.Fill(0, 0, kToggle, kToggle,
                   st == State::Pressed ? RGB8(190, 188, 182)
                   : off                ? RGB8(222, 220, 214)
                                        : kWhite);
            Bevel(r, 0, 0, kToggle, kToggle, true, RGB8(212, 208, 200));
            if (st == State::Hover)
                r.Paint(
                    0, 0, kToggle, kToggle,
                    [&](float px, float py) { return std::fabs(shape(2, px, py)) - 0.5f; },
                    [&](float, float) { return t.hover; }, 0.8f);
            return off ? RGB8(160, 160, 160) : t.mark;
        }
        top = kWhite, bottom = kWhite;
        break;
    case ToggleLook::Luna:
        top = RGB8(220, 220, 215), bottom = kWhite;
        break;
    case ToggleLook::Gloss:
        top = kWhite, bottom = Mix(kWhite, t.hover, 0.35f);
        break;
    case ToggleLook::Neon:
        top = RGB8(30, 34, 42), bottom = RGB8(10, 12, 16);
        break;
    case ToggleLook::Flat:
        top = bottom = kWhite;
        break;
    case ToggleLook::Metal:
        top = RGB8(250, 250, 250), bottom = RGB8(200, 202, 206);
        break;
    }
    if (st == State::Pressed) top = Darken(top, 0.2f), bottom = Darken(bottom, 0.12f);
    if (off) top = bottom = t.look == ToggleLook::Neon ? RGB8(60, 60, 60) : RGB8(240, 240, 236);
    r.Paint(
        0, 0, kToggle, kToggle, [&](float px, float py) { return shape(0, px, py); },
        [&](float, float) { return edge; });
    r.Paint(
        0, 0, kToggle, kToggle, [&](float px, float py) { return shape(1, px, py); },
        [&](float, float py) { return Mix(top, bottom, py / kToggle); });
    if (st == State::Hover)
        r.Paint(
            0, 0, kToggle, kToggle, [&](float px, float py) { return std::fabs(shape(1.8f, px, py)) - 0.7f; },
            [&](float, float) { return t.hover; }, 0.9f);
    if (t.look == ToggleLook::Neon && !off)
        r.Paint(
            0, 0, kToggle, kToggle, [&](float px, float py) { return std::fabs(shape(0, px, py)) - 0.9f; },
            [&](float, float) { return t.edge; }, 0.35f);
    return off ? (t.look == ToggleLook::Neon ? RGB8(130, 130, 130) : RGB8(170, 170, 164)) : t.mark;
}

Raster CheckCell(const ToggleSpec& t, int value, State st) {
    Raster r(kToggle, kToggle, kSurface);
    const Rgb mark = ToggleBox(r, t, st, false);
    if (value == 1)
        FillShape(
            r,
            [](float px, float py) {
                return std::min(SdSegment(px, py, 3.2f, 6.4f, 5.4f, 8.8f, 2.0f),
                                SdSegment(px, py, 5.4f, 8.8f, 9.8f, 3.6f, 2.0f));
            },
            mark);
    if (value == 2)
        FillShape(
            r, [](float px, float py) { return SdRoundBox(px, py, 3.5f, 3.5f, 6, 6, 0.6f); }, mark, 0.85f);
    return r;
}

Raster OptionCell(const ToggleSpec& t, bool on, State st) {
    Raster r(kToggle, kToggle, kSurface);
    const Rgb mark = ToggleBox(r, t, st, true);
    if (on) {
        const float c = kToggle / 2.0f;
        r.Paint(
            0, 0, kToggle, kToggle, [&](float px, float py) { return SdCircle(px, py, c, c, 2.8f); },
            [&](float, float py) {
                return Mix(Lighten(mark, 0.35f), Darken(mark, 0.2f), (py - c + 2.8f) / 5.6f);
            });
        FillShape(
            r, [&](float px, float py) { return SdCircle(px, py, c - 0.9f, c - 1.0f, 0.9f); }, kWhite, 0.6f);
    }
    return r;
}

} // namespace

Raster PaintButtonSheet(const SkinStyle& s) {
    Raster sheet(5 * kCellW, kCellH);
    const State order[] = {State::Up, State::Hover, State::Pressed, State::Disabled, State::Focus};
    for (int i = 0; i < 5; ++i)
        sheet.CopyFrom(ButtonCell(s, order[i]), 0, 0, kCellW, kCellH, i * kCellW, 0);
    return sheet;
}

Raster PaintCheckSheet(const ToggleSpec& t) {
    Raster sheet(kToggle, 12 * kToggle);
    const State order[] = {State::Up, State::Hover, State::Pressed, State::Disabled};
    for (int v = 0; v < 3; ++v)
        for (int i = 0; i < 4; ++i)
            sheet.CopyFrom(CheckCell(t, v, order[i]), 0, 0, kToggle, kToggle, 0, (4 * v + i) * kToggle);
    return sheet;
}

Raster PaintOptionSheet(const ToggleSpec& t) {
    Raster sheet(4 * kToggle, 2 * kToggle);
    const State order[] = {State::Up, State::Hover, State::Pressed, State::Disabled};
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 4; ++i)
            sheet.CopyFrom(OptionCell(t, row == 1, order[i]), 0, 0, kToggle, kToggle, i * kToggle,
                           row * kToggle);
    return sheet;
}

Raster PaintHorizontalThumb(const SkinStyle& s) {
    const int w = s.thumbW, h = s.thumbH;
    Raster r(w, h, kSurface);
    const Rgb body = s.thumb;
    if (s.button == ButtonLook::Bevel) {
        r.Fill(0, 0, w, h, body);
        Bevel(r, 0, 0, w, h, false, body);
    } else {
        const float rad = s.button == ButtonLook::Flat ? 1.0f : 3.0f;
        FillShape(
            r, [&](float px, float py) { return SdRoundBox(px, py, 0, 0, w, h, rad); }, Darken(body, 0.5f));
        r.Paint(
            0, 0, w, h, [&](float px, float py) { return SdRoundBox(px, py, 1, 1, w - 2, h - 2, rad - 1); },
            [&](float px, float) {
                const float t = (px - 1) / (w - 2);
                // A rod lit from the upper left.
                return s.button == ButtonLook::Flat
                           ? body
                           : Mix(Lighten(body, 0.5f), Darken(body, 0.2f), std::pow(t, 0.8f));
            });
    }
    // Grip: three ridges across the middle.
    const Rgb ridgeHi = Lighten(body, 0.6f), ridgeLo = Darken(body, 0.45f);
    for (int k = -1; k <= 1; ++k) {
        const int y = h / 2 + 3 * k - 1;
        r.HLine(2, w - 2, y, ridgeLo, 0.8f);
        r.HLine(2, w - 2, y + 1, ridgeHi, 0.8f);
    }
    if (s.caption == CaptionLook::Neon) r.VLine(w / 2, 2, h - 2, s.accent, 0.8f);
    return r;
}

Raster PaintVerticalThumb(const SkinStyle& s) {
    return PaintHorizontalThumb(s).Transposed();
}

Raster PaintFill(const SkinStyle& s, int skin) {
    const int w = s.fillW, h = s.fillH;
    Raster r(w, h);
    const Rgb c = s.fill;
    for (int y = 0; y < h; ++y) {
        const float t = (y + 0.5f) / h;
        // Rounded bar: bright band in the upper third, deep towards the foot.
        Rgb row = Mix(Lighten(c, 0.25f), Darken(c, 0.25f), t);
        row = Mix(row, kWhite, 0.55f * std::exp(-std::pow((t - 0.28f) / 0.14f, 2.0f)));
        if (y == 0) row = Darken(c, 0.35f);
        if (y == h - 1) row = Darken(c, 0.45f);
        r.Fill(0, y, w, y + 1, row);
    }
    if (skin == 20) {
        // The red pipe's sockets at both ends of the segment.
        for (int x : {0, 1, 2, w - 3, w - 2, w - 1})
            for (int y = 0; y < h; ++y)
                r.Set(x, y, Darken(r.At(x, y), (x == 2 || x == w - 3) ? 0.45f : 0.15f));
    }
    return r;
}

Raster StretchCell(const Raster& sheet, int cell, int w, int h) {
    Raster out(w, h);
    const int ox = cell * kCellW;
    auto src = [&](int sx, int sy) { return sheet.At(ox + sx, sy); };
    for (int y = 0; y < h; ++y) {
        const int sy = y < 3 ? y : (y >= h - 3 ? 18 + (y - (h - 3)) : 3 + (y - 3) * 15 / std::max(1, h - 6));
        for (int x = 0; x < w; ++x) {
            // The stretched centre also covers the right slice's three inner columns.
            const int sx = x < 9 ? x : (x >= w - 6 ? 12 + (x - (w - 6)) : 9);
            out.Set(x, y, src(sx, sy));
        }
    }
    return out;
}

} // namespace skingen
