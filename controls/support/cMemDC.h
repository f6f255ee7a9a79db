#pragma once
// An off-screen memory DC with a screen-compatible bitmap that only grows:
// a larger width or height recreates it (dropping its content), a smaller
// one is ignored.  Owns the DC and the bitmap.
#include <windows.h>
#include <ocidl.h>

#include "Handles.h"
#include "NonCopyable.h"

namespace glim {

class cMemDC : NonCopyable {
  public:
    cMemDC() = default;
    ~cMemDC();

    // Grows the surface to the picture's bitmap and copies it in at (0, 0).
    void CreateFromPicture(IPicture* picture);

    HDC hDC() const { return dc_.get(); }
    // Grows the surface to at least w x h in one step.
    void SetSize(long w, long h);
    void SetWidth(long value);
    long Width() const { return width_; }
    void SetHeight(long value);
    long Height() const { return height_; }

  private:
    void cMemDC_CreateSurface(long w, long h);
    void cMemDC_DestroySurface();

    OwnedDC dc_;                  // the memory DC, null = none
    OwnedBitmap bitmap_;          // the screen-compatible bitmap
    HGDIOBJ oldBitmap_ = nullptr; // what the DC held before our bitmap
    long width_ = 0;              // pixels, 0 without a surface
    long height_ = 0;             // pixels, 0 without a surface
};

} // namespace glim
