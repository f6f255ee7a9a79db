// Checks that the test environment is the one the controls are written for:
// code page 936, a CJK font for the Chinese texts, a 24-bit screen, and a
// message pump whose deadline holds.
#include <windows.h>

#include <gtest/gtest.h>

#include "pump.h"

TEST(Environment, AnsiCodePageIs936) {
    EXPECT_EQ(GetACP(), 936u);
}

namespace {
bool gPosted = false;
LRESULT CALLBACK NotePosted(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) gPosted = true;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int CALLBACK CountCjkFaces(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return 1;
}
} // namespace

TEST(Environment, ChineseFontIsInstalled) {
    HDC dc = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfCharSet = GB2312_CHARSET;
    int faces = 0;
    EnumFontFamiliesExA(dc, &lf, CountCjkFaces, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, dc);
    EXPECT_GT(faces, 0);
}

TEST(Environment, ScreenHas24BitColour) {
    HDC dc = GetDC(nullptr);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(nullptr, dc);
    EXPECT_GE(bits, 24);
}

TEST(Environment, PumpUntilSeesPostedMessageAndHonoursDeadline) {
    glimtest::TestWindow w(WS_OVERLAPPEDWINDOW, 300, 200, NotePosted);
    PostMessageA(w, WM_APP, 0, 0);
    EXPECT_FALSE(gPosted);
    EXPECT_TRUE(glimtest::PumpUntil([] { return gPosted; }));
    const DWORD start = GetTickCount();
    EXPECT_FALSE(glimtest::PumpUntil([] { return false; }, 50));
    EXPECT_GE(GetTickCount() - start, 40u);
}
