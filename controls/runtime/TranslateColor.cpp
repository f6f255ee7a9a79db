#include "TranslateColor.h"

#include <olectl.h>

namespace glim {

long TranslateColor(OLE_COLOR oClr, HPALETTE hPal) {
    COLORREF result = 0;
    if (OleTranslateColor(oClr, hPal, &result) != S_OK) return -1;
    return static_cast<long>(result);
}

} // namespace glim
