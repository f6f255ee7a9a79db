// Popup loops run for real: Alt+letter, clicks on the bar, arrow keys and
// mouse moves switching between bar items, each loop scripted by a timer
// and guarded by a deadline.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "MenuBarHarness.h"
#include "mDeclares.h"

namespace {

class MenuLoop : public testing::Test {
  protected:
    void SetUp() override {
        menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 99, "&Quit");
        file = mbtest::MakePopup({"&New", "&Open"}, 1);
        edit = mbtest::MakePopup({"Cu&t", "&Copy"}, 11);
        view = CreatePopupMenu();
        more = mbtest::MakePopup({"Deep"}, 31);
        AppendMenuA(view, MF_STRING, 21, "&Zoom");
        AppendMenuA(view, MF_STRING, 2, "&Two"); // its ID is the position of the submenu below
        AppendMenuA(view, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
        Use(menu);
    }
    void TearDown() override {
        bar->Detach();
        host.bar.reset();
        DestroyMenu(menu);
        EXPECT_EQ(glim::mDeclares_MenuHook(), nullptr) << "no message-filter hook outlives a loop";
    }
    // Puts a fresh bar on the host for the given menu and lays it out.
    void Use(HMENU m) {
        if (bar) bar->Detach();
        bar = MakeRef<cMenuBar>();
        host.bar = bar;
        bar->Attach(host.hwnd(), 0);
        bar->put_hMenu(m);
        RECT wr{};
        GetWindowRect(host.hwnd(), &wr);
        POINT origin{0, 0};
        ClientToScreen(host.hwnd(), &origin);
        bar->put_CaptionHeight(origin.y - wr.top);
        HDC dc = GetDC(host.hwnd());
        bar->Render(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), dc, 0, 0, 300, 16, 0, -17);
        ReleaseDC(host.hwnd(), dc);
    }
    bool IsOpen(HMENU m) const {
        return !host.opened.empty() && host.opened.back() == m && mbtest::OpenPopupWindow() != nullptr;
    }
    // The last WM_MENUSELECT the host saw: item and flags, and its menu.
    bool LastSelect(UINT item, UINT flagBits, HMENU m) const {
        for (auto it = host.log.rbegin(); it != host.log.rend(); ++it) {
            if (it->msg != WM_MENUSELECT) continue;
            return LOWORD(it->wParam) == item && (HIWORD(it->wParam) & flagBits) == flagBits &&
                   reinterpret_cast<HMENU>(it->lParam) == m;
        }
        return false;
    }
    std::string Trace() const {
        std::string t;
        char line[96];
        for (const mbtest::Recorded& r : host.log) {
            if (r.msg != WM_MENUSELECT && r.msg != WM_INITMENUPOPUP) continue;
            snprintf(
                line, sizeof line, "%s %04x/%04x menu %p\n", r.msg == WM_MENUSELECT ? "select" : "init",
                LOWORD(r.wParam), HIWORD(r.wParam),
                reinterpret_cast<void*>(r.msg == WM_MENUSELECT ? r.lParam : static_cast<LPARAM>(r.wParam)));
            t += line;
        }
        return t;
    }
    void MoveTo(POINT pt, UINT msg = WM_MOUSEMOVE) {
        SetCursorPos(pt.x, pt.y);
        PostMessageA(host.hwnd(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(pt.x, pt.y));
    }
    std::function<void()> Nothing() {
        return [] {};
    }

    Host host;
    Ref<cMenuBar> bar;
    HMENU menu = nullptr, file = nullptr, edit = nullptr, view = nullptr, more = nullptr;
};

TEST_F(MenuLoop, AltLetterOpensTheMatchingBarItemOnly) {
    ASSERT_EQ(bar->cMenuBar_GetItemCount(), 3);
    MenuScript script(host.hwnd());
    script
        .Then([&] { return IsOpen(edit); },
              [&] {
                  EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), 2);
                  EXPECT_EQ(bar->HoverItem(), 2);
                  EXPECT_EQ(bar->RecordCount(), 2) << "the open popup's items are owner-drawn now";
                  EXPECT_TRUE(bar->Record(1).saved.wID == 11);
                  EXPECT_NE(glim::mDeclares_MenuHook(), nullptr);
              })
        .Key(VK_ESCAPE);
    script.Start();
    EXPECT_TRUE(bar->cMenuBar_AltKeyAccelerator('E'));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], edit);
    EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), -1);
    EXPECT_EQ(bar->HoverItem(), -1);
    EXPECT_EQ(bar->RecordCount(), 0);
    char text[32] = {};
    GetMenuStringA(edit, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Cu&t");

    host.opened.clear();
    EXPECT_FALSE(bar->cMenuBar_AltKeyAccelerator('Q')) << "a plain command is not a bar item";
    EXPECT_FALSE(bar->cMenuBar_AltKeyAccelerator('X'));
    EXPECT_TRUE(host.opened.empty());
}

TEST_F(MenuLoop, AltLetterWhileAPopupIsOpenLeavesThatPopupAsItIs) {
    const auto ownerDrawn = [&](HMENU m, UINT pos) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE;
        return GetMenuItemInfoA(m, pos, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) != 0;
    };
    bool second = true, keptLook = false;
    MenuScript script(host.hwnd());
    script
        .Then([&] { return IsOpen(file); },
              [&] {
                  // Refused, since a loop runs; the open popup keeps its items.
                  second = bar->cMenuBar_AltKeyAccelerator('E');
                  keptLook = ownerDrawn(file, 0) && ownerDrawn(file, 1) && bar->RecordCount() == 2;
              })
        .Key(VK_ESCAPE);
    script.Start();
    EXPECT_TRUE(bar->cMenuBar_AltKeyAccelerator('F'));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_FALSE(second);
    EXPECT_TRUE(keptLook);
    ASSERT_EQ(host.opened.size(), 1u) << "no second popup";
    EXPECT_FALSE(ownerDrawn(file, 0)) << "given back when the loop ends";
}

TEST_F(MenuLoop, TwoBarItemsWithOneMnemonicOpenInTurn) {
    HMENU twin = CreateMenu();
    HMENU a1 = mbtest::MakePopup({"One"}, 1);
    HMENU a2 = mbtest::MakePopup({"Two"}, 2);
    AppendMenuA(twin, MF_POPUP, reinterpret_cast<UINT_PTR>(a1), "&Alpha");
    AppendMenuA(twin, MF_POPUP, reinterpret_cast<UINT_PTR>(a2), "&Another");
    Use(twin);
    MenuScript script(host.hwnd());
    script.Key(VK_ESCAPE, [&] { return IsOpen(a1); }).Key(VK_ESCAPE, [&] { return IsOpen(a2); });
    script.Start();
    EXPECT_TRUE(bar->cMenuBar_AltKeyAccelerator('A'));
    EXPECT_FALSE(script.TimedOut());
    ASSERT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(host.opened[0], a1);
    EXPECT_EQ(host.opened[1], a2);
    bar->put_hMenu(nullptr);
    DestroyMenu(twin);
}

TEST_F(MenuLoop, ArrowKeysSwitchBetweenBarItemsWithWrapAround) {
    // Keys only: a cursor left over a bar item would switch popups by itself.
    RECT wr{};
    GetWindowRect(host.hwnd(), &wr);
    SetCursorPos(wr.right + 150, wr.bottom + 150);
    MenuScript script(host.hwnd());
    script.Key(VK_DOWN, [&] { return IsOpen(file); })
        .Key(VK_LEFT, [&] { return LastSelect(1, 0, file); }) // top popup of item 1: Left wraps to the last
        .Key(VK_DOWN, [&] { return IsOpen(view); })
        .Key(VK_DOWN, [&] { return LastSelect(21, 0, view); })
        // "&Two" is a plain command whose ID happens to be the submenu's position.
        .Key(VK_RIGHT, [&] { return LastSelect(2, 0, view); })
        .Key(VK_ESCAPE, [&] { return IsOpen(file) && host.opened.size() == 3; });
    script.Start();
    const Ref<glim::cToolbarMenu> tracker(bar->Tracker());
    tracker->cToolbarMenu_TrackMenu(1);
    EXPECT_FALSE(script.TimedOut());
    ASSERT_EQ(host.opened.size(), 3u);
    EXPECT_EQ(host.opened[0], file);
    EXPECT_EQ(host.opened[1], view);
    EXPECT_EQ(host.opened[2], file);
    EXPECT_EQ(tracker->TrackState(), 0);
    EXPECT_FALSE(tracker->Tracking());
    EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), -1);
    EXPECT_EQ(bar->HoverItem(), -1);
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(MenuLoop, SubmenusOpenAndCloseWithoutSwitching) {
    MenuScript script(host.hwnd());
    script
        .Key(VK_UP, [&] { return IsOpen(view); }) // the last item: "&More"
        .Key(VK_RIGHT, [&] { return LastSelect(2, MF_POPUP, view); })
        .Key(VK_LEFT, [&] { return IsOpen(more) && LastSelect(31, 0, more); })
        .Key(VK_ESCAPE, [&] { return mbtest::OpenPopupCount() == 1; });
    script.Start();
    bar->Tracker()->cToolbarMenu_TrackMenu(3);
    EXPECT_FALSE(script.TimedOut()) << "steps passed: " << script.Passed() << "\n" << Trace();
    ASSERT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(host.opened[0], view);
    EXPECT_EQ(host.opened[1], more);
}

TEST_F(MenuLoop, ASingleBarItemSwallowsLeftAndRight) {
    HMENU solo = CreateMenu();
    HMENU only = mbtest::MakePopup({"One", "Two"}, 1);
    AppendMenuA(solo, MF_POPUP, reinterpret_cast<UINT_PTR>(only), "&Solo");
    Use(solo);
    int ticks = 0;
    MenuScript script(host.hwnd());
    script.Key(VK_DOWN, [&] { return IsOpen(only); })
        .Key(VK_LEFT, [&] { return LastSelect(1, 0, only); })
        .Key(VK_RIGHT)
        .Then([&] { return ++ticks > 8; },
              [&] {
                  EXPECT_TRUE(IsOpen(only));
                  EXPECT_EQ(bar->Tracker()->TrackState(), 2);
                  EXPECT_TRUE(LastSelect(1, 0, only)) << "the keys did not move the selection";
              })
        .Key(VK_ESCAPE);
    script.Start();
    bar->Tracker()->cToolbarMenu_TrackMenu(1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(host.opened.size(), 1u);
    bar->put_hMenu(nullptr);
    DestroyMenu(solo);
}

TEST_F(MenuLoop, MouseOverAnotherBarItemSwitchesAndAPressOnTheOpenItemIsSwallowed) {
    int ticks = 0;
    RECT wr{};
    GetWindowRect(host.hwnd(), &wr);
    MenuScript script(host.hwnd());
    script.Then([&] { return IsOpen(file); }, [&] { MoveTo(mbtest::BarItemCenter(*bar, 2)); })
        .Then([&] { return IsOpen(edit); },
              [&] {
                  MoveTo(mbtest::BarItemCenter(*bar, 2)); // the open item itself
                  MoveTo(POINT{wr.right - 5, wr.bottom - 5});
              })
        .Then([&] { return ++ticks > 8; },
              [&] {
                  EXPECT_EQ(host.opened.size(), 2u);
                  MoveTo(mbtest::BarItemCenter(*bar, 2), WM_LBUTTONDOWN);
                  ticks = 0;
              })
        .Then([&] { return ++ticks > 8; },
              [&] {
                  EXPECT_TRUE(IsOpen(edit)) << "the press on the open item keeps the popup";
                  EXPECT_EQ(bar->Tracker()->CurrentItem(), 2);
              })
        .Key(VK_ESCAPE);
    script.Start();
    bar->Tracker()->cToolbarMenu_TrackMenu(1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(host.opened[0], file);
    EXPECT_EQ(host.opened[1], edit);
}

TEST_F(MenuLoop, ASecondTrackMenuDuringALoopReturnsAtOnce) {
    MenuScript script(host.hwnd());
    script
        .Then([&] { return IsOpen(file); },
              [&] {
                  EXPECT_EQ(bar->Tracker()->cToolbarMenu_TrackMenu(2), 0);
                  EXPECT_EQ(host.opened.size(), 1u);
              })
        .Key(VK_ESCAPE);
    script.Start();
    EXPECT_NE(bar->Tracker()->cToolbarMenu_TrackMenu(1), 0);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(MenuLoop, AClickOnTheBarOpensThePopupAndTheChosenCommandReachesTheHost) {
    const POINT c = mbtest::BarItemCenter(*bar, 2);
    SetCursorPos(c.x, c.y);
    COLORREF corner = CLR_INVALID;
    MenuScript script(host.hwnd());
    script.Then([&] { return IsOpen(edit); }, [&] { EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), 2); })
        .Then([&] { return true; },
              [&] {
                  // One tick later the popup has painted; read its own surface.
                  RECT ir{};
                  const HWND popupWindow = mbtest::OpenPopupWindow();
                  if (popupWindow && GetMenuItemRect(nullptr, edit, 0, &ir)) {
                      POINT at{ir.left + 1, ir.top + 1};
                      ScreenToClient(popupWindow, &at);
                      HDC dc = GetDC(popupWindow);
                      corner = GetPixel(dc, at.x, at.y);
                      ReleaseDC(popupWindow, dc);
                  }
              })
        .Key(VK_DOWN)
        .Key(VK_RETURN, [&] { return LastSelect(11, 0, edit); });
    script.Start();
    host.ClearLog();
    mbtest::MouseAt(host.hwnd(), WM_LBUTTONDOWN, c);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(script.Done());
    EXPECT_GE(host.Count(WM_LBUTTONDOWN), 1) << "the host still gets its button press";
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], edit);
    EXPECT_EQ(corner, RGB(30, 120, 60)) << "the popup item is painted from the style pattern";
    EXPECT_TRUE(glimtest::PumpUntil([&] { return !host.commands.empty(); }, 2000));
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0], 11u);
    EXPECT_EQ(bar->RecordCount(), 0);
    EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), -1);

    // After the loop the hover timer runs until a click puts the selection back to 0.
    RECT wr{};
    GetWindowRect(host.hwnd(), &wr);
    const POINT outside{wr.right + 30, wr.bottom + 30};
    mbtest::MouseAt(host.hwnd(), WM_MOUSEMOVE, outside);
    EXPECT_EQ(bar->HoverItem(), 0);
    ASSERT_NE(bar->HoverTimer(), nullptr);
    EXPECT_EQ(bar->HoverTimer()->Interval(), 50);
    mbtest::MouseAt(host.hwnd(), WM_LBUTTONDOWN, outside);
    EXPECT_EQ(bar->cMenuBar_GetSelectedItem(), 0);
    mbtest::MouseAt(host.hwnd(), WM_MOUSEMOVE, outside);
    EXPECT_EQ(bar->HoverTimer()->Interval(), 0);
}

} // namespace
