#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "MSubclass.h"
#include "PainterHarness.h"
#include "cNCCalcSize.h"
#include "mDeclares.h"
#include "pump.h"

using namespace paintertest;
using glim::cNCCalcSize;
using glim::MakeRef;
using glim::Ref;
using glimtest::PumpPending;

namespace {

// An implementation that answers fixed margins and records what it is told.
class FakeModifier : public glim::INCAreaModifier {
  public:
    explicit FakeModifier(HWND hWnd) : window(hWnd) {}
    HWND hWnd() override { return window; }
    long GetTopMarginHeight() override { return top; }
    long GetLeftMarginWidth() override { return left; }
    long GetRightMarginWidth() override { return right; }
    long GetBottomMarginHeight() override { return bottom; }
    void NCPaint(HDC hDC, long l, long t, long r, long b) override {
        ++paints;
        paintDC = hDC;
        paintRect = RECT{l, t, r, b};
    }
    void HitTest(long X, long Y, long& code) override {
        hitPoint = POINT{X, Y};
        if (override >= 0 && X == overrideAt.x && Y == overrideAt.y) code = override;
    }
    void NCMouseDown(long X, long Y, bool& handled, HDC, long, long, long, long) override {
        ++downs;
        downPoint = POINT{X, Y};
        handled = handleDown;
    }
    void NCMouseUp(long X, long Y, HDC, long, long, long, long) override {
        ++ups;
        upPoint = POINT{X, Y};
    }
    void InitMenuPopup(WPARAM w, LPARAM l) override {
        ++popups;
        popupW = w;
        popupL = l;
    }
    void ExitMenuLoop() override { ++exits; }
    bool AltKeyAccelerator(long vKey) override {
        lastKey = vKey;
        return true;
    }

    HWND window;
    long left = 7, top = 33, right = 9, bottom = 5;
    long paints = 0, downs = 0, ups = 0, popups = 0, exits = 0, lastKey = 0;
    HDC paintDC = nullptr;
    RECT paintRect{};
    POINT hitPoint{}, downPoint{}, upPoint{}, overrideAt{-100, -100};
    long override = -1;
    bool handleDown = false;
    WPARAM popupW = 0;
    LPARAM popupL = 0;
};

struct Attached {
    explicit Attached(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int w = 300, int h = 200)
        : window(style, w, h), fake(MakeRef<FakeModifier>(window.hwnd())), takeover(MakeRef<cNCCalcSize>()) {
        Records().clear();
        takeover->Attach(fake.get());
        takeover->Display(nullptr);
        PumpPending();
    }
    ~Attached() { takeover->Detach(); }
    FrameWindow window;
    Ref<FakeModifier> fake;
    Ref<cNCCalcSize> takeover;
};

} // namespace

TEST(NCCalcSize, AttachSubscribesTheFrameMessagesAndDetachRestoresTheWindow) {
    FrameWindow window(WS_OVERLAPPEDWINDOW);
    const auto propsBefore = PropertyNames(window);
    const long clientsBefore = glim::mDeclares_KeyboardClientCount();
    auto fake = MakeRef<FakeModifier>(window.hwnd());
    auto takeover = MakeRef<cNCCalcSize>();

    takeover->Attach(fake.get());
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&glim::MSubclass_WindowProc));
    EXPECT_EQ(GetPropA(window, glim::kNCImplementationProp), static_cast<HANDLE>(fake.get()));
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clientsBefore + 1);
    for (UINT msg :
         {WM_NCCALCSIZE, WM_NCPAINT, WM_NCACTIVATE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK,
          WM_NCHITTEST, WM_SETCURSOR, WM_INITMENU, WM_INITMENUPOPUP, WM_STYLECHANGED, WM_SETTEXT,
          WM_ACTIVATEAPP, WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_DESTROY})
        EXPECT_EQ(glim::ClientCount(window, msg), 1) << "message " << msg;
    EXPECT_EQ(glim::ClientCount(window, WM_SIZE), 0) << "only an MDI child takes WM_SIZE";

    // A second Attach starts with a Detach: nothing is subscribed twice.
    takeover->Attach(fake.get());
    EXPECT_EQ(glim::ClientCount(window, WM_NCPAINT), 1);

    takeover->Detach();
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    for (const std::string& name : PropertyNames(window)) {
        if (std::find(propsBefore.begin(), propsBefore.end(), name) == propsBefore.end()) {
            EXPECT_EQ(GetPropA(window, name.c_str()), nullptr) << name << " is left holding a value";
        }
    }
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clientsBefore);
    EXPECT_EQ(takeover->Window(), nullptr);
}

TEST(NCCalcSize, ClientAreaFollowsTheImplementationMargins) {
    Attached a;
    POINT origin{};
    ASSERT_TRUE(ClientOrigin(a.window, origin));
    EXPECT_EQ(origin.x, 7);
    EXPECT_EQ(origin.y, 33);
    RECT wr{}, cr{};
    GetWindowRect(a.window, &wr);
    GetClientRect(a.window, &cr);
    EXPECT_EQ(cr.right, wr.right - wr.left - 16);
    EXPECT_EQ(cr.bottom, wr.bottom - wr.top - 38);

    // New margins take effect when the frame is recomputed.
    a.fake->top = 21;
    a.fake->left = 3;
    a.takeover->Display(nullptr);
    ASSERT_TRUE(ClientOrigin(a.window, origin));
    EXPECT_EQ(origin.x, 3);
    EXPECT_EQ(origin.y, 21);

    // A request without wParam is the previous procedure's.
    RECT asked{100, 100, 400, 300}, direct = asked;
    SendMessageA(a.window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&asked));
    DefWindowProcA(a.window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&direct));
    EXPECT_TRUE(EqualRect(&asked, &direct));
}

TEST(NCCalcSize, PaintsThroughTheImplementationOnlyWhenVisible) {
    Attached a;
    const long before = a.fake->paints;
    SendMessageA(a.window, WM_NCPAINT, 1, 0);
    EXPECT_EQ(a.fake->paints, before + 1);
    EXPECT_NE(a.fake->paintDC, nullptr);
    RECT wr{};
    GetWindowRect(a.window, &wr);
    EXPECT_EQ(a.fake->paintRect.left, 0);
    EXPECT_EQ(a.fake->paintRect.top, 0);
    EXPECT_EQ(a.fake->paintRect.right, wr.right - wr.left);
    EXPECT_EQ(a.fake->paintRect.bottom, wr.bottom - wr.top);

    // Activation and text changes repaint after the previous procedure.
    SendMessageA(a.window, WM_NCACTIVATE, 0, 0);
    EXPECT_FALSE(a.takeover->WindowActive());
    EXPECT_EQ(a.fake->paints, before + 2);
    SendMessageA(a.window, WM_NCACTIVATE, 1, 0);
    EXPECT_TRUE(a.takeover->WindowActive());
    SetWindowTextA(a.window, "changed");
    EXPECT_EQ(a.fake->paints, before + 4);

    ShowWindow(a.window, SW_HIDE);
    const long hidden = a.fake->paints;
    SendMessageA(a.window, WM_NCPAINT, 1, 0);
    EXPECT_EQ(a.fake->paints, hidden);
}

TEST(NCCalcSize, HitCodesCoverBordersCaptionAndMenuBand) {
    Attached a(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    a.fake->left = a.fake->right = a.fake->bottom = 8;
    a.fake->top = 60;
    a.takeover->Display(nullptr);
    const long w = 320, h = 240, cap = GetSystemMetrics(SM_CYCAPTION);
    ASSERT_LT(cap + 8, 59) << "the menu band needs room below the caption";

    EXPECT_EQ(HitTestAt(a.window, 3, 3), HTTOPLEFT);
    EXPECT_EQ(HitTestAt(a.window, w - 3, 3), HTTOPRIGHT);
    EXPECT_EQ(HitTestAt(a.window, 3, h - 3), HTBOTTOMLEFT);
    EXPECT_EQ(HitTestAt(a.window, w - 3, h - 3), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTestAt(a.window, 3, 100), HTLEFT);
    EXPECT_EQ(HitTestAt(a.window, w - 3, 100), HTRIGHT);
    EXPECT_EQ(HitTestAt(a.window, 150, 3), HTTOP);
    EXPECT_EQ(HitTestAt(a.window, 150, h - 3), HTBOTTOM);
    EXPECT_EQ(HitTestAt(a.window, 150, 8 + cap / 2 + 2), HTCAPTION);
    EXPECT_EQ(a.takeover->LastHitCode(), HTCAPTION);
    EXPECT_EQ(HitTestAt(a.window, cap - 2, 8 + cap / 2 + 2), HTSYSMENU);
    EXPECT_EQ(HitTestAt(a.window, 150, cap + 8 + 5), HTCLIENT) << "menu band below the caption";
    EXPECT_EQ(HitTestAt(a.window, 150, 120), HTCLIENT);
    EXPECT_EQ(a.fake->hitPoint.x, 150);
    EXPECT_EQ(a.fake->hitPoint.y, 120);

    // The implementation's HTMENU is kept but reported as client area.
    a.fake->override = HTMENU;
    a.fake->overrideAt = POINT{200, 130};
    EXPECT_EQ(HitTestAt(a.window, 200, 130), HTCLIENT);
    EXPECT_EQ(a.takeover->LastHitCode(), HTMENU);
}

// A hit test answers for the point in the message, wherever the cursor is.
TEST(NCCalcSize, HitTestAnswersForThePointAskedAbout) {
    Attached a(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    a.fake->left = a.fake->right = a.fake->bottom = 8;
    a.fake->top = 60;
    a.takeover->Display(nullptr);
    const POINT away = ScreenOf(a.window, 150, 120);
    SetCursorPos(away.x, away.y);
    const struct {
        long x, y;
        LRESULT code;
    } asked[] = {
        {150, 8 + GetSystemMetrics(SM_CYCAPTION) / 2 + 2, HTCAPTION}, {3, 3, HTTOPLEFT}, {317, 100, HTRIGHT}};
    for (const auto& q : asked) {
        EXPECT_EQ(SendMessageA(a.window, WM_NCHITTEST, 0, ScreenLParam(a.window, q.x, q.y)), q.code)
            << q.x << "," << q.y;
        EXPECT_EQ(a.fake->hitPoint.x, q.x);
        EXPECT_EQ(a.fake->hitPoint.y, q.y);
    }
}

TEST(NCCalcSize, WindowWithoutSizingFrameReportsClientOnItsBorders) {
    Attached a(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 320, 240);
    a.fake->left = a.fake->right = a.fake->bottom = 8;
    a.fake->top = 60;
    a.takeover->Display(nullptr);
    for (const POINT p : {POINT{3, 3}, POINT{317, 3}, POINT{3, 237}, POINT{317, 237}, POINT{3, 100},
                          POINT{317, 100}, POINT{150, 3}, POINT{150, 237}})
        EXPECT_EQ(HitTestAt(a.window, p.x, p.y), HTCLIENT) << p.x << "," << p.y;
    EXPECT_EQ(HitTestAt(a.window, 150, 8 + GetSystemMetrics(SM_CYCAPTION) / 2 + 2), HTCAPTION);
}

TEST(NCCalcSize, PressesGoToTheImplementationThenToThePreviousProcedure) {
    Attached a(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    // A press on the left border the implementation does not want reaches the
    // previous procedure with the freshly computed code.
    HitTestAt(a.window, 3, 100);
    SendMessageA(a.window, WM_NCLBUTTONDOWN, HTNOWHERE, ScreenLParam(a.window, 3, 100));
    EXPECT_EQ(a.fake->downs, 1);
    ASSERT_EQ(CountRecords(WM_NCLBUTTONDOWN, HTLEFT), 1);

    // Handled: the previous procedure never sees it.  The press nudges the
    // cursor (one pixel, direction alternating) but is where its message says.
    a.fake->handleDown = true;
    Records().clear();
    HitTestAt(a.window, 100, 100);
    POINT before{};
    GetCursorPos(&before);
    SendMessageA(a.window, WM_NCLBUTTONDOWN, HTCLIENT, ScreenLParam(a.window, 100, 100));
    POINT after{};
    GetCursorPos(&after);
    EXPECT_EQ(Records().size(), 0u);
    EXPECT_EQ(std::abs(after.x - before.x), 1);
    EXPECT_EQ(after.x - before.x, after.y - before.y);
    EXPECT_EQ(a.fake->downPoint.x, 100);
    EXPECT_EQ(a.fake->downPoint.y, 100);
    const long firstStep = after.x - before.x;
    HitTestAt(a.window, 100, 100);
    GetCursorPos(&before);
    SendMessageA(a.window, WM_NCLBUTTONDOWN, HTCLIENT, ScreenLParam(a.window, 100, 100));
    GetCursorPos(&after);
    EXPECT_EQ(after.x - before.x, -firstStep);

    HitTestAt(a.window, 120, 110);
    SendMessageA(a.window, WM_NCLBUTTONUP, HTCLIENT, ScreenLParam(a.window, 120, 110));
    EXPECT_EQ(a.fake->ups, 1);
    EXPECT_EQ(a.fake->upPoint.x, 120);
    EXPECT_EQ(a.fake->upPoint.y, 110);
}

TEST(NCCalcSize, WithoutImplementationThePlatformHitTestAndCodeApply) {
    Attached a(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    RemovePropA(a.window, glim::kNCImplementationProp);
    a.takeover->Display(nullptr);
    POINT origin{};
    ASSERT_TRUE(ClientOrigin(a.window, origin));
    EXPECT_EQ(origin.x, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(origin.y, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));

    const POINT p = ScreenOf(a.window, 150, 120);
    SetCursorPos(p.x, p.y);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    EXPECT_EQ(SendMessageA(a.window, WM_NCHITTEST, 0, at), DefWindowProcA(a.window, WM_NCHITTEST, 0, at));

    // The press reaches the previous procedure with the platform's own code.
    SendMessageA(a.window, WM_NCLBUTTONDOWN, HTBOTTOM, at);
    EXPECT_EQ(CountRecords(WM_NCLBUTTONDOWN, HTBOTTOM), 1);

    // The plain frame: caption colour right of the title, border colour on the frame.
    SendMessageA(a.window, WM_NCACTIVATE, 0, 0);
    SendMessageA(a.window, WM_NCPAINT, 1, 0);
    const long cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
    const long kh = GetSystemMetrics(SM_CYCAPTION) - 1, kw = 320 - 2 * cx;
    const Snapshot shot(a.window);
    EXPECT_EQ(shot.At(cx + kw - 3 * kh, cy + 1), GetSysColor(COLOR_INACTIVECAPTION));
    if (cx >= 3) {
        EXPECT_EQ(shot.At(2, 120), GetSysColor(COLOR_INACTIVEBORDER));
    }
}

TEST(NCCalcSize, MenuNotificationsAndAcceleratorsReachTheImplementation) {
    Attached a;
    HMENU popup = CreatePopupMenu();
    SendMessageA(a.window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(2, 0));
    EXPECT_EQ(a.fake->popups, 1);
    EXPECT_EQ(a.fake->popupW, reinterpret_cast<WPARAM>(popup));
    EXPECT_EQ(a.fake->popupL, MAKELPARAM(2, 0));
    SendMessageA(a.window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, 1));
    EXPECT_EQ(a.fake->popups, 1) << "the window menu is not the bar's";
    SendMessageA(a.window, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(a.fake->exits, 1);
    DestroyMenu(popup);

    EXPECT_TRUE(a.takeover->cNCCalcSize_AltKeyAccelerator('F'));
    EXPECT_EQ(a.fake->lastKey, 'F');
    a.takeover->Detach();
    EXPECT_FALSE(a.takeover->cNCCalcSize_AltKeyAccelerator('G'));
    EXPECT_EQ(a.fake->lastKey, 'F');

    SendMessageA(a.window, WM_ACTIVATEAPP, 1, 0);
    EXPECT_FALSE(a.takeover->AppActive()) << "detached: nothing is tracked";
}

TEST(NCCalcSize, CursorHandlingTakesThePlatformMenuBarOff) {
    FrameWindow window;
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&File");
    SetMenu(window, menu);
    auto fake = MakeRef<FakeModifier>(window.hwnd());
    auto takeover = MakeRef<cNCCalcSize>();
    takeover->Attach(fake.get());
    EXPECT_EQ(takeover->hMenu(), menu);
    SendMessageA(window, WM_ACTIVATEAPP, 1, 0);
    EXPECT_TRUE(takeover->AppActive());

    const long paints = fake->paints;
    Records().clear();
    for (int i = 0; i < 2; ++i)
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(fake->paints, paints) << "no repaint for the style flips of the cursor handling";
    // The cursor is set at every mouse move and press: a click routed
    // meanwhile must still find the window, not the one beneath it.
    EXPECT_EQ(CountRecords(WM_SETCURSOR, TRUE), 2);
    EXPECT_EQ(takeover->hMenu(), menu);
    takeover->Detach();
    DestroyMenu(menu);
}

namespace {
LRESULT CALLBACK FrameProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefFrameProcA(hWnd, GetWindow(hWnd, GW_CHILD), msg, wParam, lParam);
}
} // namespace

TEST(NCCalcSize, MdiChildTakesSizeMessagesAndKeepsSystemMarginsWhenMaximized) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PainterTestFrame";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.lpszClassName = "PainterTestChild";
    RegisterClassA(&wc);

    HWND frame = CreateWindowExA(0, "PainterTestFrame", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                 600, 450, nullptr, nullptr, wc.hInstance, nullptr);
    CLIENTCREATESTRUCT ccs{};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 580,
                                  400, frame, nullptr, wc.hInstance, &ccs);
    ASSERT_NE(client, nullptr);
    MDICREATESTRUCTA mcs{};
    mcs.szClass = "PainterTestChild";
    mcs.szTitle = "child";
    mcs.hOwner = wc.hInstance;
    mcs.x = mcs.y = 10;
    mcs.cx = 300;
    mcs.cy = 200;
    mcs.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND child =
        reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(child, nullptr);

    {
        auto fake = MakeRef<FakeModifier>(child);
        auto takeover = MakeRef<cNCCalcSize>();
        takeover->Attach(fake.get());
        EXPECT_EQ(glim::ClientCount(child, WM_SIZE), 1);
        takeover->Display(nullptr);
        POINT origin{};
        ASSERT_TRUE(ClientOrigin(child, origin));
        EXPECT_EQ(origin.y, 33);

        const long paints = fake->paints;
        SendMessageA(child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(290, 180));
        EXPECT_EQ(fake->paints, paints + 1) << "a size change of an MDI child repaints its frame";

        SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
        PumpPending();
        ASSERT_TRUE(IsZoomed(child));
        takeover->Display(nullptr);
        ASSERT_TRUE(ClientOrigin(child, origin));
        EXPECT_EQ(origin.x, GetSystemMetrics(SM_CXFRAME));
        EXPECT_EQ(origin.y, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
        const long zoomedPaints = fake->paints;
        SendMessageA(child, WM_NCPAINT, 1, 0);
        EXPECT_EQ(fake->paints, zoomedPaints) << "the previous procedure paints a maximized MDI child";

        takeover->Detach();
        EXPECT_EQ(glim::ClientCount(child, WM_SIZE), 0);
    }
    DestroyWindow(frame);
}

TEST(NCCalcSize, DestroyingTheWindowDetaches) {
    const long clients = glim::mDeclares_KeyboardClientCount();
    auto takeover = MakeRef<cNCCalcSize>();
    {
        FrameWindow window(WS_OVERLAPPEDWINDOW);
        auto fake = MakeRef<FakeModifier>(window.hwnd());
        takeover->Attach(fake.get());
        EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clients + 1);
    }
    EXPECT_EQ(takeover->Window(), nullptr);
    EXPECT_EQ(glim::mDeclares_KeyboardClientCount(), clients);
}
