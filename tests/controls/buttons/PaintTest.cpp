// GlimButton as the screen shows it: skin cells of every sheet, the look's
// outline and edges at two sizes, and a screenshot sheet of every look in
// every state and of the first look on every skin.
#include "ButtonHarness.h"
#include "GlimFormControl.h"
#include "ImageFiles.h"
#include "MemoryPropertyBag.h"
#include "pump.h"
#include "screenshots.h"

#include <gtest/gtest.h>

#include <functional>

using namespace buttontest;
namespace host = glim::host;
using glim::Variant;
namespace id = dispid::GlimButton;
namespace ev = dispid::GlimButton_events;

namespace {

constexpr int kLooks = 15;
constexpr int kSkins = 24;

std::string Named(const char* prefix, int n) {
    std::string s(prefix);
    s += std::to_string(n);
    return s;
}

void ParkMouse() {
    MoveTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2});
}

// Waits until the screen shows the control's surface as painted now.
void Settle(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(PumpUntil([&] { return glimtest::ShownOnScreen(hwnd, true); }));
}

} // namespace

TEST(GlimButtonPaint, LookOnePaintsTheCellsOfEverySkin) {
    ParkMouse();
    ButtonForm f(640, 480);
    constexpr int W = 60, H = 21; // the middle rows come unstretched from the cell
    for (int s = 0; s < kSkins; ++s) {
        const std::string name = Named("S", s);
        f.Add(name, 10 + (s % 6) * (W + 10), 10 + (s / 6) * (H + 10), W, H);
        IDispatch* d = f.D(name);
        ASSERT_EQ(Put(d, id::Caption, Text(L"")), S_OK);
        ASSERT_EQ(Put(d, id::Style, I4(s)), S_OK);
    }
    struct Probe {
        int x, y;   // in the button
        int sx, sy; // in cell 0
    };
    const Probe probes[] = {{1, 1, 1, 1},           {W - 2, 1, 16, 1},     {1, H - 2, 1, 19},
                            {W - 2, H - 2, 16, 19}, {W / 2, 1, 9, 1},      {W / 2, 10, 9, 10},
                            {4, 10, 4, 10},         {W - 5, 10, 13, 10},   {W - 9, 1, 9, 1},
                            {W / 2, H - 1, 9, 20},  {W - 6, H - 2, 12, 19}};
    for (int s = 0; s < kSkins; ++s) {
        HWND w = f.Wnd(Named("S", s));
        Settle(w);
        for (const Probe& p : probes)
            EXPECT_EQ(ScreenPixel(w, p.x, p.y), SheetPixel(s, p.sx, p.sy))
                << "skin " << s << " at " << p.x << "," << p.y;
        // The window region cuts the four corners.
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
        EXPECT_FALSE(PtInRegion(rgn, 0, 0));
        EXPECT_FALSE(PtInRegion(rgn, W - 1, H - 1));
        EXPECT_TRUE(PtInRegion(rgn, 1, 0));
        DeleteObject(rgn);
    }
    // A Style with no sheet is refused and keeps the cells painted.
    IDispatch* d = f.D("S5");
    EXCEPINFO ei{};
    EXPECT_NE(Invoke(d, id::Style, DISPATCH_PROPERTYPUT, {I4(24)}, nullptr, &ei), S_OK);
    EXPECT_EQ(ei.scode, static_cast<HRESULT>(0x800A0000 + 326));
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    EXPECT_EQ(GetLong(d, id::Style), 24) << "the value is stored before the load fails";
    Settle(f.Wnd("S5"));
    EXPECT_EQ(ScreenPixel(f.Wnd("S5"), 1, 1), SheetPixel(5, 1, 1));
}

TEST(GlimButtonPaint, EdgesAndOutlinesOfEveryLookAtTwoSizes) {
    ParkMouse();
    // Force Standard: face E0E0E0, shadow 808080, highlight FFFFFF, dark shadow 000000.
    struct Case {
        long look;
        int state; // 0 up, 2 pressed, 1 disabled
        std::function<POINT(int, int)> at;
        COLORREF want;
    };
    auto P = [](int x, int y) {
        return [x, y](int w, int h) { return POINT{x < 0 ? w + x : x, y < 0 ? h + y : y}; };
    };
    const Case cases[] = {
        {2, 0, P(0, 0), 0xFFFFFF},  {2, 0, P(-1, -1), 0x000000}, {2, 2, P(0, 0), 0x000000},
        {2, 1, P(-1, 4), 0x000000}, {3, 0, P(0, 5), 0x733C00},   {3, 0, P(1, 1), 0x7B4D10},
        {3, 2, P(-1, 5), 0x733C00}, {4, 0, P(0, 5), 0x000000},   {4, 0, P(2, 5), 0xFFFFFF},
        {5, 0, P(1, 5), 0xFFFFFF},  {6, 2, P(0, 0), 0x808080},   {7, 0, P(1, 1), 0x000000},
        {7, 0, P(0, 0), 0xE0E0E0},  {7, 2, P(0, 0), 0x808080},   {7, 1, P(-1, -1), 0x808080},
        {8, 0, P(0, 0), 0xE0E0E0},  {8, 2, P(-1, -1), 0xFFFFFF}, {9, 2, P(0, 5), 0x800000},
        {10, 0, P(0, 5), 0x000000}, {10, 0, P(1, 5), 0x000000},  {10, 2, P(0, 5), 0xE0E0E0},
        {12, 2, P(0, 0), 0x000000}, {12, 0, P(0, 0), 0xE0E0E0},  {14, 0, P(0, 5), 0x4E4E4E},
        {14, 2, P(0, 5), 0x505050}, {15, 0, P(0, 5), 0x733C00},  {13, 2, P(-1, 0), 0xF0F0F0},
    };
    for (const SIZE size : {SIZE{80, 24}, SIZE{120, 40}}) {
        ButtonForm f(640, 480);
        f.Form()->SetBackColor(0x00F0F0F0);
        f.Add("B", 20, 20, size.cx, size.cy);
        IDispatch* d = f.D("B");
        HWND w = f.Wnd("B");
        ASSERT_EQ(Put(d, id::ColorScheme, I4(3)), S_OK);
        ASSERT_EQ(Put(d, id::Caption, Text(L"")), S_OK);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "look " << c.look << " state " << c.state << " size " << size.cx);
            // The toggle shows the pressed look without input; the look goes last, so
            // its Resize paints the state asked for.
            ASSERT_EQ(Put(d, id::Enabled, Bool(c.state != 1)), S_OK);
            ASSERT_EQ(Put(d, id::Value, Bool(c.state == 2)), S_OK);
            ASSERT_EQ(Put(d, id::CheckBoxBehaviour, Bool(c.state == 2)), S_OK);
            ASSERT_EQ(Put(d, id::ButtonType, I4(c.look)), S_OK);
            Settle(w);
            const POINT p = c.at(size.cx, size.cy);
            EXPECT_EQ(ScreenPixel(w, p.x, p.y), c.want) << "at " << p.x << "," << p.y;
        }
        // The outline of each look: its corner pixel belongs to the window or not.
        for (long look = 1; look <= kLooks; ++look) {
            ASSERT_EQ(Put(d, id::ButtonType, I4(look)), S_OK);
            const bool cut = look == 1 || look == 3 || look == 4 || look == 13 || look == 14;
            HRGN rgn = CreateRectRgn(0, 0, 0, 0);
            ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
            EXPECT_EQ(PtInRegion(rgn, 0, 0) == FALSE, cut) << "look " << look;
            EXPECT_TRUE(PtInRegion(rgn, size.cx / 2, size.cy / 2)) << "look " << look;
            DeleteObject(rgn);
        }
    }
}

TEST(GlimButtonPaint, ScreenshotSheetOfEveryLookStateAndSkin) {
    ParkMouse();
    constexpr int W = 80, H = 24, Gap = 8;
    const char* stateNames[] = {"up", "hover", "pressed", "disabled", "focused"};
    constexpr int kStates = 5;
    skingen::Raster sheet((kStates + 1) * (W + Gap) + Gap, (kLooks + 5) * (H + Gap) + Gap,
                          skingen::RGB8(255, 255, 255));
    auto paste = [&](const skingen::Raster& shot, int x0, int y0) {
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                sheet.Set(x0 + x, y0 + y, shot.At(x, y));
    };
    {
        ButtonForm f(W + 40, kLooks * (H + Gap) + 40);
        for (int look = 1; look <= kLooks; ++look) {
            const std::string name = Named("L", look);
            f.Add(name, 10, 10 + (look - 1) * (H + Gap), W, H);
            IDispatch* d = f.D(name);
            ASSERT_EQ(Put(d, id::ButtonType, I4(look)), S_OK);
            ASSERT_EQ(Put(d, id::Caption, Text(L"Look")), S_OK);
        }
        for (int state = 0; state < kStates; ++state) {
            for (int look = 1; look <= kLooks; ++look) {
                const std::string name = Named("L", look);
                IDispatch* d = f.D(name);
                HWND w = f.Wnd(name);
                glimtest::SiteRecorder& rec = f.Log(name);
                if (state == 2) {
                    Put(d, id::CheckBoxBehaviour, Bool(true));
                    Put(d, id::Value, Bool(true));
                } else if (state == 3) {
                    Put(d, id::Enabled, Bool(false));
                } else if (state == 4) {
                    SetFocus(w);
                }
                if (state == 1) {
                    const size_t before = rec.CountOf(ev::MouseOver);
                    MoveTo(Centre(w));
                    MoveTo(ScreenPoint(w, W / 2 + 1, H / 2));
                    EXPECT_TRUE(PumpUntil([&] { return rec.CountOf(ev::MouseOver) > before; })) << name;
                }
                Settle(w);
                paste(glimtest::CaptureClient(w), Gap + state * (W + Gap), Gap + (look - 1) * (H + Gap));
                if (state == 1) {
                    const size_t before = rec.CountOf(ev::MouseOut);
                    ParkMouse();
                    EXPECT_TRUE(PumpUntil([&] { return rec.CountOf(ev::MouseOut) > before; })) << name;
                }
                Put(d, id::Value, Bool(false));
                Put(d, id::CheckBoxBehaviour, Bool(false));
                Put(d, id::Enabled, Bool(true));
            }
        }
    }
    {
        ButtonForm f(6 * (W + Gap) + 20, 4 * (H + Gap) + 20);
        for (int s = 0; s < kSkins; ++s) {
            const std::string name = Named("S", s);
            f.Add(name, 10 + (s % 6) * (W + Gap), 10 + (s / 6) * (H + Gap), W, H);
            ASSERT_EQ(Put(f.D(name), id::Style, I4(s)), S_OK);
            ASSERT_EQ(Put(f.D(name), id::Caption, Text(L"Skin")), S_OK);
        }
        for (int s = 0; s < kSkins; ++s) {
            HWND w = f.Wnd(Named("S", s));
            Settle(w);
            paste(glimtest::CaptureClient(w), Gap + (s % 6) * (W + Gap),
                  Gap + (kLooks + s / 6) * (H + Gap) + Gap);
        }
    }
    const std::string path = glimtest::ShotPath("glimbutton_sheet.png");
    ASSERT_TRUE(skingen::WritePng(path, sheet)) << path;
    std::printf("screenshot sheet: %s (%s across, looks 1-15 down, then skins 0-23)\n", path.c_str(),
                [&] {
                    std::string s;
                    for (const char* n : stateNames)
                        s += std::string(s.empty() ? "" : ", ") + n;
                    return s;
                }()
                    .c_str());
}

namespace {

// Runs one host action from inside the background capture's message pump.
std::function<void()> gDuringPump;

LRESULT CALLBACK PumpedProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP && gDuringPump) {
        auto action = std::move(gDuringPump);
        gDuringPump = nullptr;
        action();
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

glim::ComPtr<glim::MemoryPropertyBag> TransparentBag() {
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    bag->Set("BTYPE", Variant::Long(11));
    bag->Set("Caption", Variant::String(""));
    return bag;
}

} // namespace

TEST(GlimButtonPaint, TransparentLookCopiesItsOwnPlaceAtEverySize) {
    ParkMouse();
    constexpr COLORREF kFormColour = 0x3366CC;
    ButtonForm f(400, 200);
    f.Form()->SetBackColor(kFormColour);
    host::ControlSite* site = f.Add("T", 40, 30, 80, 24, TransparentBag().get());
    ASSERT_NE(site, nullptr);
    IDispatch* d = f.D("T");
    ASSERT_EQ(Invoke(d, id::Refresh, DISPATCH_METHOD, {}), S_OK);
    Settle(f.Wnd("T"));
    // Taken from where the button really is, not from its twips read as pixels.
    EXPECT_EQ(ScreenPixel(f.Wnd("T"), 3, 3), kFormColour);
    EXPECT_EQ(ScreenPixel(f.Wnd("T"), 76, 20), kFormColour);

    // Every new size takes its place again, a real size after none too.
    const double tx = host::HostForm::TwipsPerPixelX(), ty = host::HostForm::TwipsPerPixelY();
    const SIZE sizes[] = {{140, 40}, {140, 0}, {140, 40}, {60, 0}, {90, 30}};
    for (const SIZE& s : sizes) {
        site->Move(site->Left(), site->Top(), static_cast<long>(s.cx * tx), static_cast<long>(s.cy * ty));
        if (s.cy == 0) continue;
        Settle(f.Wnd("T"));
        RECT r{};
        GetClientRect(f.Wnd("T"), &r);
        ASSERT_EQ(r.right, s.cx);
        EXPECT_EQ(ScreenPixel(f.Wnd("T"), s.cx - 4, s.cy - 4), kFormColour) << s.cx << " x " << s.cy;
        EXPECT_EQ(ScreenPixel(f.Wnd("T"), 3, 3), kFormColour) << s.cx << " x " << s.cy;
    }
}

TEST(GlimButtonPaint, BackgroundCaptureSurvivesWhatRunsInItsPump) {
    ParkMouse();
    glimtest::TestWindow poster(WS_POPUP, 10, 10, &PumpedProc);

    // A second capture asked for from inside the first is left out, and the
    // button gets its height back.
    {
        ButtonForm f(400, 200);
        host::ControlSite* site = f.Add("T", 40, 30, 80, 24, TransparentBag().get());
        const long height = site->Height();
        IDispatch* d = f.D("T");
        HRESULT nested = E_FAIL;
        gDuringPump = [&] { nested = Invoke(d, id::Refresh, DISPATCH_METHOD, {}); };
        PostMessageA(poster, WM_APP, 0, 0);
        ASSERT_EQ(Invoke(d, id::Refresh, DISPATCH_METHOD, {}), S_OK);
        EXPECT_EQ(nested, S_OK);
        EXPECT_EQ(site->Height(), height);
        RECT r{};
        GetClientRect(f.Wnd("T"), &r);
        EXPECT_EQ(r.bottom, 24);
    }
    // The form unloads the button from inside the pump: the call ends
    // quietly and the button goes once the caller lets it go.
    {
        ButtonForm f(400, 200);
        f.Add("T", 40, 30, 80, 24, TransparentBag().get());
        glim::ComPtr<IDispatch> d(f.D("T"));
        HWND w = f.Wnd("T");
        gDuringPump = [&] { f.Form()->RemoveControl("T"); };
        PostMessageA(poster, WM_APP, 0, 0);
        Invoke(d.get(), id::Refresh, DISPATCH_METHOD, {});
        EXPECT_EQ(f.Form()->Site("T"), nullptr);
        VARIANT v;
        VariantInit(&v);
        EXPECT_EQ(Invoke(d.get(), id::Caption, DISPATCH_PROPERTYGET, {}, &v), S_OK) << "still a live object";
        VariantClear(&v);
        d.reset();
        PumpFor(0);
        EXPECT_FALSE(IsWindow(w)) << "gone with the last reference";
    }
    gDuringPump = nullptr;
}

TEST(GlimButtonPaint, SwitchingToWindowsXPAtRunTimeShadesItsOwnFace) {
    ParkMouse();
    ButtonForm f(300, 100);
    f.Add("B", 20, 20, 80, 25);
    IDispatch* d = f.D("B");
    ASSERT_EQ(Put(d, id::Caption, Text(L"")), S_OK);
    ASSERT_EQ(Put(d, id::ColorScheme, I4(2)), S_OK);
    ASSERT_EQ(Put(d, id::BackColor, I4(0x808080)), S_OK);
    ASSERT_EQ(Put(d, id::ButtonType, I4(7)), S_OK);
    ASSERT_EQ(Put(d, id::ButtonType, I4(3)), S_OK);
    Settle(f.Wnd("B"));
    // The XP face of 808080 shaded proportionally is A0B0B0; row 12 of 25
    // is that shaded by -12: A4 A4 for red and green, 96 for blue.
    EXPECT_EQ(ScreenPixel(f.Wnd("B"), 40, 12), 0x96A4A4u);
    ASSERT_EQ(Put(d, id::ButtonType, I4(7)), S_OK);
    Settle(f.Wnd("B"));
    EXPECT_EQ(ScreenPixel(f.Wnd("B"), 40, 12), 0x808080u);
}

TEST(GlimButtonPaint, HoverAndFocusLooksAtTwoSizes) {
    struct Case {
        long look;
        bool hover; // else focused
        int x, y;   // negative: from the right or bottom
        COLORREF want;
    };
    // Force Standard: accent 800000, highlight FFFFFF; skin 1 for look 1.
    const Case cases[] = {
        {1, true, -100, 1, SheetPixel(1, 18 * 1 + 9, 1)},
        {1, false, -100, 1, SheetPixel(1, 18 * 4 + 9, 1)},
        {1, true, 1, 1, SheetPixel(1, 18 * 1 + 1, 1)},
        {1, false, 1, 1, SheetPixel(1, 18 * 4 + 1, 1)},
        {3, true, 1, -100, 0x31B2FF},
        {3, false, 1, -100, 0xE7AE8C},
        {9, true, 0, -100, 0x800000},
        {12, true, 0, 0, 0xFFFFFF},
        {8, true, 0, 0, 0xFFFFFF},
        {8, false, 0, 0, 0xE0E0E0},
    };
    for (const SIZE size : {SIZE{80, 24}, SIZE{120, 40}}) {
        ParkMouse();
        ButtonForm f(300, 120);
        f.Add("B", 20, 20, size.cx, size.cy);
        f.Add("Other", 20, 80, 60, 20);
        IDispatch* d = f.D("B");
        HWND w = f.Wnd("B");
        glimtest::SiteRecorder& rec = f.Log("B");
        ASSERT_EQ(Put(d, id::ColorScheme, I4(3)), S_OK);
        ASSERT_EQ(Put(d, id::Caption, Text(L"")), S_OK);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "look " << c.look << (c.hover ? " hover" : " focus") << " size " << size.cx);
            ASSERT_EQ(Put(d, id::ButtonType, I4(c.look)), S_OK);
            if (c.hover) {
                const size_t before = rec.CountOf(ev::MouseOver);
                MoveTo(Centre(w));
                MoveTo(ScreenPoint(w, size.cx / 2 + 1, size.cy / 2));
                ASSERT_TRUE(PumpUntil([&] { return rec.CountOf(ev::MouseOver) > before; }));
            } else {
                SetFocus(w);
            }
            Settle(w);
            const int x = c.x == -100 ? size.cx / 2 : c.x, y = c.y == -100 ? size.cy / 2 : c.y;
            EXPECT_EQ(ScreenPixel(w, x, y), c.want) << "at " << x << "," << y;
            if (c.hover) {
                const size_t before = rec.CountOf(ev::MouseOut);
                ParkMouse();
                ASSERT_TRUE(PumpUntil([&] { return rec.CountOf(ev::MouseOut) > before; }));
            } else {
                SetFocus(f.Wnd("Other"));
            }
        }
    }
}
