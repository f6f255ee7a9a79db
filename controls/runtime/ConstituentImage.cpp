#include "ConstituentImage.h"

#include "Pictures.h"

namespace glim {

ConstituentImage::ConstituentImage(ConstituentHost& host) : Constituent(host, true) {}

void ConstituentImage::SetPicture(IPictureDisp* picture) {
    picture_ = picture;
    if (!stretch_) FitToPicture();
    Invalidate();
}

void ConstituentImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    if (!stretch_) FitToPicture();
    Invalidate();
}

void ConstituentImage::FitToPicture() {
    // An empty image keeps its size.
    if (PictureType(picture_.get()) == PICTYPE_NONE || PictureHandle(picture_.get()) == 0) return;
    const SIZE px = PictureSizePixels(picture_.get());
    SetPixelSize(px.cx, px.cy);
}

void ConstituentImage::Draw(HDC dc) {
    ComPtr<IPicture> pic = picture_.As<IPicture>();
    if (!pic || PictureHandle(pic.get()) == 0) return;
    const RECT r = PixelRect();
    SIZE size{r.right - r.left, r.bottom - r.top};
    if (!stretch_) size = PictureSizePixels(pic.get());
    const SIZE hm = PictureSizeHimetric(pic.get());
    pic->Render(dc, r.left, r.top, size.cx, size.cy, 0, hm.cy, hm.cx, -hm.cy, nullptr);
}

} // namespace glim
