#include "pump.h"

namespace glimtest {

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (pred()) return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent < 10 ? timeoutMs - spent : 10,
                                  QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool RegisterPlainClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

namespace {
const char* const kTestClass = "GlimTestWindow";
} // namespace

TestWindow::TestWindow(DWORD style, int w, int h, WNDPROC proc) {
    [[maybe_unused]] static const bool registered = RegisterPlainClass(kTestClass, DefWindowProcA);
    hwnd_ = CreateWindowExA(0, kTestClass, "test", style, 10, 10, w, h, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (proc) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

TestWindow::~TestWindow() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
    HDC dc = GetWindowDC(hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

COLORREF ClientPixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

int CountGdiObjects() {
    int n = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

// User handles are even numbers from 0x20; windows of other processes on
// the same desktop come and go on their own and are left out.
int CountUserObjects() {
    int n = 0;
    for (ULONG_PTR i = 0x20; i < 0x10000; i += 2) {
        const HWND w = reinterpret_cast<HWND>(i);
        DWORD pid = 0;
        if (IsWindow(w) && GetWindowThreadProcessId(w, &pid) && pid == GetCurrentProcessId())
            ++n;
        else if (IsMenu(reinterpret_cast<HMENU>(i)))
            ++n;
    }
    return n;
}

} // namespace glimtest
