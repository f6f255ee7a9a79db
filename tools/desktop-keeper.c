/* Keeps the Wine prefix's desktop and services up for a whole run.
 * Started before the build and the tests with its output detached, it is the
 * process that creates the desktop, so no test starts the desktop process
 * itself: that process would inherit the test's output pipe and keep ctest
 * waiting for as long as it lives.  It creates the file named by its argument
 * once the desktop is there and windows can be made, owns no windows, and ends with the wineserver. */
#include <windows.h>

int main(int argc, char** argv) {
    MSG msg;
    HWND probe;
    if (!GetDesktopWindow()) return 1;
    /* Wine gives up waiting for the desktop process after a while, and then a
     * process that asks for it has no display driver for good: a window made
     * here proves the driver is there.  Without it, the script starts another
     * keeper, which looks again. */
    probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    if (!probe) return 2;
    DestroyWindow(probe);
    if (argc > 1) {
        HANDLE ready = CreateFileA(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (ready == INVALID_HANDLE_VALUE) return 1;
        CloseHandle(ready);
    }
    for (;;) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}
