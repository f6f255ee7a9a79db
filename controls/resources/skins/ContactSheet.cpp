#include "ContactSheet.h"

#include "CaptionArt.h"
#include "ControlArt.h"
#include "DesignArt.h"
#include "SkinTable.h"
#include "StrokeFont.h"

#include <string>

namespace skingen {
namespace {

const Rgb kClient = RGB8(224, 224, 224);
const Rgb kSheetBack = RGB8(246, 246, 246);
constexpr int kBlockW = 670, kBlockH = 292;
constexpr int kWinW = 320, kWinH = 212;

// Cuts a glyph cell of the strip onto the window the way the painter does.
void PutGlyph(Raster& win, const Raster& strip, int k, bool active, int x) {
    win.CopyFrom(strip, kGlyphX + (active ? k : 4 + k) * kGlyphW, 0, kGlyphW, kGlyphH, x, 5);
}

void SampleControls(Raster& win, const SkinArt& a, int top) {
    // Push buttons in their five states, stretched as the control stretches them.
    for (int i = 0; i < 5; ++i)
        win.CopyFrom(StretchCell(a.buttons, i, 54, 24), 0, 0, 54, 24, 18 + i * 57, top + 6);
    // Check glyphs: unchecked, checked, mixed, each normal/hover/pressed/disabled.
    for (int i = 0; i < 12; ++i)
        win.CopyFrom(a.check, 0, i * kToggle, kToggle, kToggle, 18 + i * 16 + (i / 4) * 6, top + 40);
    for (int i = 0; i < 8; ++i)
        win.CopyFrom(a.option, (i % 4) * kToggle, (i / 4) * kToggle, kToggle, kToggle,
                     18 + i * 16 + (i / 4) * 6, top + 60);
    // A slider groove with the horizontal thumb, and the vertical thumb.
    const int gy = top + 92;
    win.HLine(18, 170, gy, RGB8(128, 128, 128));
    win.HLine(18, 170, gy + 1, RGB8(255, 255, 255));
    win.CopyFrom(a.hThumb, 0, 0, a.hThumb.Width(), a.hThumb.Height(), 70, gy - a.hThumb.Height() / 2);
    win.VLine(262, top + 40, top + 112, RGB8(128, 128, 128));
    win.VLine(263, top + 40, top + 112, RGB8(255, 255, 255));
    win.CopyFrom(a.vThumb, 0, 0, a.vThumb.Width(), a.vThumb.Height(), 263 - a.vThumb.Width() / 2, top + 60);
    // A progress bar at 60 %: the fill stretched into a framed well.
    const int bx = 180, by = top + 84, bw = 70, bh = 16;
    win.Fill(bx, by, bx + bw, by + bh, RGB8(120, 120, 120));
    win.Fill(bx + 1, by + 1, bx + bw - 1, by + bh - 1, kClient);
    const int fw = (bw - 2) * 6 / 10;
    for (int y = 0; y < bh - 2; ++y)
        for (int x = 0; x < fw; ++x)
            win.Set(bx + 1 + x, by + 1 + y,
                    a.fill.At(x * a.fill.Width() / fw, y * a.fill.Height() / (bh - 2)));
}

void Enlarged(Raster& win, const SkinArt& a, int top) {
    const Raster b = a.buttons.Scaled(2);
    win.CopyFrom(b, 0, 0, b.Width(), b.Height(), 18, top + 6);
    const Raster c = a.check.Crop(0, 4 * kToggle, kToggle, kToggle).Scaled(3);
    const Raster o = a.option.Crop(0, kToggle, kToggle, kToggle).Scaled(3);
    win.CopyFrom(c, 0, 0, c.Width(), c.Height(), 210, top + 6);
    win.CopyFrom(o, 0, 0, o.Width(), o.Height(), 252, top + 6);
    const Raster h = a.hThumb.Scaled(3), v = a.vThumb.Scaled(3);
    win.CopyFrom(h, 0, 0, h.Width(), h.Height(), 18, top + 56);
    win.CopyFrom(v, 0, 0, v.Width(), v.Height(), 60, top + 60);
    const Raster f = a.fill.Scaled(3);
    win.CopyFrom(f, 0, 0, std::min(f.Width(), 150), f.Height(), 140, top + 56);
}

} // namespace

Raster ComposeWindow(const SkinArt& a, int skin, bool active, int w, int h) {
    Raster win(w, h, kClient);
    const int capH = a.caption.Height(), o = active ? 0 : kInactiveX;
    win.CopyFrom(a.caption, o, 0, kLeftEnd, capH, 0, 0);
    const int right = w - (kRightEnd - kRightStart + 1) + 1;
    for (int x = kLeftEnd; x < right; x += kTileWidth)
        win.CopyFrom(a.caption, o + kTileStart, 0, std::min(kTileWidth, right - x), capH, x, 0);
    win.CopyFrom(a.caption, o + kRightStart, 0, kRightEnd - kRightStart + 1, capH, right, 0);
    const int close = w + 1 - kBorder + 4 - (kGlyphW + 1);
    PutGlyph(win, a.caption, 0, active, close);
    PutGlyph(win, a.caption, 2, active, close - (kGlyphW + 1));
    PutGlyph(win, a.caption, 3, active, close - 2 * (kGlyphW + 1));
    TextStyle title;
    title.unit = 1.55f, title.thick = active ? 1.6f : 1.15f, title.colour = TitleTextColour(skin, active);
    win.CopyFrom(PaintToolboxImage(0), 0, 0, 16, 15, 7, 5);
    DrawStrokeText(win, 28, 10, "Skin " + std::to_string(skin) + " - " + Skins()[skin].tag, title);
    TextStyle menu;
    menu.unit = 1.3f, menu.thick = 1.1f, menu.colour = RGB8(0, 0, 0);
    float mx = 18;
    for (const char* item : {"File", "Edit", "View", "Help"})
        mx += DrawStrokeText(win, mx, 36, item, menu) + 14;
    for (int y = capH; y < h - kBorder; ++y) {
        win.CopyFrom(a.border, 0, 0, kBorder, 1, 0, y);
        win.CopyFrom(a.border, 4 * kBorder, 0, kBorder, 1, w - kBorder, y);
    }
    for (int x = kBorder; x < w - kBorder; x += kBorder)
        win.CopyFrom(a.border, 3 * kBorder, 0, kBorder, kBorder, x, h - kBorder);
    win.CopyFrom(a.border, 2 * kBorder, 0, kBorder, kBorder, 0, h - kBorder);
    win.CopyFrom(a.border, 6 * kBorder, 0, kBorder, kBorder, w - kBorder, h - kBorder);
    return win;
}

Raster ContactSheet(const SkinArt* skins, int count) {
    const int cols = 2, rows = (count + cols - 1) / cols;
    Raster sheet(cols * kBlockW, rows * kBlockH, kSheetBack);
    TextStyle label;
    label.unit = 1.5f, label.thick = 1.3f, label.colour = RGB8(40, 40, 40);
    for (int i = 0; i < count; ++i) {
        const SkinArt& a = skins[i];
        const int bx = (i % cols) * kBlockW + 15, by = (i / cols) * kBlockH + 6;
        DrawStrokeText(sheet, static_cast<float>(bx), static_cast<float>(by),
                       std::to_string(i) + "  " + Skins()[i].tag, label);
        sheet.CopyFrom(a.caption, 0, 0, a.caption.Width(), a.caption.Height(), bx, by + 16);
        Raster act = ComposeWindow(a, i, true, kWinW, kWinH);
        SampleControls(act, a, a.caption.Height());
        Raster inact = ComposeWindow(a, i, false, kWinW, kWinH);
        Enlarged(inact, a, a.caption.Height());
        sheet.CopyFrom(act, 0, 0, kWinW, kWinH, bx, by + 72);
        sheet.CopyFrom(inact, 0, 0, kWinW, kWinH, bx + kWinW + 10, by + 72);
    }
    return sheet;
}

} // namespace skingen
