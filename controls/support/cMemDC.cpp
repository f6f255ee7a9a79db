#include "cMemDC.h"

namespace glim {

namespace {

// A DC created for the length of one call, deleted on every path.
class OwnedDC {
  public:
    explicit OwnedDC(HDC dc) : dc_(dc) {}
    ~OwnedDC() {
        if (dc_) DeleteDC(dc_);
    }
    OwnedDC(const OwnedDC&) = delete;
    OwnedDC& operator=(const OwnedDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// An object selected into a DC until the end of the scope.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() {
        if (old_) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    bool Selected() const { return old_ != nullptr; }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

OwnedDC DisplayDC() {
    return OwnedDC(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
}

// OLE_HANDLE is 32 bits wide; GDI handles are sign-extended 32-bit values.
HBITMAP BitmapOf(IPicture* picture) {
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
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
    const OwnedDC screen = DisplayDC();
    hDC_ = CreateCompatibleDC(screen.get());
    bitmap_ = CreateCompatibleBitmap(screen.get(), w, h);
    oldBitmap_ = hDC_ && bitmap_ ? static_cast<HBITMAP>(SelectObject(hDC_, bitmap_)) : nullptr;
    if (oldBitmap_) {
        width_ = w;
        height_ = h;
    } else {
        cMemDC_DestroySurface();
    }
}

void cMemDC::cMemDC_DestroySurface() {
    if (oldBitmap_) {
        SelectObject(hDC_, oldBitmap_);
        oldBitmap_ = nullptr;
    }
    if (bitmap_) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    width_ = 0;
    height_ = 0;
    if (hDC_) {
        DeleteDC(hDC_);
        hDC_ = nullptr;
    }
}

void cMemDC::CreateFromPicture(IPicture* picture) {
    if (!picture) return;
    const HBITMAP source = BitmapOf(picture);
    BITMAP bm{};
    if (!source || !GetObjectA(source, sizeof bm, &bm)) return;
    SetWidth(bm.bmWidth);
    SetHeight(bm.bmHeight);
    if (!hDC_) return;

    const OwnedDC screen = DisplayDC();
    const OwnedDC temp(CreateCompatibleDC(screen.get()));
    if (!temp.get()) return;
    const Selection picked(temp.get(), source);
    if (picked.Selected()) BitBlt(hDC_, 0, 0, bm.bmWidth, bm.bmHeight, temp.get(), 0, 0, SRCCOPY);
}

} // namespace glim
