#include "StrokeFont.h"

#include <cstdlib>
#include <cstring>

namespace skingen {
namespace {

// Polylines on a grid 4 units wide: capitals from y 0 to 6, small letters
// from 2 to 6, descenders to 8.  "x,y x,y;..." separates strokes.
const char* Strokes(char ch) {
    switch (ch) {
    case 'a':
        return "4,2 4,6;4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
    case 'b':
        return "0,0 0,6;0,3 1,2 3,2 4,3 4,5 3,6 1,6 0,5";
    case 'c':
        return "4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
    case 'd':
        return "4,0 4,6;4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
    case 'e':
        return "0,4 4,4 4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5.5";
    case 'f':
        return "3,0 2,0 1,1 1,6;0,2 3,2";
    case 'g':
        return "4,2 4,7 3,8 1,8 0,7.5;4,3 3,2 1,2 0,3 0,4.5 1,5.5 3,5.5 4,4.5";
    case 'h':
        return "0,0 0,6;0,3 1,2 3,2 4,3 4,6";
    case 'i':
        return "0,2 0,6;0,0.3 0,0.5";
    case 'j':
        return "1,2 1,7 0,8;1,0.3 1,0.5";
    case 'k':
        return "0,0 0,6;3.5,2 0,4.5;1.3,3.6 3.5,6";
    case 'l':
        return "0,0 0,5.3 0.7,6";
    case 'm':
        return "0,2 0,6;0,3 0.7,2 1.5,2 2.2,3 2.2,6;2.2,3 2.9,2 3.7,2 4.4,3 4.4,6";
    case 'n':
        return "0,2 0,6;0,3 1,2 3,2 4,3 4,6";
    case 'o':
        return "1,2 3,2 4,3 4,5 3,6 1,6 0,5 0,3 1,2";
    case 'p':
        return "0,2 0,8;0,3 1,2 3,2 4,3 4,5 3,6 1,6 0,5";
    case 'q':
        return "4,2 4,8;4,3 3,2 1,2 0,3 0,5 1,6 3,6 4,5";
    case 'r':
        return "0,2 0,6;0,3.5 1,2.3 2,2 3,2";
    case 's':
        return "3.6,2.6 2.8,2 1,2 0.1,2.6 0.4,3.6 3.4,4.4 3.8,5.3 2.9,6 1,6 0,5.4";
    case 't':
        return "1,0.5 1,5.2 1.8,6 3,6;0,2 3,2";
    case 'u':
        return "0,2 0,5 1,6 3,6 4,5;4,2 4,6";
    case 'v':
        return "0,2 2,6 4,2";
    case 'w':
        return "0,2 1.1,6 2.2,3.3 3.3,6 4.4,2";
    case 'x':
        return "0,2 4,6;4,2 0,6";
    case 'y':
        return "0,2 2,6;4,2 1.3,8";
    case 'z':
        return "0,2 4,2 0,6 4,6";
    case 'A':
        return "0,6 2,0 4,6;0.7,4 3.3,4";
    case 'B':
        return "0,3 3,3 4,4 4,5 3,6 0,6 0,0 3,0 4,1 4,2 3,3";
    case 'C':
        return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5";
    case 'D':
        return "0,0 0,6 2.5,6 4,4.5 4,1.5 2.5,0 0,0";
    case 'E':
        return "4,0 0,0 0,6 4,6;0,3 3,3";
    case 'F':
        return "4,0 0,0 0,6;0,3 3,3";
    case 'G':
        return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.5 2.5,3.5";
    case 'H':
        return "0,0 0,6;4,0 4,6;0,3 4,3";
    case 'I':
        return "0,0 0,6";
    case 'K':
        return "0,0 0,6;4,0 0,4;1.3,2.8 4,6";
    case 'L':
        return "0,0 0,6 4,6";
    case 'M':
        return "0,6 0,0 2.25,3.5 4.5,0 4.5,6";
    case 'N':
        return "0,6 0,0 4,6 4,0";
    case 'O':
        return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
    case 'P':
        return "0,6 0,0 3,0 4,1 4,2 3,3 0,3";
    case 'R':
        return "0,6 0,0 3,0 4,1 4,2 3,3 0,3;2,3 4,6";
    case 'S':
        return "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5";
    case 'T':
        return "0,0 4,0;2,0 2,6";
    case 'U':
        return "0,0 0,5 1,6 3,6 4,5 4,0";
    case 'V':
        return "0,0 2,6 4,0";
    case 'W':
        return "0,0 1.2,6 2.4,2.5 3.6,6 4.8,0";
    case 'X':
        return "0,0 4,6;4,0 0,6";
    case 'Y':
        return "0,0 2,3 4,0;2,3 2,6";
    case '0':
        return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
    case '1':
        return "0,1 1,0 1,6";
    case '2':
        return "0,1 1,0 3,0 4,1 4,2 0,6 4,6";
    case '3':
        return "0,0.5 1,0 3,0 4,1 4,2 3,3 1.5,3;3,3 4,4 4,5 3,6 1,6 0,5.5";
    case '4':
        return "3,6 3,0 0,4 4,4";
    case '5':
        return "4,0 0.5,0 0,3 3,3 4,4 4,5 3,6 1,6 0,5.5";
    case '6':
        return "3.5,0 2,0 0,2 0,5 1,6 3,6 4,5 4,4 3,3 0,3";
    case '7':
        return "0,0 4,0 1.5,6";
    case '8':
        return "1,0 3,0 4,1 4,2 3,3 1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3 1,3 0,2 0,1 1,0";
    case '9':
        return "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,4 2,6 0.5,6";
    case '.':
        return "0,5.8 0,6";
    case ',':
        return "0.5,5.6 0,7";
    case ':':
        return "0,2.3 0,2.5;0,5.8 0,6";
    case '-':
        return "0,3.5 3,3.5";
    case '?':
        return "0,1 1,0 3,0 4,1 4,2 2,3.5 2,4.3;2,5.8 2,6";
    case '!':
        return "0,0 0,4.2;0,5.8 0,6";
    default:
        return "";
    }
}

struct Seg {
    float ax, ay, bx, by;
};

// Segments of one character in font units, and its ink width.
std::vector<Seg> Parse(char ch, float& width) {
    std::vector<Seg> out;
    const char* p = Strokes(ch);
    float minX = 1e9f, maxX = -1e9f;
    bool have = false;
    float lx = 0, ly = 0;
    while (*p) {
        if (*p == ';') {
            have = false;
            ++p;
            continue;
        }
        if (*p == ' ') {
            ++p;
            continue;
        }
        char* end = nullptr;
        const float x = std::strtof(p, &end);
        const float y = std::strtof(end + 1, &end);
        p = end;
        if (have) out.push_back(Seg{lx, ly, x, y});
        lx = x, ly = y, have = true;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
    }
    width = out.empty() ? 2.5f : maxX - minX;
    for (Seg& s : out)
        s.ax -= minX, s.bx -= minX;
    return out;
}

} // namespace

float TextWidth(const std::string& text, const TextStyle& st) {
    float w = 0;
    for (char ch : text) {
        float cw = 0;
        Parse(ch, cw);
        w += (cw + 1.6f) * st.unit;
    }
    return w > 0 ? w - 1.6f * st.unit : 0;
}

float DrawStrokeText(Raster& r, float x, float y, const std::string& text, const TextStyle& st,
                     float opacity) {
    std::vector<Seg> segs;
    float pen = x;
    for (char ch : text) {
        float cw = 0;
        for (Seg s : Parse(ch, cw)) {
            auto px = [&](float ux, float uy) { return pen + ux * st.unit + (6 - uy) * st.unit * st.slant; };
            segs.push_back(Seg{px(s.ax, s.ay), y + s.ay * st.unit, px(s.bx, s.by), y + s.by * st.unit});
        }
        pen += (cw + 1.6f) * st.unit;
    }
    if (segs.empty()) return pen - x;
    const int x0 = static_cast<int>(x - st.thick - 2),
              x1 = static_cast<int>(pen + 6 * st.unit * st.slant + st.thick + 2);
    const int y0 = static_cast<int>(y - st.thick - 2), y1 = static_cast<int>(y + 8 * st.unit + st.thick + 2);
    r.Paint(
        x0, y0, x1, y1,
        [&](float px, float py) {
            float d = 1e9f;
            for (const Seg& s : segs)
                d = std::min(d, SdSegment(px, py, s.ax, s.ay, s.bx, s.by, st.thick));
            return d;
        },
        [&](float, float) { return st.colour; }, opacity);
    return pen - x;
}

} // namespace skingen
