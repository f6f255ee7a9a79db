#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "PainterHarness.h"
#include "input.h"
#include "pump.h"

using namespace paintertest;
using glim::cNeoCaption;
using glimtest::PumpFor;
using glimtest::PumpUntil;
using glimtest::SendMouse;
using glimtest::WaitFor;

namespace {

POINT Centre(const RECT& r) {
    return POINT{r.left + 9, r.top + 10};
}

// The glyph of a button as painted, compared with the skin.
bool GlyphMatches(HWND hWnd, const RECT& r, long k, bool pressed) {
    const Snapshot shot(hWnd);
    for (long y = 0; y < kButtonH; ++y)
        for (long x = 0; x < kButtonW; ++x)
            if (shot.At(r.left + x, r.top + y) !=
                CaptionColor(240 + k * kButtonW + x, (pressed ? kButtonH : 0) + y))
                return false;
    return true;
}

} // namespace

TEST(NeoCaptionInput, HitCodesOfTheSkinnedFrame) {
    Skinned s;
    const long cap = GetSystemMetrics(SM_CYCAPTION);
    // The last three: the window-menu box, its right and bottom edges outside.
    const struct {
        long x, y;
        LRESULT code;
    } kSpots[] = {{5, 5, HTTOPLEFT},         {315, 5, HTTOPRIGHT}, {5, 235, HTBOTTOMLEFT},
                  {315, 235, HTBOTTOMRIGHT}, {5, 120, HTLEFT},     {315, 120, HTRIGHT},
                  {150, 5, HTTOP},           {150, 235, HTBOTTOM}, {150, 20, HTCAPTION},
                  {150, 120, HTCLIENT},      {12, 11, HTSYSMENU},  {41, 42, HTSYSMENU},
                  {42, 20, HTCAPTION}};
    for (const auto& spot : kSpots)
        EXPECT_EQ(HitTestAt(s.window, spot.x, spot.y), spot.code) << spot.x << "," << spot.y;
    if (43 > cap + kTile) {
        EXPECT_EQ(HitTestAt(s.window, 30, 43), HTCLIENT) << "menu band";
    }
    EXPECT_EQ(HitTestAt(s.window, 150, kCapH - 2), HTCLIENT) << "menu band";
    for (auto b : {cNeoCaption::btnClose, cNeoCaption::btnMaximize, cNeoCaption::btnMinimize}) {
        const POINT c = Centre(s.painter->ButtonRect(b));
        EXPECT_EQ(HitTestAt(s.window, c.x, c.y), HTSYSMENU) << "button " << b;
    }
}

TEST(NeoCaptionInput, CloseRunsOnlyWhenPressAndReleaseMeetOnIt) {
    Skinned s;
    const RECT close = s.painter->ButtonRect(cNeoCaption::btnClose);
    const POINT c = Centre(close);

    PressAt(s.window, c.x, c.y);
    EXPECT_TRUE(s.painter->ButtonPressed(cNeoCaption::btnClose));
    EXPECT_TRUE(GlyphMatches(s.window, close, 0, true));
    EXPECT_EQ(CountRecords(WM_NCLBUTTONDOWN, HTSYSMENU), 0) << "a handled press opens no window menu";

    // Moving out shows the normal glyph again; releasing outside runs nothing.
    HitTestAt(s.window, 150, 120);
    EXPECT_TRUE(GlyphMatches(s.window, close, 0, false));
    EXPECT_TRUE(s.painter->ButtonPressed(cNeoCaption::btnClose));
    ReleaseAt(s.window, 150, 120);
    EXPECT_FALSE(s.painter->ButtonPressed(cNeoCaption::btnClose));
    PumpFor(100);
    EXPECT_EQ(CountSysCommands(SC_CLOSE), 0);

    // A release on the button without a press there runs nothing either.
    ReleaseAt(s.window, c.x, c.y);
    PumpFor(50);
    EXPECT_EQ(CountSysCommands(SC_CLOSE), 0);

    PressAt(s.window, c.x, c.y);
    ReleaseAt(s.window, c.x, c.y);
    EXPECT_EQ(CountSysCommands(SC_CLOSE), 0) << "posted, not sent";
    EXPECT_TRUE(PumpUntil([] { return CountSysCommands(SC_CLOSE) == 1; }));
    PumpFor(50);
    EXPECT_EQ(CountSysCommands(SC_CLOSE), 1);
    EXPECT_TRUE(GlyphMatches(s.window, close, 0, false));
}

TEST(NeoCaptionInput, MinimizeMaximizeAndRestoreCommands) {
    Skinned s;
    // Exactly one command waits in the queue after the release.
    const auto posted = [&]() -> WPARAM {
        MSG m{};
        if (!PeekMessageA(&m, s.window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) return 0;
        if (PeekMessageA(&m, s.window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE)) return 1;
        return m.wParam;
    };
    const POINT min = Centre(s.painter->ButtonRect(cNeoCaption::btnMinimize));
    PressAt(s.window, min.x, min.y);
    EXPECT_TRUE(GlyphMatches(s.window, s.painter->ButtonRect(cNeoCaption::btnMinimize), 3, true));
    ReleaseAt(s.window, min.x, min.y);
    EXPECT_EQ(posted(), WPARAM(SC_MINIMIZE));

    const POINT max = Centre(s.painter->ButtonRect(cNeoCaption::btnMaximize));
    PressAt(s.window, max.x, max.y);
    EXPECT_TRUE(GlyphMatches(s.window, s.painter->ButtonRect(cNeoCaption::btnMaximize), 2, true));
    ReleaseAt(s.window, max.x, max.y);
    EXPECT_EQ(posted(), WPARAM(SC_MAXIMIZE));

    ShowWindow(s.window, SW_MAXIMIZE);
    // Wine's X11 driver may send window commands of its own while it settles.
    PumpFor(300);
    PaintFrame(s.window);
    const RECT restore = s.painter->ButtonRect(cNeoCaption::btnMaximize);
    const POINT r = Centre(restore);
    PressAt(s.window, r.x, r.y);
    EXPECT_TRUE(GlyphMatches(s.window, restore, 1, true));
    ReleaseAt(s.window, r.x, r.y);
    EXPECT_EQ(posted(), WPARAM(SC_RESTORE));
    EXPECT_TRUE(GlyphMatches(s.window, restore, 1, false));
}

TEST(NeoCaptionInput, DoubleClickOnATitleButtonDoesNotClose) {
    Skinned s;
    const POINT min = Centre(s.painter->ButtonRect(cNeoCaption::btnMinimize));
    HitTestAt(s.window, min.x, min.y);
    const POINT p = ScreenOf(s.window, min.x, min.y);
    SendMessageA(s.window, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(CountSysCommands(SC_CLOSE), 0);
    EXPECT_TRUE(s.painter->ButtonPressed(cNeoCaption::btnMinimize)) << "the second click presses the button";
    ReleaseAt(s.window, min.x, min.y);
    EXPECT_TRUE(PumpUntil([] { return CountSysCommands(SC_MINIMIZE) == 1; }));

    // Real input: two quick clicks, two minimize commands, no close.
    Records().clear();
    SetCursorPos(p.x, p.y);
    PumpFor(50);
    std::atomic<bool> done{false};
    std::thread input([&] {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done && CountSysCommands(SC_MINIMIZE) == 2; }));
    input.join();
    PumpFor(100);
    EXPECT_EQ(CountSysCommands(SC_CLOSE), 0);
    EXPECT_EQ(CountSysCommands(SC_MINIMIZE), 2);
    EXPECT_TRUE(IsWindow(s.window));

    // A double click on the icon still reaches the previous procedure.
    HitTestAt(s.window, 20, 20);
    const POINT icon = ScreenOf(s.window, 20, 20);
    SendMessageA(s.window, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(icon.x, icon.y));
    EXPECT_EQ(CountRecords(WM_NCLBUTTONDBLCLK, HTSYSMENU), 1);
}

namespace {

// Presses on the caption at (x, y), moves the mouse while the drag loop
// runs and releases; returns the cursor offset the loop saw.
POINT DragCaption(HWND hWnd, long x, long y, long dx, long dy, bool expectMove) {
    const POINT start = ScreenOf(hWnd, x, y);
    SetCursorPos(start.x, start.y);
    PumpFor(50);
    RECT before{};
    GetWindowRect(hWnd, &before);
    std::atomic<bool> done{false};
    POINT seen{};
    std::thread input([&] {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        // The press nudges the cursor by a pixel before its drag loop starts.
        POINT probed{};
        WaitFor([&] {
            GetCursorPos(&probed);
            return probed.x != start.x;
        });
        // Handled inside the drag loop's message processing.
        const long mark = AppMessageCount();
        PostMessageA(hWnd, WM_APP, 0, 0);
        WaitFor([&] { return AppMessageCount() > mark; });
        SendMouse(MOUSEEVENTF_MOVE, dx / 2, dy / 2);
        SendMouse(MOUSEEVENTF_MOVE, dx - dx / 2, dy - dy / 2);
        // The cursor moves by what the platform makes of the moves (Wine
        // doubles relative moves of more than six pixels, as Windows does),
        // and for a moment it may stand where it stood before: Wine's X11
        // driver replays the crossing event of the window moving under the
        // pointer as a move to the place the pointer had then.  So the
        // offset counts once the cursor and the window stay put through a
        // pass of the drag loop's message processing.
        const auto followed = [&](POINT& moved) {
            POINT now{};
            GetCursorPos(&now);
            moved = POINT{now.x - probed.x, now.y - probed.y};
            RECT r{};
            GetWindowRect(hWnd, &r);
            return r.left - before.left == moved.x && r.top - before.top == moved.y;
        };
        if (expectMove)
            WaitFor([&] {
                if (!followed(seen)) return false;
                const long pass = AppMessageCount();
                PostMessageA(hWnd, WM_APP, 0, 0);
                WaitFor([&] { return AppMessageCount() > pass; });
                POINT again{};
                return followed(again) && again.x == seen.x && again.y == seen.y;
            });
        else
            followed(seen);
        SendMouse(MOUSEEVENTF_LEFTUP);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 10000);
    input.join();
    PumpFor(50);
    return seen;
}

} // namespace

TEST(NeoCaptionInput, CaptionPressDragsTheWindowUntilRelease) {
    Skinned s;
    RECT before{};
    GetWindowRect(s.window, &before);
    const POINT moved = DragCaption(s.window, 150, 20, 37, 23, true);
    EXPECT_NE(moved.x, 0);
    RECT after{};
    GetWindowRect(s.window, &after);
    EXPECT_EQ(after.left - before.left, moved.x);
    EXPECT_EQ(after.top - before.top, moved.y);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(CountRecords(WM_NCLBUTTONDOWN, HTCAPTION), 0)
        << "the drag is the painter's, not the platform's";

    // The loop ended with the release: later moves leave the window alone.
    SendMouse(MOUSEEVENTF_MOVE, 15, 15);
    PumpFor(100);
    RECT still{};
    GetWindowRect(s.window, &still);
    EXPECT_TRUE(EqualRect(&still, &after));
}

TEST(NeoCaptionInput, OwnedPopupMovesInScreenCoordinates) {
    FrameWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150);
    SetWindowPos(owner, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Skinned s(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 320, 240, owner);
    RECT before{};
    GetWindowRect(s.window, &before);
    const POINT moved = DragCaption(s.window, 150, 20, 31, 17, true);
    RECT after{};
    GetWindowRect(s.window, &after);
    EXPECT_EQ(after.left - before.left, moved.x);
    EXPECT_EQ(after.top - before.top, moved.y);
}

TEST(NeoCaptionInput, MaximizedWindowDoesNotMove) {
    Skinned s;
    ShowWindow(s.window, SW_MAXIMIZE);
    PaintFrame(s.window);
    RECT before{};
    GetWindowRect(s.window, &before);
    DragCaption(s.window, 150, 20, 30, 30, false);
    RECT after{};
    GetWindowRect(s.window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}
