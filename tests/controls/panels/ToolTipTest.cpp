// The balloon tip as hosts use it: made by its ProgID on a host form, its
// ShowTip called through IDispatch with the real pointer over a window, and
// the balloon and its shadow found among the thread's windows and read back:
// timing, placement of the tail's tip, flips at the screen's edges, region,
// layering, and removal when the pointer leaves.
#include "Extender.h"
#include "GlimFormControl.h"
#include "ModuleLocks.h"
#include "PanelsHarness.h"
#include "MemoryPropertyBag.h"
#include "frmToolTip.h"

#include <cmath>
#include <vector>

using namespace paneltest;

namespace {

namespace id = dispid::GlimToolTip;

struct TipWindows {
    HWND balloon = nullptr;
    HWND shadow = nullptr;
};

BOOL CALLBACK CollectTip(HWND hwnd, LPARAM lp) {
    auto* found = reinterpret_cast<TipWindows*>(lp);
    if (!IsWindowVisible(hwnd) || !(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) return TRUE;
    char text[16] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    // The shadow keeps its design caption; the balloon has none.
    if (std::string(text) == "Form9")
        found->shadow = hwnd;
    else if (!text[0])
        found->balloon = hwnd;
    return TRUE;
}

// The thread's visible balloon and shadow, when there are.
TipWindows FindTip() {
    TipWindows found;
    EnumThreadWindows(GetCurrentThreadId(), &CollectTip, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool TipShown() {
    const TipWindows t = FindTip();
    return t.balloon && t.shadow;
}

// The window's region in screen coordinates.
glim::OwnedRegion ScreenRegion(HWND hwnd) {
    glim::OwnedRegion r(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(hwnd, r.get()) == ERROR) return glim::OwnedRegion();
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    OffsetRgn(r.get(), wr.left, wr.top);
    return r;
}

// The lowest (or highest) row of a region and the middle of its points there:
// where the tail's tip shows.  A polygon region leaves out the last rows of a
// sharp vertex, so the tip shows up to 3 pixels short of its vertex.
POINT TailTip(HRGN rgn, bool pointsUp) {
    RECT box{};
    GetRgnBox(rgn, &box);
    const int y = pointsUp ? box.top : box.bottom - 1;
    int first = -1, last = -1;
    for (int x = box.left; x < box.right; ++x) {
        if (!PtInRegion(rgn, x, y)) continue;
        if (first < 0) first = x;
        last = x;
    }
    return POINT{(first + last) / 2, y};
}

// A tail tip shown at row got for a vertex at row vertex.
bool TipNear(int vertex, int got, bool pointsUp) {
    const int shortBy = pointsUp ? got - vertex : vertex - got;
    return shortBy >= 0 && shortBy <= 3;
}

class ToolTipTest : public PanelsTest {
  protected:
    void SetUp() override {
        PanelsTest::SetUp();
        target = Add("TextBox", "Target", 600, 1500, 3000, 1200);
        tip = Add("GlimFormControl.GlimToolTip", "GlimToolTip1", 4200, 300, 555, 495);
        ASSERT_TRUE(target && tip);
        // Clear of the screen's edges, so the balloon does not flip.
        PlaceTargetAt(POINT{GetSystemMetrics(SM_CXSCREEN) / 2, 300});
        ASSERT_TRUE(BringToFront(form->hWnd()));
        ShortenTipDelay(true);
    }
    void TearDown() override {
        // Off every window, so the balloon goes and other tests start clean.
        SetCursorPos(0, 0);
        glimtest::PumpUntil([] { return !TipShown(); }, 2000);
        PanelsTest::TearDown();
    }

    IDispatch* Tip() const { return tip->ControlDispatch().get(); }
    // The pointer over the target's client point.
    POINT PointAt(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(target->Window(), &p);
        SetCursorPos(p.x, p.y);
        return p;
    }
    void ShowTip() { glim::CallMethod(Tip(), "ShowTip"); }
    // Moves the form so that the target's middle lies at a screen point.
    void PlaceTargetAt(POINT screen) {
        RECT tr{}, fr{};
        GetWindowRect(target->Window(), &tr);
        GetWindowRect(form->hWnd(), &fr);
        const int dx = screen.x - (tr.left + tr.right) / 2, dy = screen.y - (tr.top + tr.bottom) / 2;
        SetWindowPos(form->hWnd(), nullptr, fr.left + dx, fr.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        glimtest::PumpPending();
    }

    host::ControlSite* target = nullptr;
    host::ControlSite* tip = nullptr;
};

TEST_F(ToolTipTest, DefaultsAndAFixedSize) {
    EXPECT_EQ("This is the tip!", glim::GetProperty(Tip(), "TipText").ToText());
    EXPECT_EQ("Title", glim::GetProperty(Tip(), id::TitleText).ToText());
    EXPECT_EQ(2, Get(tip, "Icon"));
    EXPECT_EQ(0x009BFFFF, GetById(tip, id::BackColor));
    EXPECT_EQ(0, Get(tip, "Ctrl_hWnd"));
    // Every resize comes back to 555 x 495 twips.
    glim::PutProperty(static_cast<IDispatch*>(tip->GetExtender()), "Width", Variant::Long(3000));
    EXPECT_EQ(555, glim::GetProperty(static_cast<IDispatch*>(tip->GetExtender()), "Width").ToLong());
    EXPECT_EQ(495, glim::GetProperty(static_cast<IDispatch*>(tip->GetExtender()), "Height").ToLong());
}

TEST_F(ToolTipTest, PersistsInItsOrderWithoutTheBoundWindow) {
    const struct {
        const char* name;
        Variant value;
    } puts[] = {
        {"TipColor", Variant::Long(0x0000FF)},   {"TitleColor", Variant::Long(0x00FF00)},
        {"Ctrl_hWnd", Variant::Long(1234)},      {"Icon", Variant::Long(3)},
        {"TitleText", Variant::String("Hint")},  {"TipText", Variant::String("Some text")},
        {"FrameColor", Variant::Long(0x123456)}, {"BackColor", Variant::Long(0x80000018)},
    };
    for (const auto& p : puts)
        EXPECT_EQ(0, PutError(tip, p.name, p.value)) << p.name;
    const glim::ComPtr<glim::MemoryPropertyBag> bag = Saved(tip);
    const std::vector<std::string> order{"BackColor", "Font", "FrameColor", "TipText",
                                         "TitleText", "Icon", "TitleColor", "TipColor"};
    EXPECT_EQ(order, bag->Keys());

    // Read back, a stored bound window included.
    bag->Set("Ctrl_hWnd", Variant::Long(99));
    host::ControlSite* loaded = Add("GlimFormControl.GlimToolTip", "Loaded", 4200, 900, 555, 495, bag.get());
    EXPECT_EQ(99, Get(loaded, "Ctrl_hWnd"));
    EXPECT_EQ(3, Get(loaded, "Icon"));
    EXPECT_EQ(static_cast<long>(0x80000018), Get(loaded, "BackColor"));
    EXPECT_EQ("Some text", glim::GetProperty(loaded->ControlDispatch().get(), "TipText").ToText());
}

TEST_F(ToolTipTest, BalloonAppearsAfterTheDelayAtThePointer) {
    ShortenTipDelay(false);
    const HWND foreground = GetForegroundWindow();
    const POINT p = PointAt(60, 40);
    const DWORD start = GetTickCount();
    ShowTip();
    EXPECT_EQ(HandleToLong(target->Window()), Get(tip, "Ctrl_hWnd"));
    glimtest::PumpFor(150);
    EXPECT_FALSE(FindTip().balloon) << "shown before the delay";
    ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000));
    EXPECT_GE(GetTickCount() - start, 290u);

    const TipWindows t = FindTip();
    const LONG ex = GetWindowLongA(t.balloon, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "the balloon shows in the taskbar";
    EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
    EXPECT_EQ(foreground, GetForegroundWindow());

    // The tail hangs below the body, its tip 5 pixels above the pointer.
    glim::OwnedRegion rgn = ScreenRegion(t.balloon);
    ASSERT_TRUE(rgn);
    const POINT tipAt = TailTip(rgn.get(), false);
    EXPECT_NEAR(p.x, tipAt.x, 1);
    EXPECT_TRUE(TipNear(p.y - 5, tipAt.y, false)) << tipAt.y;
    // The outline spans the window it shapes.
    RECT box{}, window{};
    GetRgnBox(rgn.get(), &box);
    GetWindowRect(t.balloon, &window);
    EXPECT_NEAR(box.left, window.left, 1);
    EXPECT_NEAR(box.right, window.right, 1);

    // The shadow: the same outline 2 pixels right and down, under the
    // balloon, translucent.
    RECT br{}, sr{};
    GetWindowRect(t.balloon, &br);
    GetWindowRect(t.shadow, &sr);
    EXPECT_EQ(br.left + 2, sr.left);
    EXPECT_EQ(br.top + 2, sr.top);
    EXPECT_EQ(br.right - br.left, sr.right - sr.left);
    EXPECT_EQ(br.bottom - br.top, sr.bottom - sr.top);
    glim::OwnedRegion shadowRgn = ScreenRegion(t.shadow);
    ASSERT_TRUE(shadowRgn);
    OffsetRgn(shadowRgn.get(), -2, -2);
    EXPECT_TRUE(EqualRgn(rgn.get(), shadowRgn.get()));
    const LONG sex = GetWindowLongA(t.shadow, GWL_EXSTYLE);
    EXPECT_TRUE(sex & WS_EX_LAYERED);
    EXPECT_TRUE(sex & WS_EX_NOACTIVATE);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(t.shadow, nullptr, &alpha, &flags));
    EXPECT_EQ(100, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);
    bool shadowBelow = false;
    for (HWND w = GetWindow(t.balloon, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == t.shadow) shadowBelow = true;
    EXPECT_TRUE(shadowBelow);

    // Leaving the window takes both away.
    PointAt(-40, -40);
    EXPECT_TRUE(glimtest::PumpUntil(
        [] {
            const TipWindows w = FindTip();
            return !w.balloon && !w.shadow;
        },
        2000));
}

TEST_F(ToolTipTest, FlipsAtTheRightAndTopEdgesOfTheScreen) {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const struct {
        const char* what;
        POINT at; // where the pointer goes, in screen pixels
        bool right, up;
    } cases[] = {
        {"middle", {sw / 2, 300}, false, false},
        {"right edge", {sw - 30, 300}, true, false},
        {"top edge", {sw / 2, 12}, false, true},
        {"top right corner", {sw - 30, 12}, true, true},
    };
    for (const auto& c : cases) {
        PlaceTargetAt(c.at);
        SetCursorPos(c.at.x, c.at.y);
        ASSERT_EQ(target->Window(), WindowFromPoint(c.at)) << c.what;
        glim::PutProperty(Tip(), "Ctrl_hWnd", Variant::Long(0));
        ShowTip();
        ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000)) << c.what;
        const TipWindows t = FindTip();
        glim::OwnedRegion rgn = ScreenRegion(t.balloon);
        const POINT tipAt = TailTip(rgn.get(), c.up);
        EXPECT_NEAR(c.at.x, tipAt.x, 1) << c.what;
        EXPECT_TRUE(TipNear(c.up ? c.at.y + 5 : c.at.y - 5, tipAt.y, c.up)) << c.what << ": " << tipAt.y;
        RECT br{};
        GetWindowRect(t.balloon, &br);
        // Opening to the left puts the tip 20 pixels from the body's right edge.
        if (c.right)
            EXPECT_NEAR(br.right - 21, tipAt.x, 2) << c.what;
        else
            EXPECT_NEAR(br.left + 20, tipAt.x, 1) << c.what;
        glim::OwnedRegion shadowRgn = ScreenRegion(t.shadow);
        OffsetRgn(shadowRgn.get(), -2, -2);
        EXPECT_TRUE(EqualRgn(rgn.get(), shadowRgn.get())) << c.what;
        SetCursorPos(0, 0);
        ASSERT_TRUE(glimtest::PumpUntil([] { return !FindTip().balloon; }, 2000)) << c.what;
    }
}

TEST_F(ToolTipTest, LeavingBeforeTheDelayShowsNothing) {
    PointAt(60, 40);
    ShowTip();
    PointAt(-40, -40);
    glimtest::PumpFor(10 * kTipDelayMs);
    EXPECT_FALSE(FindTip().balloon);
    EXPECT_FALSE(FindTip().shadow);
}

TEST_F(ToolTipTest, OnlyTheBoundWindowShowsTheTip) {
    PointAt(60, 40);
    ShowTip();
    ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000));
    PointAt(-40, -40);
    ASSERT_TRUE(glimtest::PumpUntil([] { return !FindTip().balloon; }, 2000));
    // Over the form itself the bound tip does nothing.
    RECT fr{};
    GetWindowRect(form->hWnd(), &fr);
    SetCursorPos(fr.left + 30, fr.bottom - 30);
    ShowTip();
    glimtest::PumpFor(10 * kTipDelayMs);
    EXPECT_FALSE(FindTip().balloon);
    EXPECT_EQ(HandleToLong(target->Window()), Get(tip, "Ctrl_hWnd"));
}

TEST_F(ToolTipTest, NewTextsReplaceTheBalloon) {
    PointAt(60, 40);
    ShowTip();
    ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000));
    RECT before{};
    GetWindowRect(FindTip().balloon, &before);
    // The put alone leaves the balloon; the next ShowTip hands the text over
    // and the balloon goes at its next tick.
    glim::PutProperty(Tip(), "TipText", Variant::String("A much longer text than the one before it"));
    glimtest::PumpFor(100);
    EXPECT_TRUE(FindTip().balloon);
    ShowTip();
    ASSERT_TRUE(glimtest::PumpUntil([] { return !FindTip().balloon; }, 2000));
    ShowTip();
    ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000));
    RECT after{};
    GetWindowRect(FindTip().balloon, &after);
    EXPECT_GT(after.right - after.left, before.right - before.left);
}

TEST_F(ToolTipTest, AnIconOutsideTheFourIsRefusedAndShowsNothing) {
    for (long icon : {5L, -1L, 70000L}) {
        ASSERT_EQ(0, PutError(tip, "Icon", Variant::Long(icon)));
        PointAt(60, 40);
        EXPECT_EQ(380, glimtest::ErrorNumberOf([&] { ShowTip(); })) << icon;
        EXPECT_EQ(0, Get(tip, "Ctrl_hWnd")) << "bound although refused";
        glimtest::PumpFor(10 * kTipDelayMs);
        EXPECT_FALSE(FindTip().balloon) << icon;
    }
    // A good icon afterwards works.
    ASSERT_EQ(0, PutError(tip, "Icon", Variant::Long(0)));
    ShowTip();
    EXPECT_TRUE(glimtest::PumpUntil(TipShown, 3000));
}

TEST_F(ToolTipTest, GradientStartsFromTheTranslatedBackColour) {
    const struct {
        const char* what;
        long back;
        COLORREF base;
    } cases[] = {
        {"default", 0x009BFFFF, 0x009BFFFF},
        {"system colour", static_cast<long>(0x80000010), GetSysColor(COLOR_BTNSHADOW)},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, PutError(tip, "BackColor", Variant::Long(c.back)));
        PointAt(60, 40);
        ShowTip();
        ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000)) << c.what;
        const HWND b = FindTip().balloon;
        RECT br{};
        GetWindowRect(b, &br);
        // The body is the window less 30 rows of tail room; the offset grows
        // by one step a row from the second row on: row n is n + 1 steps up.
        const int body = (br.bottom - br.top) - 30;
        const int step = static_cast<int>(std::nearbyint(155.0 / (body / 2.0)));
        const int mid = (br.right - br.left) / 2;
        ASSERT_TRUE(glimtest::PumpUntil([&] { return ScreenPixel(b, mid, 0) == RGB(0, 0, 0); }, 2000))
            << c.what << ": no black outline";
        for (int y : {2, 5}) {
            const COLORREF got = ScreenPixel(b, mid, y);
            for (int shift : {0, 8, 16}) {
                const int base = static_cast<int>((c.base >> shift) & 0xFF);
                EXPECT_EQ(std::min(255, base + (y + 1) * step), static_cast<int>((got >> shift) & 0xFF))
                    << c.what << " row " << y << " channel " << shift / 8;
            }
        }
        SetCursorPos(0, 0);
        ASSERT_TRUE(glimtest::PumpUntil([] { return !FindTip().balloon; }, 2000));
        glim::PutProperty(Tip(), "Ctrl_hWnd", Variant::Long(0));
    }
}

TEST_F(ToolTipTest, AHostWithoutAFontStillShowsTheTip) {
    // Nothing as the font, as a host with no ambient font would leave it.
    IDispatch* d = Tip();
    DISPID put = DISPID_PROPERTYPUT;
    VARIANT none;
    VariantInit(&none);
    V_VT(&none) = VT_DISPATCH;
    V_DISPATCH(&none) = nullptr;
    DISPPARAMS dp{&none, &put, 1, 1};
    ASSERT_EQ(S_OK,
              d->Invoke(DISPID_FONT, IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &dp, nullptr, nullptr, nullptr));
    PointAt(60, 40);
    ShowTip();
    EXPECT_TRUE(glimtest::PumpUntil(TipShown, 3000));
}

} // namespace

namespace {

TEST_F(ToolTipTest, TheLibraryStaysWhileABalloonIsLoaded) {
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    const auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("GlimForm.dll"), "DllCanUnloadNow")));
    ASSERT_TRUE(canUnload);
    PointAt(60, 40);
    ShowTip();
    form->RemoveControl("GlimToolTip1");
    tip = nullptr;
    ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000));
    EXPECT_EQ(S_FALSE, canUnload());
    SetCursorPos(0, 0);
    ASSERT_TRUE(glimtest::PumpUntil([] { return !FindTip().balloon; }, 2000));
    EXPECT_EQ(S_OK, canUnload());
}

// This program's own copy of the balloon, handed a colour no put would take:
// its load fails, leaves no balloon and no module lock, and the next shows.
TEST_F(ToolTipTest, ABalloonShowsAfterOneThatFailedToLoad) {
    glim::TipShared& t = glim::TipState();
    t = glim::TipShared{};
    t.gTipHwnd = target->Window();
    t.gTipFontName = L"Tahoma";
    t.gTipFontSize.int64 = 90000;
    t.gTipBackColor = 0x12345678;
    const long locks = glim::ModuleLockCount();
    EXPECT_EQ(380, glimtest::ErrorNumberOf([] { glim::frmToolTip::Instance().Load(); }));
    EXPECT_FALSE(glim::frmToolTip::Instance().Loaded());
    EXPECT_EQ(locks, glim::ModuleLockCount());
    t.gTipBackColor = 0x009BFFFF;
    PointAt(60, 40);
    glim::frmToolTip::Instance().Load();
    ASSERT_TRUE(glimtest::PumpUntil(TipShown, 3000));
    SetCursorPos(0, 0);
    ASSERT_TRUE(glimtest::PumpUntil([] { return !FindTip().balloon; }, 2000));
    EXPECT_EQ(locks, glim::ModuleLockCount());
}

} // namespace
