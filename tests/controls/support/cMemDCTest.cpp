// The growing memory DC: sizes, kept content, and copies of real pictures.
#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <vector>

#include "cMemDC.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

SIZE SelectedBitmapSize(HDC dc) {
    BITMAP bm{};
    GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
    const RECT rc{l, t, r, b};
    const HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

// A picture object owning a w x h screen bitmap, left half red, right half blue.
class TwoColourPicture {
  public:
    TwoColourPicture(int w, int h) {
        const HDC screen = GetDC(nullptr);
        const HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
        const HDC dc = CreateCompatibleDC(screen);
        const HGDIOBJ old = SelectObject(dc, bmp);
        Fill(dc, 0, 0, w / 2, h, kRed);
        Fill(dc, w / 2, 0, w, h, kBlue);
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof desc;
        desc.picType = PICTYPE_BITMAP;
        desc.bmp.hbitmap = bmp;
        if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture_))))
            DeleteObject(bmp);
    }
    ~TwoColourPicture() {
        if (picture_) picture_->Release();
    }
    TwoColourPicture(const TwoColourPicture&) = delete;
    TwoColourPicture& operator=(const TwoColourPicture&) = delete;
    IPicture* get() const { return picture_; }

  private:
    IPicture* picture_ = nullptr;
};

TEST(MemDC, NewObjectHasNoSurface) {
    glim::cMemDC m;
    EXPECT_EQ(m.hDC(), nullptr);
    EXPECT_EQ(m.Width(), 0);
    EXPECT_EQ(m.Height(), 0);
}

TEST(MemDC, WidthThenHeightEndWithBothSizes) {
    glim::cMemDC m;
    m.SetWidth(50);
    EXPECT_EQ(m.Width(), 50);
    m.SetHeight(30);
    ASSERT_NE(m.hDC(), nullptr);
    EXPECT_EQ(m.Width(), 50);
    EXPECT_EQ(m.Height(), 30);
    const SIZE s = SelectedBitmapSize(m.hDC());
    EXPECT_EQ(s.cx, 50);
    EXPECT_EQ(s.cy, 30);
    // Screen-compatible: as many colour bits as the screen.
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(m.hDC(), BITSPIXEL), GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
}

TEST(MemDC, SmallerSizesAreIgnoredAndKeepTheContent) {
    glim::cMemDC m;
    m.SetWidth(100);
    m.SetHeight(80);
    ASSERT_NE(m.hDC(), nullptr);
    const HDC dc = m.hDC();
    Fill(dc, 0, 0, 100, 80, kGreen);
    SetPixel(dc, 90, 70, kRed);

    m.SetWidth(40);
    m.SetHeight(10);
    m.SetWidth(100);
    EXPECT_EQ(m.Width(), 100);
    EXPECT_EQ(m.Height(), 80);
    EXPECT_EQ(m.hDC(), dc);
    EXPECT_EQ(GetPixel(m.hDC(), 90, 70), kRed);
    EXPECT_EQ(GetPixel(m.hDC(), 10, 10), kGreen);

    m.SetHeight(120);
    EXPECT_EQ(m.Width(), 100);
    EXPECT_EQ(m.Height(), 120);
    const SIZE s = SelectedBitmapSize(m.hDC());
    EXPECT_EQ(s.cx, 100);
    EXPECT_EQ(s.cy, 120);
}

// A picture into a new object or one of some size (drawn green first): the
// object grows to the picture where it is smaller, the picture sits top left
// and the rest keeps what was there.
TEST(MemDC, PictureSizesTheObjectAndSitsTopLeft) {
    struct Pixel {
        POINT at;
        COLORREF colour;
    };
    const struct {
        SIZE picture, before, after; // before {0, 0}: a new object
        std::vector<Pixel> pixels;
    } cases[] = {
        {{20, 10}, {0, 0}, {20, 10}, {{{2, 2}, kRed}, {{17, 8}, kBlue}}},
        {{20, 10},
         {60, 40},
         {60, 40},
         {{{0, 0}, kRed}, {{19, 9}, kBlue}, {{20, 9}, kGreen}, {{5, 10}, kGreen}, {{59, 39}, kGreen}}},
        {{80, 10}, {30, 50}, {80, 50}, {{{79, 0}, kBlue}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.picture.cx << "x" << c.picture.cy << " into " << c.before.cx << "x" << c.before.cy);
        TwoColourPicture pic(c.picture.cx, c.picture.cy);
        ASSERT_NE(pic.get(), nullptr);
        glim::cMemDC m;
        if (c.before.cx > 0) {
            m.SetWidth(c.before.cx);
            m.SetHeight(c.before.cy);
            Fill(m.hDC(), 0, 0, c.before.cx, c.before.cy, kGreen);
        }
        m.CreateFromPicture(pic.get());
        EXPECT_EQ(m.Width(), c.after.cx);
        EXPECT_EQ(m.Height(), c.after.cy);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(GetPixel(m.hDC(), p.at.x, p.at.y), p.colour) << p.at.x << ", " << p.at.y;
        // The picture's bitmap is free again: another object can still draw it.
        glim::cMemDC second;
        second.CreateFromPicture(pic.get());
        EXPECT_EQ(GetPixel(second.hDC(), 1, 1), kRed);
    }
}

TEST(MemDC, UnusablePicturesChangeNothing) {
    glim::cMemDC m;
    m.CreateFromPicture(nullptr);
    EXPECT_EQ(m.hDC(), nullptr);

    IPicture* icon = nullptr;
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(&icon)), S_OK);
    m.CreateFromPicture(icon);
    icon->Release();
    EXPECT_EQ(m.Width(), 0);
    EXPECT_EQ(m.Height(), 0);
}

} // namespace
