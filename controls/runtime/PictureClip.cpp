#include "PictureClip.h"

#include "Pictures.h"
#include "RuntimeErrors.h"

namespace glim {

PictureClip::~PictureClip() {
    Clear();
}

void PictureClip::Clear() {
    if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    picture_.reset();
}

void PictureClip::SetRows(short rows) {
    if (rows < 1) RaiseError(kErrInvalidPropertyValue);
    rows_ = rows;
}

void PictureClip::SetCols(short cols) {
    if (cols < 1) RaiseError(kErrInvalidPropertyValue);
    cols_ = cols;
}

void PictureClip::SetPicture(IPictureDisp* picture) {
    if (!picture || PictureType(picture) == PICTYPE_NONE) {
        Clear();
        return;
    }
    const SIZE px = PictureSizePixels(picture);
    if (px.cx <= 0 || px.cy <= 0) RaiseError(kErrInvalidPicture);
    // Built aside first, so a picture that fails keeps the old sheet.
    OwnedDC dc(CreateCompatibleDC(nullptr));
    if (!dc) RaiseError(kErrOutOfMemory);
    std::uint32_t* bits = nullptr;
    OwnedBitmap bmp = CreateTopDownDib(px.cx, px.cy, &bits);
    const HGDIOBJ old = SelectObject(dc.get(), bmp.get());
    if (!DrawPictureAt(dc.get(), picture, 0, 0, px.cx, px.cy)) {
        SelectObject(dc.get(), old);
        RaiseError(kErrInvalidPicture);
    }
    GdiFlush();
    Clear();
    picture_ = picture;
    dc_ = std::move(dc);
    bitmap_ = std::move(bmp);
    oldBitmap_ = old;
    bits_ = bits;
    width_ = px.cx;
    height_ = px.cy;
}

POINT PictureClip::CellOrigin(short index) const {
    if (!dc_) RaiseError(kErrInvalidPicture);
    if (index < 0 || index >= CellCount()) RaiseError(kErrInvalidPropertyValue);
    return POINT{(index % cols_) * CellWidth(), (index / cols_) * CellHeight()};
}

ComPtr<IPictureDisp> PictureClip::GraphicCell(short index) const {
    const POINT o = CellOrigin(index);
    const int w = CellWidth(), h = CellHeight();
    std::uint32_t* bits = nullptr;
    OwnedBitmap bmp = CreateTopDownDib(w, h, &bits);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bits[y * w + x] = bits_[(o.y + y) * width_ + o.x + x];
    return PictureFromBitmap(bmp.release(), true);
}

void PictureClip::DrawCell(HDC dc, short index, int x, int y, int w, int h, int sx, int sy, int sw,
                           int sh) const {
    const POINT o = CellOrigin(index);
    // A negative destination size mirrors, as stretching does.
    if (w == 0 || h == 0 || sw <= 0 || sh <= 0) return;
    if (w == sw && h == sh) {
        BitBlt(dc, x, y, w, h, dc_.get(), o.x + sx, o.y + sy, SRCCOPY);
        return;
    }
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, w, h, dc_.get(), o.x + sx, o.y + sy, sw, sh, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

COLORREF PictureClip::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace glim
