#pragma once
// Layered windows, where the system has them: the balloon's shadow uses them
// to let the screen show through.
#include <windows.h>

namespace glim {

// True from major version 5 on.
bool theModule_IsLayeringSupported();
// Adds the layered extended style to a window.
void theModule_MakeLayered(HWND hWnd);

} // namespace glim
