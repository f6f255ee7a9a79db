#include "cMemDC.h"

#include <utility>

namespace glim {

namespace {

HBITMAP BitmapOf(IPicture* picture) {
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return HandleFromOle<HBITMAP>(handle);
}

} // namespace

cMemDC::~cMemDC() {
    cMemDC_DestroySurface();
}

void cMemDC::SetWidth(long value) {
    if (value > width_) cMemDC_CreateSurface(value, height_);
}

void cMemDC::SetHeight(long value) {
    if (value > height_) cMemDC_CreateSurface(width_, value);
}

void cMemDC::cMemDC_CreateSurface(long w, long h) {
    cMemDC_DestroySurface();
    const DisplayDC screen;
    dc_.reset(CreateCompatibleDC(screen.get()));
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), w, h));
    oldBitmap_ = dc_ && bitmap_ ? SelectObject(dc_.get(), bitmap_.get()) : nullptr;
    if (oldBitmap_) {
        width_ = w;
        height_ = h;
    } else {
        cMemDC_DestroySurface();
    }
}

void cMemDC::cMemDC_DestroySurface() {
    // The bitmap leaves the DC before either is deleted.
    if (oldBitmap_) SelectObject(dc_.get(), std::exchange(oldBitmap_, nullptr));
    bitmap_.reset();
    dc_.reset();
    width_ = 0;
    height_ = 0;
}

void cMemDC::CreateFromPicture(IPicture* picture) {
    if (!picture) return;
    const HBITMAP source = BitmapOf(picture);
    BITMAP bm{};
    if (!source || !GetObjectA(source, sizeof bm, &bm)) return;
    SetWidth(bm.bmWidth);
    SetHeight(bm.bmHeight);
    if (!dc_) return;

    const DisplayDC screen;
    const OwnedDC temp(CreateCompatibleDC(screen.get()));
    if (!temp) return;
    const SelectGuard picked(temp.get(), source);
    if (picked.selected()) BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, temp.get(), 0, 0, SRCCOPY);
}

} // namespace glim
