#pragma once
// The one translation of an OLE colour (system colours and palette entries
// resolved).  What a colour the platform cannot translate means is each
// caller's choice, written where it calls: a property put refuses it with
// 380 (the runtime's TranslateColorOrRaise), a painter falls back to a colour
// of its own with value_or.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <optional>

namespace glim {

// An OLE colour as 0x00BBGGRR, or nothing when it cannot be translated.
inline std::optional<COLORREF> TranslateColor(OLE_COLOR oClr, HPALETTE hPal = nullptr) {
    COLORREF rgb = 0;
    if (OleTranslateColor(oClr, hPal, &rgb) != S_OK) return std::nullopt;
    return rgb;
}

} // namespace glim
