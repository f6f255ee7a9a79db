#include "cMemDC.h"

#include <utility>

#include "DisplayCache.h"

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

void cMemDC::SetSize(long w, long h) {
    if (w > width_ || h > height_) cMemDC_CreateSurface(w > width_ ? w : width_, h > height_ ? h : height_);
}

void cMemDC::SetWidth(long value) {
    SetSize(value, height_);
}

void cMemDC::SetHeight(long value) {
    SetSize(width_, value);
}

void cMemDC::cMemDC_CreateSurface(long w, long h) {
    cMemDC_DestroySurface();
    // Compatible with the screen without asking a display DC.
    dc_.reset(CreateCompatibleDC(nullptr));
    bitmap_.reset(CreateScreenBitmap(w, h));
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
    SetSize(bm.bmWidth, bm.bmHeight);
    if (!dc_) return;

    const OwnedDC temp(CreateCompatibleDC(nullptr));
    if (!temp) return;
    const SelectGuard picked(temp.get(), source);
    if (picked.selected()) BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, temp.get(), 0, 0, SRCCOPY);
}

} // namespace glim
