#include "MenuArt.h"

#include "SkinTable.h"

namespace skingen {
namespace {

struct MenuLook {
    Rgb gutter; // band behind the check marks
    Rgb tint;   // the body's colour at its left end, fading to white
    int width, height;
    bool stripes;
};

// Styles beyond the 24 skins: quiet colours of their own.
const MenuLook kExtra[] = {
    {RGB8(214, 120, 140), RGB8(252, 236, 240), 400, 18, false},  // rose
    {RGB8(150, 130, 210), RGB8(240, 236, 252), 512, 16, false},  // lavender
    {RGB8(110, 190, 150), RGB8(234, 250, 242), 640, 14, false},  // mint
    {RGB8(200, 170, 110), RGB8(250, 244, 228), 300, 12, true},   // sand
    {RGB8(110, 130, 150), RGB8(236, 240, 244), 800, 18, false},  // slate
    {RGB8(240, 150, 100), RGB8(254, 240, 230), 1024, 16, false}, // peach
    {RGB8(170, 174, 180), RGB8(246, 246, 248), 291, 6, true},    // silver
};

MenuLook LookOf(int style) {
    if (style >= kSkinCount) return kExtra[style - kSkinCount];
    const SkinStyle& s = Skins()[style];
    static const int widths[] = {500, 320, 400, 480, 512, 512, 600, 384, 400, 640, 448, 560,
                                 300, 640, 640, 420, 460, 291, 500, 512, 700, 600, 360, 720};
    static const int heights[] = {16, 18, 16, 14, 16, 16, 18, 12, 16, 10, 14, 18,
                                  16, 10, 10, 8,  16, 6,  16, 8,  18, 16, 12, 18};
    const bool stripes = s.caption == CaptionLook::Stripes;
    return MenuLook{Mix(s.frame, s.menuBottom, 0.45f), Mix(s.menuBottom, s.menuTop, 0.5f), widths[style],
                    heights[style], stripes};
}

} // namespace

Raster PaintMenuPattern(int style) {
    const MenuLook m = LookOf(style);
    Raster r(m.width, m.height);
    const int gutter = 22;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            Rgb c;
            if (x < gutter) {
                c = Mix(Lighten(m.gutter, 0.55f), m.gutter, static_cast<float>(x) / gutter);
            } else if (x == gutter) {
                c = Darken(m.gutter, 0.2f);
            } else if (x == gutter + 1) {
                c = RGB8(255, 255, 255);
            } else {
                const float t = std::min(1.0f, static_cast<float>(x - gutter) / (m.width * 0.7f));
                c = Mix(m.tint, RGB8(255, 255, 255), t);
            }
            // Stripes repeat with the pattern's height, which is even.
            if (m.stripes && (y % 2)) c = Darken(c, 0.04f);
            r.Set(x, y, c);
        }
    return r;
}

} // namespace skingen
