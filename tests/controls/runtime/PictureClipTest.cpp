// The picture clip: cells numbered from 0 row by row, cut from pictures of
// every kind, including bitmaps another DC holds selected.
#include "Handles.h"
#include "PictureClip.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "metafile.h"
#include "raised.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace glim;

namespace {

constexpr int kCellW = 4, kCellH = 5, kRows = 2, kCols = 3;

// Cell n is filled with a colour of its own; its top-left pixel is white.
COLORREF CellColour(int n) {
    return RGB(40 * n + 10, 200 - 30 * n, 7 * n + 50);
}

OwnedBitmap MakeSheet(bool dib) {
    const int w = kCellW * kCols, h = kCellH * kRows;
    std::uint32_t* bits = nullptr;
    OwnedBitmap bmp;
    if (dib) {
        bmp = CreateTopDownDib(w, h, &bits);
    } else {
        DisplayDC screen;
        bmp.reset(CreateCompatibleBitmap(screen.get(), w, h));
    }
    OwnedDC dc(CreateCompatibleDC(nullptr));
    SelectGuard sel(dc.get(), bmp.get());
    for (int n = 0; n < kRows * kCols; ++n) {
        const int x = (n % kCols) * kCellW, y = (n / kCols) * kCellH;
        OwnedBrush b(CreateSolidBrush(CellColour(n)));
        RECT r{x, y, x + kCellW, y + kCellH};
        FillRect(dc.get(), &r, b.get());
        SetPixelV(dc.get(), x, y, RGB(255, 255, 255));
    }
    return bmp;
}

COLORREF PicturePixel(IPictureDisp* pic, int x, int y) {
    OwnedDC dc(CreateCompatibleDC(nullptr));
    SelectGuard sel(dc.get(), reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(PictureHandle(pic))));
    return GetPixel(dc.get(), x, y);
}

} // namespace

TEST(PictureClip, CellsAreNumberedRowByRow) {
    for (bool dib : {true, false}) {
        PictureClip clip;
        clip.SetRows(kRows);
        clip.SetCols(kCols);
        clip.SetPicture(PictureFromBitmap(MakeSheet(dib).release(), true).get());
        ASSERT_EQ(clip.CellWidth(), kCellW);
        ASSERT_EQ(clip.CellHeight(), kCellH);
        for (short n = 0; n < kRows * kCols; ++n) {
            ComPtr<IPictureDisp> cell = clip.GraphicCell(n);
            ASSERT_TRUE(cell);
            EXPECT_EQ(PictureSizePixels(cell.get()).cx, kCellW);
            EXPECT_EQ(PicturePixel(cell.get(), 0, 0), RGB(255, 255, 255)) << "cell " << n;
            EXPECT_EQ(PicturePixel(cell.get(), kCellW - 1, kCellH - 1), CellColour(n)) << "cell " << n;
            EXPECT_EQ(PicturePixel(cell.get(), 1, 0), CellColour(n)) << "cell " << n;
        }
    }
}

TEST(PictureClip, DrawCellStretchesThePartAsked) {
    PictureClip clip;
    clip.SetCols(kCols);
    clip.SetRows(kRows);
    clip.SetPicture(PictureFromBitmap(MakeSheet(true).release(), true).get());
    std::uint32_t* bits = nullptr;
    OwnedBitmap target = CreateTopDownDib(20, 10, &bits);
    OwnedDC dc(CreateCompatibleDC(nullptr));
    SelectGuard sel(dc.get(), target.get());
    // Column 0 of cell 4 (white top pixel) stretched to 10 x 10, then an unstretched copy beside.
    clip.DrawCell(dc.get(), 4, 0, 0, 10, 10, 0, 0, 1, kCellH);
    clip.DrawCell(dc.get(), 4, 10, 0, kCellW, kCellH, 0, 0, kCellW, kCellH);
    EXPECT_EQ(GetPixel(dc.get(), 9, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 9, 9), CellColour(4));
    EXPECT_EQ(GetPixel(dc.get(), 10, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 11, 0), CellColour(4));
    // A negative width mirrors into x + w .. x: the cell's first column lands on the right.
    clip.DrawCell(dc.get(), 4, 19, 5, -kCellW, kCellH, 0, 0, kCellW, kCellH);
    EXPECT_EQ(GetPixel(dc.get(), 19, 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 16, 5), CellColour(4));
    EXPECT_EQ(GetPixel(dc.get(), 15, 5), RGB(0, 0, 0));
}

TEST(PictureClip, BadIndexesGridsAndPicturesRaiseAndKeepTheSheet) {
    PictureClip clip;
    EXPECT_EQ(glimtest::ErrorNumberOf([&] { clip.SetRows(0); }), kErrInvalidPropertyValue);
    EXPECT_EQ(glimtest::ErrorNumberOf([&] { clip.SetCols(-1); }), kErrInvalidPropertyValue);
    clip.SetCols(kCols);
    clip.SetRows(kRows);
    clip.SetPicture(PictureFromBitmap(MakeSheet(true).release(), true).get());
    for (short bad : {-1, 6, 32767})
        EXPECT_EQ(glimtest::ErrorNumberOf([&] { clip.GraphicCell(bad); }), kErrInvalidPropertyValue) << bad;

    clip.SetPicture(nullptr);
    EXPECT_EQ(clip.Width(), 0);
}

TEST(PictureClip, IconsAreDrawnThroughTheirMasks) {
    // An icon: drawn through its masks onto the black of a new sheet.
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = CopyIcon(LoadIcon(nullptr, IDI_APPLICATION));
    ComPtr<IPictureDisp> iconPic;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, iconPic.put_void()), S_OK);
    PictureClip icons;
    EXPECT_EQ(glimtest::ErrorNumberOf([&] { icons.GraphicCell(0); }), kErrInvalidPicture);
    icons.SetPicture(iconPic.get());
    EXPECT_GT(icons.Width(), 0);
    bool anyDrawn = false;
    for (int y = 0; y < icons.Height(); ++y)
        for (int x = 0; x < icons.Width(); ++x)
            anyDrawn = anyDrawn || icons.Pixel(x, y) != 0;
    EXPECT_TRUE(anyDrawn);
}

TEST(PictureClip, MetafilesAreRenderedNotLeftBlack) {
    // A 20 x 10 pixel metafile filled with one colour.
    ComPtr<IPictureDisp> pic = glimtest::SolidMetafilePicture(20, 10, RGB(10, 200, 30));
    ASSERT_TRUE(pic);
    PictureClip clip;
    clip.SetPicture(pic.get());
    ASSERT_GT(clip.Width(), 4);
    ASSERT_GT(clip.Height(), 4);
    EXPECT_EQ(clip.Pixel(clip.Width() / 2, clip.Height() / 2), RGB(10, 200, 30));
}
