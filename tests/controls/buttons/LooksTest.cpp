// The painter on its own: colour arithmetic, access keys, regions, and
// looks painted into a memory bitmap and read back.
#include "GlimButton.h"
#include "GlimButtonLooks.h"
#include "Handles.h"
#include "Pictures.h"
#include "metafile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace glim;

TEST(GlimButtonLooks, ShadesAndTintsAreComputedPerChannel) {
    struct Case {
        COLORREF c;
        long d;
        bool proportional, soft;
        COLORREF want;
    };
    const Case shifts[] = {
        {0xE0E0E0, -64, false, false, 0xA0A0A0},  {0xE0E0E0, -64, false, true, 0xC0C0C0},
        {0x336699, -32, true, false, 0x2B4679},   {0x336699, -32, false, false, 0x134679},
        {0xE0E0E0, 48, true, false, 0xFFFFFF},    {0xFFFFFF, -48, true, false, 0xC0CFCF},
        {0x102030, -255, false, false, 0x000000}, {0x102030, 0, true, false, 0x102030},
    };
    for (const Case& c : shifts)
        EXPECT_EQ(GlimButton_ShiftColor(c.c, c.d, c.proportional, c.soft), c.want)
            << std::hex << c.c << " by " << std::dec << c.d;
    EXPECT_EQ(GlimButton_TintColor(0x800000, 176), 0xD7B0B0u);
    EXPECT_EQ(GlimButton_TintColor(0x800000, 128), 0xBF8080u);
}

TEST(GlimButtonLooks, PalettesFollowTheScheme) {
    GlimButtonFace f;
    f.BackColor = 0x808080;
    f.ForeColor = 0x0000FF;
    f.ForeOver = 0x00FF00;
    f.ButtonType = kLookWinXP;
    struct Case {
        long scheme;
        COLORREF face, text, shadow, xpFace, accentLight;
    };
    const Case cases[] = {
        {kUseWindows, 0xE0E0E0, GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNSHADOW), 0xFFFFFF,
         GlimButton_TintColor(GetSysColor(COLOR_HIGHLIGHT), 176)},
        {kCustom, 0x808080, 0x0000FF, 0x404040, 0xA0B0B0, 0x808080},
        {kForceStandard, 0xE0E0E0, 0, 0x808080, 0xFFFFFF, 0xD1ADAD},
        {99, 0xE0E0E0, GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNSHADOW), 0xFFFFFF,
         GlimButton_TintColor(GetSysColor(COLOR_HIGHLIGHT), 176)},
    };
    for (const Case& c : cases) {
        f.ColorScheme = c.scheme;
        const GlimButtonPalette p = GlimButton_ComputeColors(f, nullptr);
        EXPECT_EQ(p.face, c.face) << c.scheme;
        EXPECT_EQ(p.text, c.text) << c.scheme;
        EXPECT_EQ(p.shadow, c.shadow) << c.scheme;
        EXPECT_EQ(p.xpFace, c.xpFace) << c.scheme;
        EXPECT_EQ(p.accentLight, c.accentLight) << c.scheme;
    }
    // Only the Windows XP look shades its face proportionally.
    f.ColorScheme = kCustom;
    f.ButtonType = kLookMac;
    EXPECT_EQ(GlimButton_ComputeColors(f, nullptr).xpFace, 0xB0B0B0u);
    f.SoftBevel = true;
    EXPECT_EQ(GlimButton_ComputeColors(f, nullptr).shadow, 0x606060u);
    // Custom colours resolve system colours; one that cannot be translated paints black.
    f.BackColor = 0x80FFFFFF;
    f.ForeColor = 0x8000000F;
    const GlimButtonPalette odd = GlimButton_ComputeColors(f, nullptr);
    EXPECT_EQ(odd.face, 0u);
    EXPECT_EQ(odd.text, GetSysColor(COLOR_BTNFACE));
}

TEST(GlimButtonLooks, RegionsCutTheCornersOfEachLook) {
    constexpr int W = 40, H = 20;
    struct Case {
        long look;
        std::vector<POINT> out; // pixels cut away
        std::vector<POINT> in;  // pixels kept
    };
    const Case cases[] = {
        {kLookGlimButton, {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}}, {{1, 0}, {0, 1}, {W - 2, H - 1}}},
        {kLookKDE2, {{0, 0}, {W - 1, H - 1}}, {{1, 0}}},
        {kLookJavaMetal, {{0, H - 1}, {W - 1, 0}}, {{0, 0}, {W - 1, H - 1}}},
        {kLookWinXP,
         {{0, 0}, {1, 0}, {0, 1}, {W - 2, 0}, {W - 1, 1}, {0, H - 2}, {1, H - 1}, {W - 1, H - 2}},
         {{1, 1}, {2, 0}, {0, 2}, {W - 2, H - 2}}},
        {kLookMac, {{W - 2, H - 1}, {W - 1, H - 1}}, {{W - 3, H - 1}}},
        {kLookOvalFlat, {{0, 0}, {W - 1, 0}}, {{W / 2, H / 2}, {W / 2, 1}}},
        {kLookWinXPPress, {}, {{0, 0}, {W - 1, H - 1}}},
        {0, {}, {{0, 0}, {W - 1, H - 1}}},
    };
    for (const Case& c : cases) {
        OwnedRegion rgn = GlimButton_MakeRegion(c.look, W, H);
        ASSERT_TRUE(rgn);
        for (POINT p : c.out)
            EXPECT_FALSE(PtInRegion(rgn.get(), p.x, p.y)) << "look " << c.look << " at " << p.x << "," << p.y;
        for (POINT p : c.in)
            EXPECT_TRUE(PtInRegion(rgn.get(), p.x, p.y)) << "look " << c.look << " at " << p.x << "," << p.y;
    }
}

namespace {

// A face painted into a 32-bit bitmap, read back pixel by pixel.
class Canvas {
  public:
    Canvas(int w, int h) : w_(w), bmp_(CreateTopDownDib(w, h, &bits_)), dc_(CreateCompatibleDC(nullptr)) {
        old_ = SelectObject(dc_.get(), bmp_.get());
    }
    ~Canvas() { SelectObject(dc_.get(), old_); }
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const std::uint32_t p = bits_[y * w_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

  private:
    int w_;
    std::uint32_t* bits_ = nullptr;
    OwnedBitmap bmp_;
    OwnedDC dc_;
    HGDIOBJ old_ = nullptr;
};

GlimButtonFace Face(long look, int w, int h) {
    GlimButtonFace f;
    f.ButtonType = look;
    f.ColorScheme = kCustom;
    f.BackColor = 0x808080;
    f.clientWidth = w;
    f.clientHeight = h;
    f.Style = 1;
    f.palette = GlimButton_ComputeColors(f, nullptr);
    return f;
}

} // namespace

TEST(GlimButtonLooks, XPGradientsShadeRowByRow) {
    // Heights where k / H is the same in single and double precision.
    for (int H : {25, 50}) {
        for (int state : {0, 2}) {
            GlimButtonFace f = Face(kLookWinXP, 60, H);
            Canvas c(60, H);
            GlimButton_PaintFace(c.dc(), f, state);
            const COLORREF xp = f.palette.xpFace;
            const COLORREF base = state == 0 ? xp : GlimButton_ShiftColor(xp, -32, true, false);
            for (int y = 4; y < H - 4; ++y) {
                const int i = state == 0 ? y : H - y;
                // 25 * i / H rounded, halves to the even neighbour.
                const long q = 25 * i / H, r = 25 * i % H;
                const long d = 2 * r > H ? q + 1 : 2 * r == H ? q + (q & 1) : q;
                EXPECT_EQ(c.At(30, y), GlimButton_ShiftColor(base, -d, true, false))
                    << "H " << H << " state " << state << " row " << y;
            }
            EXPECT_EQ(c.At(0, H / 2), 0x733C00u);
            EXPECT_EQ(c.At(1, 1), 0x7B4D10u);
        }
    }
}

TEST(GlimButtonLooks, FixedPixelsOfTheLooks) {
    constexpr int W = 50, H = 20;
    const GlimButtonPalette p = Face(kLookMac, W, H).palette;
    struct Case {
        long look;
        int state; // 0 up, 2 pressed, 1 disabled
        int x, y;
        COLORREF want;
    };
    const Case cases[] = {
        {kLookSimpleFlat, 0, 1, 1, 0x000000},
        {kLookSimpleFlat, 0, 0, 0, p.face},
        {kLookSimpleFlat, 2, 0, 0, p.shadow},
        {kLookSimpleFlat, 2, W - 1, H - 1, p.highlight},
        {kLookMac, 0, 0, H / 2, p.darkShadow},
        {kLookMac, 0, W - 2, H - 2, p.darkShadow},
        {kLookMac, 0, 2, H / 2, p.highlight},
        {kLookMac, 2, 2, 2, GlimButton_ShiftColor(p.shadow, -64, false, false)},
        {kLookMacOSX, 0, 0, H / 2, 0x000000},
        {kLookMacOSX, 0, 1, H / 2, 0x000000},
        {kLookMacOSX, 2, 0, 0, p.face},
        {kLookWinXP, 1, 0, H / 2,
         GlimButton_ShiftColor(GlimButton_ShiftColor(p.face, 48, true, false), -84, true, false)},
        {kLookWinXPPress, 0, 0, H / 2, 0x733C00},
        {kLookJavaMetal, 0, 0, H / 2, GlimButton_ShiftColor(p.shadow, -26, false, false)},
        {kLookJavaMetal, 0, 1, H / 2, p.highlight},
        {kLookKDE2, 0, 0, H / 2, GlimButton_ShiftColor(p.shadow, -50, false, false)},
        {kLookKDE2, 2, 0, H / 2, GlimButton_ShiftColor(p.shadow, -48, false, false)},
        {kLookOfficeXP, 2, 0, H / 2, p.accent},
        {kLookOfficeXP, 0, 0, H / 2, p.face},
        {kLook3DHover, 2, 0, 0, p.darkShadow},
        {kLookNetscape6, 0, 0, 0, GlimButton_ShiftColor(p.light, 8, false, false)},
        {kLookWin32, 0, 0, 0, p.highlight},
        {kLookWin32, 0, W - 1, H - 1, p.darkShadow},
        {kLookWin32, 2, 0, 0, p.darkShadow},
        {kLookOvalFlat, 2, W / 2, H / 2, GlimButton_ShiftColor(p.face, -32, false, false)},
        {kLookOvalFlat, 1, W / 2, H / 2, p.face},
        {99, 0, 0, 0, p.face},
    };
    for (const Case& c : cases) {
        GlimButtonFace f = Face(c.look, W, H);
        f.caption.clear();
        f.Enabled = c.state != 1;
        f.palette = GlimButton_ComputeColors(f, nullptr);
        Canvas canvas(W, H);
        GlimButton_PaintFace(canvas.dc(), f, c.state == 1 ? 0 : c.state);
        EXPECT_EQ(canvas.At(c.x, c.y), c.want)
            << "look " << c.look << " state " << c.state << " at " << c.x << "," << c.y;
    }
}

TEST(GlimButtonLooks, ACaptionDrawnFromItsLayoutPaintsWhatDrawingItAfreshPaints) {
    constexpr int W = 80, H = 24;
    std::string tall;
    while (tall.size() < 3000)
        tall += "Lorem ipsum dolor sit &amet ";
    // Access keys, doubled ampersands, line ends, a tab, a word wider than
    // the button, double-byte text, and lines far above and below the face.
    const std::string captions[] = {"&Open",
                                    "Save && E&xit now please",
                                    "Line one\r\nsecond &line\tTab",
                                    "Supercalifragilisticexpialidocious word",
                                    "\xd6\xd0\xce\xc4 &\xb4\xf2\xbf\xaa",
                                    tall};
    OwnedFont bold(CreateFontA(-13, 0, 0, 0, FW_BOLD, TRUE, FALSE, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    for (const std::string& caption : captions)
        for (HFONT font : {static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), bold.get()})
            for (long look : {kLookGlimButton, kLookJavaMetal, kLookMacOSX, kLookKDE2})
                for (int state : {0, 2})
                    for (long fx : {cbNone, cbEngraved}) {
                        GlimButtonFace f = Face(look, W, H);
                        f.caption = caption;
                        f.font = font;
                        f.SpecialEffect = fx;
                        Canvas laid(W, H), fresh(W, H);
                        GlimButton_LayoutCaption(laid.dc(), f);
                        GlimButton_PaintFace(laid.dc(), f, state);
                        GlimButtonFace again = f;
                        again.layout.reset(); // drawn by DrawTextA from the start
                        GlimButton_PaintFace(fresh.dc(), again, state);
                        int differ = 0;
                        for (int y = 0; y < H; ++y)
                            for (int x = 0; x < W; ++x)
                                differ += laid.At(x, y) != fresh.At(x, y);
                        EXPECT_EQ(differ, 0) << caption.substr(0, 12) << " font " << (font == bold.get())
                                             << " look " << look << " state " << state << " fx " << fx;
                    }
}

TEST(GlimButtonLooks, PicturesOfEveryKindAreDrawnWithTheirMask) {
    constexpr int W = 15, H = 7;
    // A 15-pixel wide bitmap (rows padded in 24-bit form): left half mask, right half red.
    std::uint32_t* bits = nullptr;
    OwnedBitmap bmp = CreateTopDownDib(W, H, &bits);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            bits[y * W + x] = x < 7 ? 0xC0C0C0 : 0xFF0000;
    ComPtr<IPictureDisp> bitmapPic = PictureFromBitmap(bmp.release(), true);
    // The same as a metafile.
    ComPtr<IPictureDisp> metaPic = glimtest::SolidMetafilePicture(W, H, RGB(255, 0, 0));
    ASSERT_TRUE(metaPic);

    struct Case {
        const char* what;
        IPictureDisp* pic;
        long solid;
        bool grey;
        int x;
        COLORREF want;
    };
    const Case cases[] = {
        {"mask stays", bitmapPic.get(), -1, false, 2, 0x00FF00},
        {"colour copied", bitmapPic.get(), -1, false, 12, 0x0000FF},
        {"last column of an odd width", bitmapPic.get(), -1, false, 14, 0x0000FF},
        {"silhouette", bitmapPic.get(), 0x123456, false, 12, 0x123456},
        {"greyscale", bitmapPic.get(), -1, true, 12, 0x4C4C4C},
        {"metafile rendered", metaPic.get(), -1, false, W / 2, 0x0000FF},
    };
    for (const Case& c : cases) {
        Canvas canvas(W + 4, H + 4);
        OwnedBrush green(CreateSolidBrush(0x00FF00));
        RECT r{0, 0, W + 4, H + 4};
        FillRect(canvas.dc(), &r, green.get());
        GlimButton_BlitPicture(canvas.dc(), 2, 2, W, H, c.pic, 0xC0C0C0, c.solid, false, c.grey, false, true);
        EXPECT_EQ(canvas.At(2 + c.x, 2 + H / 2), c.want) << c.what;
        EXPECT_EQ(canvas.At(1, 1), 0x00FF00u) << c.what << ": nothing outside the picture";
    }
}

TEST(GlimButtonLooks, HandPointerFallsBackToThePlatformsHand) {
    // This program carries no cursor 101 of its own.
    ASSERT_EQ(FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(12)), nullptr);
    ComPtr<IPictureDisp> hand = GlimButton::HandCursor();
    ASSERT_TRUE(hand);
    EXPECT_EQ(PictureType(hand.get()), PICTYPE_ICON);
    EXPECT_NE(PictureHandle(hand.get()), 0u);
}
