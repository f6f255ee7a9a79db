// The skin artwork as the library's resources carry it, read back through
// LoadImage from the module that holds them.
#include "ResourceReader.h"
#include "SkinResourceIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

using namespace skintest;
namespace ids = glim::skinres;

// The module with the artwork; becomes "GlimForm.dll" once the library links it.
constexpr char kArtModule[] = "GlimForm.dll";

class SkinArt : public testing::Test {
  protected:
    static void SetUpTestSuite() { module_.reset(LoadLibraryA(kArtModule)); }
    static void TearDownTestSuite() {
        cache_.clear();
        module_.reset();
    }
    void SetUp() override { ASSERT_TRUE(module_) << kArtModule << " did not load"; }

    // Each bitmap is read once; several tests compare the same ones.
    static const Pixels& Bitmap(int id) {
        auto found = cache_.find(id);
        if (found != cache_.end()) return found->second;
        std::optional<Pixels> p = LoadBitmapPixels(module_.get(), id);
        if (!p) ADD_FAILURE() << "bitmap " << id << " is missing";
        return cache_.emplace(id, p ? *p : Pixels{}).first->second;
    }
    static HMODULE Handle() { return module_.get(); }

  private:
    static inline Module module_;
    static inline std::map<int, Pixels> cache_;
};

void ExpectBitmap(const Pixels& p, int id, int w, int h) {
    EXPECT_EQ(p.width, w) << "bitmap " << id;
    EXPECT_EQ(p.height, h) << "bitmap " << id;
    EXPECT_EQ(p.bits, 24) << "bitmap " << id;
}

int MaxStep(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

struct Stats {
    double meanR = 0, meanG = 0, meanB = 0, lumaSpread = 0, chroma = 0;
    COLORREF Mean() const { return RGB(std::lround(meanR), std::lround(meanG), std::lround(meanB)); }
};

Stats Region(const Pixels& p, int x0, int y0, int x1, int y1) {
    Stats s;
    double n = 0, sumL = 0, sumL2 = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF c = p.At(x, y);
            s.meanR += GetRValue(c), s.meanG += GetGValue(c), s.meanB += GetBValue(c);
            const double l = 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c);
            sumL += l, sumL2 += l * l, s.chroma += Chroma(c), ++n;
        }
    s.meanR /= n, s.meanG /= n, s.meanB /= n, s.chroma /= n;
    s.lumaSpread = std::sqrt(std::max(0.0, sumL2 / n - (sumL / n) * (sumL / n)));
    return s;
}

int CaptionHeightOf(int skin) {
    return skin == 4 ? 49 : 50;
}

TEST_F(SkinArt, EveryRunHasItsSizeAndDepth) {
    const std::set<std::pair<int, int>> vertical = {{21, 9}, {21, 8}, {20, 8}, {19, 8}};
    const std::set<std::pair<int, int>> horizontal = {{9, 21}, {8, 21}, {8, 20}, {8, 19}};
    for (int s = 0; s < ids::kSkinCount; ++s) {
        SCOPED_TRACE("skin " + std::to_string(s));
        ExpectBitmap(Bitmap(ids::Caption(s)), ids::Caption(s), 640, CaptionHeightOf(s));
        ExpectBitmap(Bitmap(ids::Border(s)), ids::Border(s), 70, 10);
        ExpectBitmap(Bitmap(ids::Button(s)), ids::Button(s), 90, 21);
        ExpectBitmap(Bitmap(ids::CheckSheet(s)), ids::CheckSheet(s), 13, 156);
        ExpectBitmap(Bitmap(ids::OptionSheet(s)), ids::OptionSheet(s), 52, 26);
        const Pixels fill = Bitmap(ids::Fill(s));
        EXPECT_EQ(fill.bits, 24);
        if (s == 20) {
            ExpectBitmap(fill, ids::Fill(s), 85, 20);
        } else {
            EXPECT_TRUE(fill.width >= 14 && fill.width <= 25) << fill.width;
            EXPECT_TRUE(fill.height >= 16 && fill.height <= 27) << fill.height;
        }
        const Pixels v = Bitmap(ids::VerticalThumb(s)), h = Bitmap(ids::HorizontalThumb(s));
        EXPECT_EQ(v.bits, 24);
        EXPECT_EQ(h.bits, 24);
        EXPECT_TRUE(vertical.count({v.width, v.height})) << v.width << " x " << v.height;
        EXPECT_TRUE(horizontal.count({h.width, h.height})) << h.width << " x " << h.height;
    }
    ExpectBitmap(Bitmap(ids::HorizontalThumb(1)), ids::HorizontalThumb(1), 8, 20);
    // No skin 24: a style beyond the table must fail to load, not show something else.
    EXPECT_FALSE(LoadBitmapPixels(Handle(), ids::Caption(24)));
    EXPECT_FALSE(LoadBitmapPixels(Handle(), ids::Button(24)));

    ExpectBitmap(Bitmap(ids::MenuPattern(0)), ids::MenuPattern(0), 500, 16);
    EXPECT_EQ(ids::MenuPattern(0), 100);
    for (int m = 1; m < ids::kMenuStyleCount; ++m) {
        const Pixels p = Bitmap(ids::MenuPattern(m));
        EXPECT_EQ(p.bits, 24) << "menu style " << m;
        EXPECT_TRUE(p.width >= 291 && p.width <= 1024 && p.height >= 6 && p.height <= 18)
            << "menu style " << m << ": " << p.width << " x " << p.height;
    }
}

TEST_F(SkinArt, DesignPicturesToolboxImagesAndAboutPicture) {
    ExpectBitmap(Bitmap(ids::kFormDesign), ids::kFormDesign, 32, 32);
    ExpectBitmap(Bitmap(ids::kToolTipDesign), ids::kToolTipDesign, 32, 32);
    ExpectBitmap(Bitmap(ids::kFillDesign), ids::kFillDesign, 14, 24);
    ExpectBitmap(Bitmap(ids::kThumbDesign), ids::kThumbDesign, 8, 20);
    ExpectBitmap(Bitmap(ids::kAbout), ids::kAbout, 336, 164);
    std::vector<Pixels> toolbox;
    for (int c = 0; c < 8; ++c) {
        const int id = ids::Toolbox(static_cast<ids::ToolboxImage>(c));
        EXPECT_EQ(id, 30000 + c);
        toolbox.push_back(Bitmap(id));
        ExpectBitmap(toolbox.back(), id, 16, 15);
    }
    for (size_t i = 0; i < toolbox.size(); ++i)
        for (size_t j = i + 1; j < toolbox.size(); ++j)
            EXPECT_FALSE(toolbox[i] == toolbox[j]) << "toolbox images " << i << " and " << j;
}

TEST_F(SkinArt, SheetsThatMustMatchAreIdenticalAndTheRestDiffer) {
    EXPECT_TRUE(Bitmap(ids::Button(10)) == Bitmap(ids::Button(21)));
    EXPECT_TRUE(Bitmap(ids::kButtonDesign) == Bitmap(ids::Button(2)));
    EXPECT_TRUE(Bitmap(ids::kThumbDesign) == Bitmap(ids::HorizontalThumb(1)));
    for (auto group : {std::vector<int>{6, 7, 12}, {9, 10, 21}, {16, 18}})
        for (int s : group)
            EXPECT_TRUE(Bitmap(ids::CheckSheet(s)) == Bitmap(ids::CheckSheet(group[0]))) << s;
    for (auto group : {std::vector<int>{6, 7, 12}, {9, 10, 21}})
        for (int s : group)
            EXPECT_TRUE(Bitmap(ids::OptionSheet(s)) == Bitmap(ids::OptionSheet(group[0]))) << s;

    // Apart from those, every skin has sheets of its own.
    for (int a = 0; a < ids::kSkinCount; ++a)
        for (int b = a + 1; b < ids::kSkinCount; ++b) {
            if (a == 10 && b == 21) continue;
            EXPECT_FALSE(Bitmap(ids::Button(a)) == Bitmap(ids::Button(b)))
                << "button sheets " << a << ", " << b;
        }
    EXPECT_FALSE(Bitmap(ids::CheckSheet(0)) == Bitmap(ids::CheckSheet(6)));
    EXPECT_FALSE(Bitmap(ids::CheckSheet(6)) == Bitmap(ids::CheckSheet(9)));
    EXPECT_FALSE(Bitmap(ids::OptionSheet(16)) == Bitmap(ids::OptionSheet(18)));
}

TEST_F(SkinArt, CaptionStripsAreAllDifferent) {
    std::vector<Pixels> strips;
    for (int s = 0; s < ids::kSkinCount; ++s)
        strips.push_back(Bitmap(ids::Caption(s)));
    for (int a = 0; a < ids::kSkinCount; ++a)
        for (int b = a + 1; b < ids::kSkinCount; ++b) {
            const int h = std::min(strips[a].height, strips[b].height);
            EXPECT_FALSE(strips[a].Crop(0, 0, 400, h) == strips[b].Crop(0, 0, 400, h))
                << "active captions " << a << " and " << b;
        }
}

TEST_F(SkinArt, MiddleTileRepeatsWithoutSeams) {
    for (int s = 0; s < ids::kSkinCount; ++s) {
        const Pixels p = Bitmap(ids::Caption(s));
        for (int o : {0, 400}) {
            // Largest step between neighbouring columns inside the tile (91 … 142).
            int inside = 0;
            for (int y = 0; y < p.height; ++y)
                for (int x = o + 91; x < o + 142; ++x)
                    inside = std::max(inside, MaxStep(p.At(x, y), p.At(x + 1, y)));
            int tileJoin = 0, leftJoin = 0, rightJoin = 0;
            for (int y = 0; y < p.height; ++y) {
                tileJoin = std::max(tileJoin, MaxStep(p.At(o + 142, y), p.At(o + 91, y)));
                leftJoin = std::max(leftJoin, MaxStep(p.At(o + 89, y), p.At(o + 91, y)));
                rightJoin = std::max(rightJoin, MaxStep(p.At(o + 91 + 30, y), p.At(o + 140, y)));
            }
            EXPECT_LE(tileJoin, inside + 2) << "skin " << s << " image at " << o;
            EXPECT_LE(leftJoin, inside + 2) << "skin " << s << " image at " << o;
            EXPECT_LE(rightJoin, inside + 2) << "skin " << s << " image at " << o;
        }
    }
}

TEST_F(SkinArt, TitleGlyphsReadInBothRows) {
    for (int s = 0; s < ids::kSkinCount; ++s) {
        const Pixels p = Bitmap(ids::Caption(s));
        for (int k = 0; k < 4; ++k) {
            const Pixels normal = p.Crop(240 + 19 * k, 0, 19, 20), pressed = p.Crop(240 + 19 * k, 20, 19, 20);
            EXPECT_FALSE(normal == pressed) << "skin " << s << " glyph " << k;
            for (const Pixels* cell : {&normal, &pressed}) {
                double lo = 1, hi = 0;
                for (COLORREF c : cell->rgb)
                    lo = std::min(lo, Luminance(c)), hi = std::max(hi, Luminance(c));
                EXPECT_GE((hi + 0.05) / (lo + 0.05), 3.0) << "skin " << s << " glyph " << k;
            }
        }
        // The four glyphs are different symbols.
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_FALSE(p.Crop(240 + 19 * a, 0, 19, 20) == p.Crop(240 + 19 * b, 0, 19, 20))
                    << "skin " << s;
    }
}

TEST_F(SkinArt, TitleAreaIsCalmAndReadsInTheTitleColour) {
    const std::set<int> darkText = {10, 11, 15, 19, 22, 23};
    for (int s = 0; s < ids::kSkinCount; ++s) {
        const Pixels p = Bitmap(ids::Caption(s));
        const COLORREF text = darkText.count(s) ? RGB(20, 20, 20) : RGB(255, 255, 255);
        // The title runs from x 28 through the left part and the middle tile. Every
        // row behind it must read, and no texture may run across it.
        double sum = 0, worst = 100;
        int across = 0;
        for (int y = 8; y < 28; ++y) {
            const double c = Contrast(Region(p, 28, y, 140, y + 1).Mean(), text);
            sum += c, worst = std::min(worst, c);
            for (int x = 28; x < 139; ++x)
                across = std::max(across, MaxStep(p.At(x, y), p.At(x + 1, y)));
        }
        EXPECT_GE(sum / 20, 3.0) << "skin " << s;
        EXPECT_GE(worst, 2.2) << "skin " << s;
        EXPECT_LE(across, 24) << "skin " << s;
        const Stats active = Region(p, 28, 8, 140, 28);
        const Stats inactive = Region(p, 428, 8, 540, 28);
        EXPECT_GE(Contrast(inactive.Mean(), RGB(170, 180, 167)), 1.9) << "skin " << s;
        // Visibly duller: less colour, and clearly not the same picture.
        EXPECT_LE(inactive.chroma, active.chroma * 0.75 + 1) << "skin " << s;
        const double diff = std::abs(inactive.meanR - active.meanR) +
                            std::abs(inactive.meanG - active.meanG) + std::abs(inactive.meanB - active.meanB);
        EXPECT_GE(diff, 30.0) << "skin " << s;
    }
}

TEST_F(SkinArt, BorderTilesJoinTheCaptionAndEachOther) {
    for (int s = 0; s < ids::kSkinCount; ++s) {
        SCOPED_TRACE("skin " + std::to_string(s));
        const Pixels cap = Bitmap(ids::Caption(s)), b = Bitmap(ids::Border(s));
        const int last = cap.height - 1;
        for (int k = 0; k < 10; ++k) {
            for (int y = 0; y < 10; ++y) {
                // Side tiles repeat downwards, the bottom tile sideways.
                EXPECT_EQ(b.At(k, y), b.At(k, 0));
                EXPECT_EQ(b.At(40 + k, y), b.At(40 + k, 0));
                EXPECT_EQ(b.At(30 + y, k), b.At(30, k));
            }
            // The sides continue the caption's edges, active and inactive.
            EXPECT_EQ(b.At(k, 0), cap.At(k, last));
            EXPECT_EQ(b.At(40 + k, 0), cap.At(230 + k, last));
            EXPECT_EQ(b.At(k, 0), cap.At(400 + k, last));
            EXPECT_EQ(b.At(40 + k, 0), cap.At(630 + k, last));
            // The corners carry the sides into the bottom edge.
            EXPECT_EQ(b.At(20 + k, 0), b.At(k, 0));
            EXPECT_EQ(b.At(60 + k, 0), b.At(40 + k, 0));
            EXPECT_EQ(b.At(29, k), b.At(30, k));
            EXPECT_EQ(b.At(60, k), b.At(39, k));
        }
    }
}

TEST_F(SkinArt, ButtonCellsStretchAndShowTheirStates) {
    for (int s = 0; s < ids::kSkinCount; ++s) {
        const Pixels sheet = Bitmap(ids::Button(s));
        std::vector<Pixels> cells;
        for (int c = 0; c < 5; ++c)
            cells.push_back(sheet.Crop(18 * c, 0, 18, 21));
        for (int a = 0; a < 5; ++a)
            for (int b = a + 1; b < 5; ++b)
                EXPECT_FALSE(cells[a] == cells[b]) << "skin " << s << " cells " << a << ", " << b;
        for (int c = 0; c < 5; ++c) {
            // Column 9 is stretched across the face: the face beside it must match it,
            // and it must stay light enough for the dark caption.
            for (int y = 0; y < 21; ++y)
                for (int x = 4; x <= 13; ++x)
                    ASSERT_EQ(cells[c].At(x, y), cells[c].At(9, y))
                        << "skin " << s << " cell " << c << " at " << x << "," << y;
            if (c != 3) {
                EXPECT_GE(Contrast(Region(cells[c], 9, 3, 10, 18).Mean(), RGB(0, 0, 0)), 7.0) << "skin " << s;
            }
        }
    }
}

TEST_F(SkinArt, ToggleCellsFollowValueAndState) {
    for (int s = 0; s < ids::kSkinCount; ++s) {
        const Pixels check = Bitmap(ids::CheckSheet(s)), option = Bitmap(ids::OptionSheet(s));
        for (int a = 0; a < 12; ++a)
            for (int b = a + 1; b < 12; ++b)
                EXPECT_FALSE(check.Crop(0, 13 * a, 13, 13) == check.Crop(0, 13 * b, 13, 13))
                    << "skin " << s << " check cells " << a << ", " << b;
        for (int a = 0; a < 8; ++a)
            for (int b = a + 1; b < 8; ++b)
                EXPECT_FALSE(option.Crop(13 * (a % 4), 13 * (a / 4), 13, 13) ==
                             option.Crop(13 * (b % 4), 13 * (b / 4), 13, 13))
                    << "skin " << s << " option cells " << a << ", " << b;
    }
}

TEST_F(SkinArt, HandCursorPointsWithItsFingertip) {
    POINT hot{};
    const std::optional<Pixels> p = LoadIconPixels(Handle(), ids::kHandCursor, IMAGE_CURSOR, 32, &hot);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 32);
    // The hot spot is drawn, and nothing of the hand lies above it.
    EXPECT_EQ(p->alpha[static_cast<size_t>(hot.y) * 32 + hot.x], 255);
    for (int y = 0; y < hot.y; ++y)
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(p->alpha[static_cast<size_t>(y) * 32 + x], 0) << x << "," << y;
    // A narrow fingertip, not the flat top of a palm.
    int width = 0;
    for (int x = 0; x < 32; ++x)
        width += p->alpha[static_cast<size_t>(hot.y) * 32 + x] ? 1 : 0;
    EXPECT_LE(width, 5);
    EXPECT_LE(hot.y, 3);
}

TEST_F(SkinArt, TipIconsComeInIconModeOrder) {
    // Exclamation yellow, question and information blue, critical red.
    std::vector<Pixels> icons;
    for (int mode = 0; mode < 4; ++mode) {
        const std::optional<Pixels> p = LoadIconPixels(Handle(), ids::TipIcon(mode), IMAGE_ICON, 16);
        ASSERT_TRUE(p) << "icon mode " << mode;
        EXPECT_EQ(p->width, 16);
        EXPECT_EQ(p->height, 16);
        long r = 0, g = 0, b = 0;
        for (size_t i = 0; i < p->rgb.size(); ++i)
            if (p->alpha[i]) r += GetRValue(p->rgb[i]), g += GetGValue(p->rgb[i]), b += GetBValue(p->rgb[i]);
        const bool yellow = r > b * 2 && g > b * 2, blue = b > r * 1.5 && b > g,
                   red = r > g * 1.5 && r > b * 1.5;
        EXPECT_TRUE(mode == 0 ? yellow : mode == 3 ? red : blue) << mode << ": " << r << " " << g << " " << b;
        icons.push_back(*p);
    }
    EXPECT_FALSE(icons[1] == icons[2]);
}

// PNG with stored deflate blocks, checked down to its checksums.
uint32_t Be32(const std::vector<uint8_t>& d, size_t at) {
    return (uint32_t{d[at]} << 24) | (uint32_t{d[at + 1]} << 16) | (uint32_t{d[at + 2]} << 8) | d[at + 3];
}

uint32_t Crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ ((c & 1) ? 0xEDB88320u : 0);
    }
    return ~c;
}

TEST(ContactSheet, IsAWholePngOfTheSkins) {
    std::string path = GLIM_CONTACT_SHEET;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f) << path;
    std::vector<uint8_t> d;
    for (int ch; (ch = std::fgetc(f)) != EOF;)
        d.push_back(static_cast<uint8_t>(ch));
    std::fclose(f);
    ASSERT_GT(d.size(), 8u);
    ASSERT_EQ(std::string(d.begin() + 1, d.begin() + 4), "PNG");
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> z;
    bool end = false;
    for (size_t at = 8; at + 12 <= d.size();) {
        const uint32_t n = Be32(d, at);
        ASSERT_LE(at + 12 + n, d.size());
        ASSERT_EQ(Crc(&d[at + 4], n + 4), Be32(d, at + 8 + n)) << "chunk at " << at;
        const std::string type(d.begin() + at + 4, d.begin() + at + 8);
        if (type == "IHDR") w = Be32(d, at + 8), h = Be32(d, at + 12);
        if (type == "IDAT") z.insert(z.end(), d.begin() + at + 8, d.begin() + at + 8 + n);
        end = type == "IEND";
        at += 12 + n;
    }
    EXPECT_TRUE(end);
    EXPECT_GE(w, 640u);
    EXPECT_GE(h, 24u * 50);
    // Inflate the stored blocks and check the data's own checksum.
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        ASSERT_LT(at + 5, z.size());
        last = z[at] & 1;
        ASSERT_EQ((z[at] >> 1) & 3, 0);
        const size_t n = z[at + 1] | (z[at + 2] << 8);
        ASSERT_EQ(n ^ 0xFFFF, size_t(z[at + 3] | (z[at + 4] << 8)));
        raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + n);
        at += 5 + n;
    }
    ASSERT_EQ(raw.size(), size_t(h) * (1 + 3 * w));
    uint32_t a = 1, b = 0;
    for (uint8_t x : raw)
        a = (a + x) % 65521, b = (b + a) % 65521;
    EXPECT_EQ((b << 16) | a, Be32(z, at));
}

} // namespace
