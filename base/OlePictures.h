#pragma once
// Picture objects around GDI handles, for the controls and the host alike.
#include "ComPtr.h"

#include <olectl.h>

namespace glim {

// Wraps a GDI bitmap; the picture owns it when own is true.  Raises 7 when
// no picture can be made, the bitmap deleted if it was handed over.
ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bmp, bool own);
// Wraps an icon or cursor; the picture destroys it when own is true.
ComPtr<IPictureDisp> PictureFromIcon(HICON icon, bool own);

} // namespace glim
