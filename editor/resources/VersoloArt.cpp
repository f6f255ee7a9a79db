#include "VersoloArt.h"

#include "StrokeFont.h"

namespace skingen {
namespace {

const Rgb kWhite = RGB8(255, 255, 255);
const Rgb kFormBack = RGB8(220, 232, 250); // the editor's window colour

// An eighth note: a tilted oval head, a stem and a flag; (x, y) is the head's centre.
float SdNote(float px, float py, float x, float y, float s) {
    const float a = -0.35f, ca = std::cos(a), sa = std::sin(a);
    const float dx = px - x, dy = py - y;
    const float u = (dx * ca - dy * sa) / (1.25f * s), v = (dx * sa + dy * ca) / (0.85f * s);
    const float head = (std::sqrt(u * u + v * v) - 1) * 0.85f * s;
    const float stemX = x + 1.05f * s;
    const float stem = SdSegment(px, py, stemX, y - 0.2f * s, stemX, y - 4.2f * s, 0.32f * s);
    const float flag =
        std::min(SdSegment(px, py, stemX, y - 4.2f * s, stemX + 1.3f * s, y - 2.9f * s, 0.38f * s),
                 SdSegment(px, py, stemX + 1.3f * s, y - 2.9f * s, stemX + 1.0f * s, y - 1.6f * s, 0.3f * s));
    return std::min(head, std::min(stem, flag));
}

// Bars of a quiet waveform along the foot of a picture.
void Waveform(Raster& r, int y, int h, Rgb c, float opacity) {
    for (int x = 6; x < r.Width() - 6; x += 5) {
        const float t = x * 0.071f;
        const float amp = 0.25f + 0.75f * std::fabs(std::sin(t) * std::cos(t * 0.37f + 1.1f));
        const float bar = h * amp;
        r.Paint(
            x, y - static_cast<int>(bar) - 1, x + 4, y + static_cast<int>(bar) + 2,
            [&](float px, float py) {
                return SdRoundBox(px, py, static_cast<float>(x), y - bar, 3, 2 * bar, 1.5f);
            },
            [&](float, float) { return c; }, opacity);
    }
}

// The style shrunk, strokes and all, so that the ink of the text (advance,
// slant and stroke width) fits into a width.
TextStyle Fitted(TextStyle st, const char* text, float room) {
    const float ink = TextWidth(text, st) + 6 * st.unit * st.slant + st.thick;
    if (ink > room) {
        st.unit *= room / ink;
        st.thick *= room / ink;
    }
    return st;
}

Raster Banner(const char* title, const char* line) {
    Raster r(500, 170);
    r.VGradient(0, 0, 500, 170, {RGB8(24, 44, 110), RGB8(30, 90, 170), RGB8(60, 150, 210)});
    // Light sweeping across the picture.
    r.Paint(
        0, 0, 500, 170, [](float px, float py) { return SdSweep(px, py, 500, 150, 110, 22); },
        [](float, float) { return kWhite; }, 0.08f);
    Waveform(r, 148, 12, RGB8(140, 210, 255), 0.35f);
    for (int i = 0; i < 3; ++i) {
        const float x = 60 + i * 34.0f, y = 96 - i * 14.0f, s = 9 - i * 1.5f;
        r.Paint(
            0, 0, 500, 170, [&](float px, float py) { return SdNote(px, py, x, y, s); },
            [&](float, float) { return Mix(kWhite, RGB8(170, 220, 255), i / 2.0f); }, 0.95f - i * 0.15f);
    }
    // The texts keep a margin from the right edge, the title's shadow too.
    const float right = r.Width() - 16.0f;
    TextStyle big;
    big.unit = 6.5f, big.thick = 5, big.slant = 0.1f, big.colour = RGB8(0, 20, 60);
    big = Fitted(big, title, right - 3 - 180);
    DrawStrokeText(r, 183, 45, title, big, 0.35f); // soft shadow
    big.colour = kWhite;
    DrawStrokeText(r, 180, 42, title, big);
    TextStyle small;
    small.unit = 1.9f, small.thick = 1.5f, small.colour = RGB8(200, 230, 255);
    DrawStrokeText(r, 184, 104, line, Fitted(small, line, right - 184));
    return r;
}

void IconArt(Raster& r, float n) {
    const float k = n / 32.0f;
    r.Paint(
        0, 0, r.Width(), r.Height(),
        [&](float px, float py) { return SdRoundBox(px, py, 0.5f, 0.5f, n - 1, n - 1, 6 * k); },
        [](float, float) { return RGB8(10, 40, 100); });
    r.Paint(
        0, 0, r.Width(), r.Height(),
        [&](float px, float py) { return SdRoundBox(px, py, 1.5f, 1.5f, n - 3, n - 3, 5 * k); },
        [&](float, float py) { return Mix(RGB8(90, 170, 240), RGB8(20, 80, 180), py / n); });
    r.Paint(
        0, 0, r.Width(), r.Height(),
        [&](float px, float py) { return SdNote(px, py, 12.5f * k, 22.5f * k, 4.2f * k); },
        [](float, float) { return kWhite; });
    // Three lyric lines beside the note.
    for (int i = 0; i < 3; ++i) {
        const float y = (9 + i * 6) * k;
        r.Paint(
            0, 0, r.Width(), r.Height(),
            [&](float px, float py) {
                return SdSegment(px, py, 20 * k, y, (i == 1 ? 25 : 27) * k, y, std::max(1.2f, 2 * k));
            },
            [](float, float) { return RGB8(200, 235, 255); });
    }
}

} // namespace

Raster PaintSplash() {
    return Banner("Versolo", "LRC lyrics editor  -  version 1.20");
}

Raster PaintAboutBanner() {
    return Banner("Versolo 1.20", "No Code, No Life.");
}

Raster PaintAboutBadge() {
    Raster r(64, 64, kFormBack);
    IconArt(r, 64);
    return r;
}

std::vector<Raster> PaintProgramIcon() {
    std::vector<Raster> out;
    for (int n : {16, 32, 48}) {
        Raster r(n, n, kWhite, 0);
        IconArt(r, static_cast<float>(n));
        out.push_back(r);
    }
    return out;
}

} // namespace skingen
