#include "theModule.h"

namespace glim {

bool theModule_IsLayeringSupported() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    // A failing call leaves the major version 0: no layering.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop
    return info.dwMajorVersion >= 5;
}

void theModule_MakeLayered(HWND hWnd) {
    const LONG style = GetWindowLongA(hWnd, GWL_EXSTYLE);
    if (style == -1) return;
    SetWindowLongA(hWnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
}

} // namespace glim
