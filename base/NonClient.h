#pragma once
// The non-client area of child windows.
#include <windows.h>

namespace glim {

// A child window without frame, edge or scroll bar has nothing outside its
// client area to draw, yet the default WM_NCPAINT takes a window DC for it:
// several round trips to the window server per window and paint.
inline bool DrawsNoFrame(HWND hwnd) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
    return (style & WS_CHILD) &&
           !(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL)) &&
           !(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
}

} // namespace glim
