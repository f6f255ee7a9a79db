// A DLL that carries nothing but the type-library resource, so the tests can
// load the library the way hosts load it from GlimForm.dll.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
