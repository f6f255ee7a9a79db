#include "DesignArt.h"

#include "CaptionArt.h"
#include "ControlArt.h"
#include "SkinTable.h"
#include "StrokeFont.h"

#include <iterator>

namespace skingen {
namespace {

const Rgb kWhite = RGB8(255, 255, 255);
const Rgb kBlack = RGB8(0, 0, 0);
const Rgb kToolboxBack = RGB8(192, 192, 192); // the toolbox's transparent colour

template <class Sdf>
void FillShape(Raster& r, Sdf sdf, Rgb c, float opacity = 1) {
    r.Paint(
        0, 0, r.Width(), r.Height(), sdf, [&](float, float) { return c; }, opacity);
}

template <class Sdf>
void Gradient(Raster& r, Sdf sdf, Rgb top, Rgb bottom, float y0, float y1) {
    r.Paint(0, 0, r.Width(), r.Height(), sdf,
            [&](float, float py) { return Mix(top, bottom, std::clamp((py - y0) / (y1 - y0), 0.0f, 1.0f)); });
}

// The distance field of a box with round corners.
auto RoundBox(float x, float y, float w, float h, float radius) {
    return [=](float px, float py) { return SdRoundBox(px, py, x, y, w, h, radius); };
}

// A miniature skinned window: caption, menu band, frame and client area.
void MiniWindow(Raster& r, float x, float y, float w, float h, const SkinStyle& s, float cap) {
    FillShape(r, RoundBox(x, y, w, h, 1), Darken(s.frame, 0.5f));
    Gradient(r, RoundBox(x + 1, y + 1, w - 2, h - 2, 0.5f), s.frame, Darken(s.frame, 0.2f), y, y + h);
    Gradient(r, RoundBox(x + 1, y + 1, w - 2, cap, 0.5f), Lighten(s.titleTop, 0.2f), s.titleBottom, y + 1,
             y + 1 + cap);
    FillShape(r, RoundBox(x + 2, y + 1 + cap, w - 4, h - cap - 3, 0), RGB8(236, 236, 236));
}

// The toolbox images, one a control.
constexpr Rgb kToolboxInk = RGB8(40, 60, 110);

// GlimForm: a skinned window
void ToolboxForm(Raster& r) {
    MiniWindow(r, 0.5f, 1, 15, 13, Skins()[0], 4);
    FillShape(
        r, [](float px, float py) { return SdCircle(px, py, 12.5f, 3, 1.1f); }, RGB8(230, 80, 60));
}

// GlimButton: a rounded push button with a caption
void ToolboxButton(Raster& r) {
    FillShape(r, RoundBox(0.5f, 3, 15, 9, 2.5f), kToolboxInk);
    Gradient(r, RoundBox(1.5f, 4, 13, 7, 1.5f), kWhite, RGB8(170, 200, 240), 4, 11);
    r.HLine(5, 11, 7, kToolboxInk, 0.9f);
}

// GlimContainr: a panel with a gradient header
void ToolboxContainer(Raster& r) {
    FillShape(r, RoundBox(0.5f, 1, 15, 13, 2), kToolboxInk);
    Gradient(r, RoundBox(1.5f, 2, 13, 11, 1), RGB8(250, 250, 255), RGB8(214, 226, 246), 2, 13);
    Gradient(r, RoundBox(1.5f, 2, 13, 4, 1), RGB8(120, 160, 230), RGB8(40, 90, 190), 2, 6);
}

// GlimCheck: a ticked box
void ToolboxCheck(Raster& r) {
    FillShape(r, RoundBox(2, 1.5f, 12, 12, 1.5f), kToolboxInk);
    FillShape(r, RoundBox(3, 2.5f, 10, 10, 1), kWhite);
    FillShape(
        r,
        [](float px, float py) {
            return std::min(SdSegment(px, py, 4.5f, 7.5f, 7, 10, 2),
                            SdSegment(px, py, 7, 10, 11.5f, 4.5f, 2));
        },
        RGB8(30, 150, 40));
}

// GlimOption: a chosen option
void ToolboxOption(Raster& r) {
    FillShape(
        r, [](float px, float py) { return SdCircle(px, py, 8, 7.5f, 6.5f); }, kToolboxInk);
    FillShape(
        r, [](float px, float py) { return SdCircle(px, py, 8, 7.5f, 5.5f); }, kWhite);
    Gradient(
        r, [](float px, float py) { return SdCircle(px, py, 8, 7.5f, 3); }, RGB8(100, 170, 255),
        RGB8(20, 80, 190), 4.5f, 10.5f);
}

// GlimSlider: a groove and its thumb
void ToolboxSlider(Raster& r) {
    r.HLine(1, 15, 7, RGB8(110, 110, 110));
    r.HLine(1, 15, 8, kWhite);
    FillShape(r, RoundBox(5.5f, 2, 5, 11, 1.5f), kToolboxInk);
    Gradient(r, RoundBox(6.5f, 3, 3, 9, 1), RGB8(190, 215, 250), RGB8(80, 130, 210), 3, 12);
}

// GlimPressBar: a bar half full
void ToolboxPressBar(Raster& r) {
    FillShape(r, RoundBox(0.5f, 4, 15, 7, 2), RGB8(90, 90, 90));
    FillShape(r, RoundBox(1.5f, 5, 13, 5, 1), kWhite);
    Gradient(r, RoundBox(1.5f, 5, 8, 5, 1), RGB8(130, 230, 120), RGB8(30, 150, 40), 5, 10);
}

// GlimToolTip: a balloon with its tail
void ToolboxToolTip(Raster& r) {
    FillShape(
        r,
        [](float px, float py) {
            return std::min(SdRoundBox(px, py, 0.5f, 1, 15, 9, 3), SdConvex(px, py, {3, 9, 7, 9, 3.5f, 14}));
        },
        RGB8(120, 100, 20));
    FillShape(
        r,
        [](float px, float py) {
            return std::min(SdRoundBox(px, py, 1.5f, 2, 13, 7, 2),
                            SdConvex(px, py, {4, 8.5f, 6.3f, 8.5f, 4.2f, 12.2f}));
        },
        RGB8(255, 244, 170));
    r.HLine(4, 12, 4, kToolboxInk, 0.8f);
    r.HLine(4, 10, 6, kToolboxInk, 0.8f);
}

} // namespace

Raster PaintToolboxImage(int control) {
    static constexpr void (*kPainters[])(Raster&) = {ToolboxForm,     ToolboxButton, ToolboxContainer,
                                                     ToolboxCheck,    ToolboxOption, ToolboxSlider,
                                                     ToolboxPressBar, ToolboxToolTip};
    Raster r(16, 15, kToolboxBack);
    if (control >= 0 && control < static_cast<int>(std::size(kPainters))) kPainters[control](r);
    return r;
}

Raster PaintFormDesign() {
    Raster r(32, 32, RGB8(224, 224, 224));
    const SkinStyle& s = Skins()[0];
    MiniWindow(r, 1, 2, 30, 28, s, 8);
    for (int k = 0; k < 3; ++k)
        FillShape(
            r, [&](float px, float py) { return SdCircle(px, py, 26.5f - 4.5f * k, 6, 1.6f); },
            k == 0 ? RGB8(230, 80, 60) : RGB8(230, 236, 250));
    // The brush stroke that says "skin".
    TextStyle t;
    t.unit = 2.2f, t.thick = 2.2f, t.colour = s.frame;
    DrawStrokeText(r, 11.5f, 13, "G", t);
    return r;
}

Raster PaintToolTipDesign() {
    Raster r(32, 32, RGB8(224, 224, 224));
    auto balloon = [](float inset) {
        return [inset](float px, float py) {
            return std::min(
                SdRoundBox(px, py, 1 + inset, 3 + inset, 30 - 2 * inset, 19 - 2 * inset, 6 - inset),
                SdConvex(px, py, {8 + inset, 20, 15 - inset, 20, 7 + inset * 0.4f, 30 - inset * 2}));
        };
    };
    FillShape(r, balloon(0), RGB8(40, 40, 40));
    Gradient(r, balloon(1), RGB8(255, 255, 235), RGB8(255, 226, 140), 4, 24);
    FillShape(
        r, [](float px, float py) { return SdCircle(px, py, 9, 12.5f, 4.5f); }, RGB8(30, 100, 210));
    FillShape(
        r,
        [](float px, float py) {
            return std::min(SdSegment(px, py, 9, 11.5f, 9, 15, 1.6f), SdCircle(px, py, 9, 9.8f, 0.9f));
        },
        kWhite);
    r.HLine(16, 27, 10, RGB8(60, 60, 60));
    r.HLine(16, 25, 13, RGB8(60, 60, 60));
    r.HLine(16, 23, 16, RGB8(60, 60, 60));
    return r;
}

Raster PaintFillDesign() {
    SkinStyle s = Skins()[0];
    s.fill = RGB8(50, 170, 70);
    s.fillW = 14, s.fillH = 24;
    return PaintFill(s, 0);
}

Cursor PaintHandCursor() {
    Raster r(32, 32, kWhite, 0);
    // A pointing hand: index finger up, three fingers curled, thumb at the side.
    auto hand = [](float px, float py) {
        float d = SdSegment(px, py, 9.5f, 4, 9.5f, 16, 4.6f);              // index finger
        d = std::min(d, SdRoundBox(px, py, 7, 13, 15, 13, 4));             // palm
        d = std::min(d, SdSegment(px, py, 13.8f, 13.5f, 13.8f, 16, 4.2f)); // middle finger
        d = std::min(d, SdSegment(px, py, 17.6f, 14.5f, 17.6f, 17, 4.0f)); // ring finger
        d = std::min(d, SdSegment(px, py, 20.6f, 16, 20.6f, 18.5f, 3.6f)); // little finger
        d = std::min(d, SdSegment(px, py, 8.5f, 21, 4.2f, 16.2f, 4.2f));   // thumb
        return d;
    };
    FillShape(
        r, [&](float px, float py) { return hand(px, py) - 1.0f; }, kBlack);
    FillShape(r, hand, kWhite);
    // Creases between the fingers.
    for (float x : {11.8f, 15.7f, 19.2f})
        r.Paint(
            0, 0, 32, 32, [&](float px, float py) { return SdSegment(px, py, x, 13.5f, x, 17.5f, 0.8f); },
            [](float, float) { return RGB8(60, 60, 60); });
    // The hot spot is the topmost inked pixel of the index finger.
    const int hotX = 9;
    int hotY = 0;
    while (hotY < 31 && r.AlphaAt(hotX, hotY) < 0.5f)
        ++hotY;
    return Cursor{r, hotX, hotY};
}

std::vector<Raster> PaintTipIcon(int mode) {
    std::vector<Raster> sizes;
    for (int n : {16, 32}) {
        Raster r(n, n, kWhite, 0);
        const float k = n / 16.0f, c = n / 2.0f;
        if (mode == 0) {
            // Exclamation: a yellow warning triangle.
            auto tri = [&](float inset) {
                return [=](float px, float py) {
                    return SdConvex(px, py,
                                    {c, 1.2f * k + inset * 1.6f, n - 0.6f * k - inset * 1.6f,
                                     n - 1.4f * k - inset, 0.6f * k + inset * 1.6f, n - 1.4f * k - inset}) -
                           0.8f * k;
                };
            };
            FillShape(r, tri(0), RGB8(120, 80, 0));
            Gradient(r, tri(1.1f * k), RGB8(255, 236, 120), RGB8(240, 180, 0), 0, static_cast<float>(n));
            FillShape(
                r,
                [&](float px, float py) {
                    return std::min(SdSegment(px, py, c, 5.5f * k, c, 10 * k, 1.9f * k),
                                    SdCircle(px, py, c, 12.6f * k, 1.1f * k));
                },
                kBlack);
        } else {
            const Rgb body = mode == 3 ? RGB8(220, 40, 30) : RGB8(30, 110, 220);
            FillShape(
                r, [&](float px, float py) { return SdCircle(px, py, c, c, c - 0.5f); }, Darken(body, 0.45f));
            Gradient(
                r, [&](float px, float py) { return SdCircle(px, py, c, c, c - 1.5f * k); },
                Lighten(body, 0.35f), Darken(body, 0.1f), 0, static_cast<float>(n));
            if (mode == 1) {
                TextStyle t;
                t.unit = 1.45f * k, t.thick = 1.7f * k, t.colour = kWhite;
                DrawStrokeText(r, c - 2 * t.unit, c - 3 * t.unit, "?", t);
            } else if (mode == 2) {
                FillShape(
                    r,
                    [&](float px, float py) {
                        return std::min(SdSegment(px, py, c, 7 * k, c, 12 * k, 2 * k),
                                        SdCircle(px, py, c, 4.2f * k, 1.2f * k));
                    },
                    kWhite);
            } else {
                const float h = 3.2f * k;
                FillShape(
                    r,
                    [&](float px, float py) {
                        return std::min(SdSegment(px, py, c - h, c - h, c + h, c + h, 2 * k),
                                        SdSegment(px, py, c + h, c - h, c - h, c + h, 2 * k));
                    },
                    kWhite);
            }
        }
        sizes.push_back(r);
    }
    return sizes;
}

Raster PaintAbout() {
    Raster r(336, 164);
    r.VGradient(0, 0, 336, 164, {RGB8(255, 255, 255), RGB8(232, 240, 252), RGB8(200, 218, 246)});
    // A sweep of colour behind the name.
    r.Paint(
        0, 0, 336, 164, [](float px, float py) { return SdSweep(px, py, 336, 118, 60, 10); },
        [](float px, float) { return Mix(RGB8(120, 170, 240), RGB8(60, 110, 210), px / 336.0f); }, 0.35f);
    TextStyle name;
    name.unit = 5, name.thick = 4, name.slant = 0.12f, name.colour = RGB8(30, 60, 140);
    DrawStrokeText(r, 24, 28, "GlimForm", name);
    TextStyle sub;
    sub.unit = 1.6f, sub.thick = 1.3f, sub.colour = RGB8(70, 90, 130);
    DrawStrokeText(r, 27, 72, "skinned controls - 24 skins", sub);
    // One swatch per skin: its caption colours over its menu band.
    for (int i = 0; i < kSkinCount; ++i) {
        const SkinStyle& s = Skins()[i];
        const float x = 14 + i * 12.9f, y = 130;
        FillShape(r, RoundBox(x, y, 11, 18, 2), Darken(s.frame, 0.4f));
        Gradient(r, RoundBox(x + 1, y + 1, 9, 9, 1.2f), s.titleTop, s.titleBottom, y + 1, y + 10);
        FillShape(r, RoundBox(x + 1, y + 10, 9, 7, 0.5f), s.menuTop);
    }
    return r;
}

} // namespace skingen
