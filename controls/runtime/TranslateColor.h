#pragma once
// The colour helper the skinned frame, its menu bar and the gradient panel
// share: failure is a value (-1) that painting code checks, not an error.
#include <windows.h>
#include <ocidl.h>

namespace glim {

// An OLE colour (system colours included) as 0x00BBGGRR, or -1 when the
// platform cannot translate it.
long TranslateColor(OLE_COLOR oClr, HPALETTE hPal);

} // namespace glim
