// A DLL that carries nothing but compiled resources, so the artwork can be
// tested the way the library will load it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
