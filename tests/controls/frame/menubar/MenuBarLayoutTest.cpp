// The bar row: layout by Render, looks of hover and selection, hit tests,
// the hover timer and what Detach and destruction leave behind.
#include <gtest/gtest.h>

#include "MSubclass.h"
#include "MenuBarHarness.h"

namespace {

constexpr COLORREF kHot = RGB(0, 0, 255);
// The shift into client coordinates differs from the paint position, as it
// does on a skinned frame, so that mixing the two shows.
constexpr long kLeft = 10, kTop = 5, kWidth = 300, kHeight = 20, kXoffset = 3, kYoffset = -25;

HFONT BarFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Text extent of a bar caption as DrawTextA measures it with the bar font.
SIZE CaptionExtent(const char* text) {
    Surface s(10, 10, kFill);
    HGDIOBJ old = SelectObject(s.dc(), BarFont());
    RECT rc{0, 0, 0, kHeight + 1};
    DrawTextA(s.dc(), text, -1, &rc, DT_CALCRECT);
    SelectObject(s.dc(), old);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

class MenuBarRow : public testing::Test {
  protected:
    void SetUp() override {
        menu_ = CreateMenu();
        AppendMenuA(menu_, MF_STRING, 10, "Cmd");
        file_ = mbtest::MakePopup({"Open", "Close"}, 100);
        edit_ = mbtest::MakePopup({"Cut", "Paste"}, 200);
        AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file_), "&File");
        AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit_), "&Edit");
        bar = MakeRef<cMenuBar>();
        host.bar = bar;
        bar->Attach(host.hwnd(), 0);
        bar->cMenuBar_SetColors(kNormal, kHot, RGB(0, 255, 0), RGB(255, 255, 0));
        bar->put_hMenu(menu_);
    }
    void TearDown() override {
        bar->Detach();
        host.bar.reset();
        DestroyMenu(menu_);
    }
    void Render(Surface& s) {
        bar->Render(BarFont(), s.dc(), kLeft, kTop, kWidth, kHeight, kXoffset, kYoffset);
    }
    // Bar item n's rectangle on the surface Render painted.
    RECT OnSurface(long n) const {
        RECT r = bar->BarRect(n);
        OffsetRect(&r, kLeft - kXoffset, kTop - kYoffset);
        return r;
    }

    Host host;
    Ref<cMenuBar> bar;
    HMENU menu_ = nullptr;
    HMENU file_ = nullptr;
    HMENU edit_ = nullptr;
};

TEST_F(MenuBarRow, RenderLaysOutPopupItemsInClientCoordinates) {
    Surface s(400, 40, kFill);
    Render(s);
    ASSERT_EQ(bar->cMenuBar_GetItemCount(), 2) << "the plain command is not a bar item";

    const SIZE file = CaptionExtent("&File");
    const SIZE edit = CaptionExtent("&Edit");
    const RECT r1 = bar->BarRect(1);
    EXPECT_EQ(r1.left, 8 - 4 + kXoffset);
    EXPECT_EQ(r1.right, 8 + file.cx + 4 + kXoffset);
    EXPECT_EQ(r1.top, 2 - 2 + kYoffset);
    EXPECT_EQ(r1.bottom, 2 + file.cy + 3 + kYoffset);
    const RECT r2 = bar->BarRect(2);
    const long x2 = 8 + file.cx + 11;
    EXPECT_EQ(r2.left, x2 - 4 + kXoffset);
    EXPECT_EQ(r2.right, x2 + edit.cx + 4 + kXoffset);

    EXPECT_EQ(bar->cMenuBar_GetSubMenu(1), file_);
    EXPECT_EQ(bar->cMenuBar_GetSubMenu(2), edit_);
    EXPECT_EQ(bar->cMenuBar_GetSubMenu(0), nullptr);
    EXPECT_EQ(bar->cMenuBar_GetSubMenu(3), nullptr);

    // Text in the normal colour inside each item, the target untouched outside the bar area.
    const RECT t1 = OnSurface(1);
    const RECT t2 = OnSurface(2);
    EXPECT_GT(s.CountColor(kNormal, t1.left, t1.top, t1.right, t1.bottom), 0);
    EXPECT_GT(s.CountColor(kNormal, t2.left, t2.top, t2.right, t2.bottom), 0);
    EXPECT_EQ(s.CountColor(kHot, 0, 0, 400, 40), 0);
    EXPECT_EQ(s.Pixel(kLeft - 2, kTop + 5), kFill);
    EXPECT_EQ(s.Pixel(kLeft + 2, kTop + 5), kFill) << "the bar copies the target's own background";
    EXPECT_EQ(s.CountColor(kNormal, 0, kTop + kHeight, 400, 40), 0);
}

TEST_F(MenuBarRow, HoverAndSelectionLooks) {
    Surface s(400, 40, kFill);
    Render(s);
    const COLORREF dkShadow = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    ASSERT_NE(dkShadow, shadow);

    bar->cMenuBar_SetHoverItem(2);
    s.Fill(kFill);
    Render(s);
    RECT t = OnSurface(2);
    const int midY = (t.top + t.bottom) / 2;
    EXPECT_GT(s.CountColor(kHot, t.left, t.top, t.right, t.bottom), 0);
    EXPECT_EQ(s.CountColor(kNormal, t.left, t.top, t.right, t.bottom), 0);
    EXPECT_EQ(s.Pixel(t.right - 1, midY), dkShadow) << "hover: raised edge";
    const RECT t1 = OnSurface(1);
    EXPECT_GT(s.CountColor(kNormal, t1.left, t1.top, t1.right, t1.bottom), 0);
    EXPECT_EQ(s.Pixel(t1.right - 1, midY), kFill);

    bar->cMenuBar_SetHoverItem(0);
    bar->cMenuBar_SetSelectedItem(2, true);
    s.Fill(kFill);
    Render(s);
    EXPECT_EQ(s.Pixel(t.right - 1, midY), shadow) << "selected: thin raised inner edge";
    EXPECT_EQ(s.Pixel(t.left, midY), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_GT(s.CountColor(kHot, t.left, t.top, t.right, t.bottom), 0);

    // Selected and hovered: the same edge, the text one pixel right and down.
    Surface plain(400, 40, kFill);
    bar->cMenuBar_SetHoverItem(2);
    Render(plain);
    EXPECT_EQ(plain.Pixel(t.right - 1, midY), shadow);
    int moved = 0, same = 0;
    for (int y = t.top + 1; y < t.bottom - 2; ++y)
        for (int x = t.left + 1; x < t.right - 2; ++x) {
            if (s.Pixel(x, y) != kHot) continue;
            (plain.Pixel(x + 1, y + 1) == kHot ? moved : same)++;
        }
    EXPECT_GT(moved, 0);
    EXPECT_EQ(same, 0);

    bar->cMenuBar_SetSelectedItem(2, false);
    EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), -1);
    bar->cMenuBar_SetSelectedItem(1, false);
    EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), -1) << "clearing another item changes nothing";
}

TEST_F(MenuBarRow, OnlyTheFirstTwoColoursArePainted) {
    Surface a(400, 40, kFill), b(400, 40, kFill), c(400, 40, kFill);
    bar->cMenuBar_SetHoverItem(1);
    Render(a);
    bar->cMenuBar_SetColors(kNormal, kHot, RGB(1, 2, 3), RGB(4, 5, 6));
    Render(b);
    bar->cMenuBar_SetColors(RGB(0, 0, 0), kHot, RGB(1, 2, 3), RGB(4, 5, 6));
    Render(c);
    int diffB = 0, diffC = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x) {
            diffB += a.Pixel(x, y) != b.Pixel(x, y);
            diffC += a.Pixel(x, y) != c.Pixel(x, y);
        }
    EXPECT_EQ(diffB, 0);
    EXPECT_GT(diffC, 0);
}

TEST_F(MenuBarRow, RenderWithoutMenuKeepsLayoutAndDrawsNothing) {
    Surface s(400, 40, kFill);
    Render(s);
    const RECT before = bar->BarRect(2);
    bar->put_hMenu(nullptr);
    s.Fill(RGB(9, 9, 9));
    Render(s);
    EXPECT_EQ(s.CountColor(RGB(9, 9, 9), 0, 0, 400, 40), 400 * 40);
    EXPECT_EQ(bar->cMenuBar_GetItemCount(), 2);
    const RECT after = bar->BarRect(2);
    EXPECT_TRUE(EqualRect(&before, &after) != FALSE);
}

TEST_F(MenuBarRow, HitTestsAndScreenRectangles) {
    Surface s(400, 40, kFill);
    Render(s);
    const RECT r2 = bar->BarRect(2);
    POINT pt = mbtest::BarItemCenter(*bar, 2);
    EXPECT_EQ(bar->cMenuBar_HitTestPoint(pt), 2);
    EXPECT_EQ(pt.x, (r2.left + r2.right) / 2) << "the point comes back in client coordinates";
    EXPECT_EQ(pt.y, (r2.top + r2.bottom) / 2);
    POINT below{pt.x, 0};
    ClientToScreen(host.hwnd(), &below);
    EXPECT_EQ(bar->cMenuBar_HitTestPoint(below), 0);

    // The screen rectangle is the client one where the client area lies.
    POINT origin{0, 0};
    ClientToScreen(host.hwnd(), &origin);
    RECT rc{};
    bar->cMenuBar_GetItemScreenRect(2, rc);
    EXPECT_EQ(rc.left, r2.left + origin.x);
    EXPECT_EQ(rc.top, r2.top + origin.y);
    EXPECT_EQ(rc.right, r2.right + origin.x);
    EXPECT_EQ(rc.bottom, r2.bottom + origin.y);
    RECT untouched{1, 2, 3, 4};
    bar->cMenuBar_GetItemScreenRect(3, untouched);
    EXPECT_EQ(untouched.left, 1);
    EXPECT_EQ(untouched.bottom, 4);

    SetCursorPos(pt.x, pt.y);
    const POINT c = mbtest::BarItemCenter(*bar, 1);
    SetCursorPos(c.x, c.y);
    EXPECT_EQ(bar->cMenuBar_HitTestCursor(), 1);
}

TEST_F(MenuBarRow, HoverFollowsTheMouseAndTheTimerNoticesLeaving) {
    Surface s(400, 40, kFill);
    Render(s);
    const POINT c = mbtest::BarItemCenter(*bar, 1);
    SetCursorPos(c.x, c.y);
    host.ClearLog();
    POINT client = c;
    ScreenToClient(host.hwnd(), &client);
    SendMessageA(host.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(host.Count(WM_MOUSEMOVE), 1) << "the host still sees its mouse moves";
    EXPECT_EQ(bar->HoverItem(), 1);
    EXPECT_GE(host.Count(WM_NCPAINT), 1) << "a hover change repaints the frame";
    ASSERT_NE(bar->HoverTimer(), nullptr);
    EXPECT_EQ(bar->HoverTimer()->Interval(), 50);

    RECT wr{};
    GetWindowRect(host.hwnd(), &wr);
    SetCursorPos(wr.right + 40, wr.bottom + 40);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return bar->HoverItem() == 0; }, 2000));
    EXPECT_TRUE(glimtest::PumpUntil([&] { return bar->HoverTimer()->Interval() == 0; }, 2000));
    s.Fill(kFill);
    Render(s);
    const RECT t = OnSurface(1);
    EXPECT_EQ(s.CountColor(kHot, t.left, t.top, t.right, t.bottom), 0);
}

// A client that counts one message, to see that the bar's detaching leaves it alone.
class Counter : public glim::ISubclass {
  public:
    long seen = 0;
    glim::MsgResponseMode MsgResponse() override { return glim::mrDefaultAfter; }
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override {
        ++seen;
        return 0;
    }
};

TEST_F(MenuBarRow, DetachStopsTheTimerAndReleasesItsMessagesOnce) {
    const LONG_PTR subclassed = GetWindowLongPtrA(host.hwnd(), GWLP_WNDPROC);
    bar->Detach();
    const LONG_PTR hostProc = GetWindowLongPtrA(host.hwnd(), GWLP_WNDPROC);
    EXPECT_NE(hostProc, subclassed) << "the window gets its own procedure back";

    const Ref<Counter> counter = MakeRef<Counter>();
    glim::AttachMessage(counter.get(), host.hwnd(), WM_MOUSEMOVE);
    bar->Attach(host.hwnd(), 0);
    Surface s(400, 40, kFill);
    Render(s);
    const POINT c = mbtest::BarItemCenter(*bar, 2);
    mbtest::MouseAt(host.hwnd(), WM_MOUSEMOVE, c);
    ASSERT_EQ(bar->HoverItem(), 2);
    const Ref<glim::CTimer> timer(bar->HoverTimer());
    ASSERT_EQ(timer->Interval(), 50);
    EXPECT_NE(bar->Tracker(), nullptr);

    bar->Detach();
    EXPECT_EQ(timer->Interval(), 0) << "the hover timer stops at Detach";
    EXPECT_EQ(bar->Tracker(), nullptr);
    EXPECT_EQ(bar->hWnd(), nullptr);
    bar->Detach();
    const long before = counter->seen;
    mbtest::MouseAt(host.hwnd(), WM_MOUSEMOVE, c);
    EXPECT_EQ(counter->seen, before + 1) << "a second Detach must not release another client's message";
    EXPECT_EQ(bar->HoverItem(), 2) << "a detached bar no longer follows the mouse";
    glim::DetachMessage(counter.get(), host.hwnd(), WM_MOUSEMOVE);
    EXPECT_EQ(GetWindowLongPtrA(host.hwnd(), GWLP_WNDPROC), hostProc);
    bar->Attach(host.hwnd(), 0); // for TearDown
}

TEST(MenuBarLifetime, DestroyedWhileAttachedLeavesNothingBehind) {
    Host host;
    const LONG_PTR hostProc = GetWindowLongPtrA(host.hwnd(), GWLP_WNDPROC);
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(mbtest::MakePopup({"A"}, 1)), "&Go");
    Ref<glim::CTimer> timer;
    {
        Ref<cMenuBar> bar = MakeRef<cMenuBar>();
        bar->Attach(host.hwnd(), 0);
        bar->put_hMenu(menu);
        Surface s(200, 30, kFill);
        bar->Render(BarFont(), s.dc(), 0, 0, 200, 20, 0, -20);
        const POINT c = mbtest::BarItemCenter(*bar, 1);
        mbtest::MouseAt(host.hwnd(), WM_MOUSEMOVE, c);
        timer = Ref<glim::CTimer>(bar->HoverTimer());
        ASSERT_TRUE(timer);
        ASSERT_EQ(timer->Interval(), 50);
        EXPECT_NE(GetWindowLongPtrA(host.hwnd(), GWLP_WNDPROC), hostProc);
    }
    EXPECT_EQ(timer->Interval(), 0);
    EXPECT_EQ(GetWindowLongPtrA(host.hwnd(), GWLP_WNDPROC), hostProc);
    // Messages and timer ticks after the bar is gone must reach nothing of it.
    SendMessageA(host.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    glimtest::PumpFor(120);
    EXPECT_EQ(glim::mDeclares_MenuHook(), nullptr);
    DestroyMenu(menu);
}

} // namespace
