// Screenshot sheets of the panels and the balloon, written as PNG files in
// "screenshots" beside the test program: every theme with and without its
// header, and a balloon with its shadow in each icon mode and each flip.
#include "PanelsHarness.h"
#include "screenshots.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace paneltest;

namespace {

const char* const kThemeNames[] = {"XP Blue",       "XP Dark Blue",   "XP Dark Green", "XP Green",
                                   "XP Light Blue", "XP Light Green", "XP Orange",     "XP Pastel Green",
                                   "XP Purple",     "XP Red",         "XP Silver",     "XP Yellow"};

TEST_F(PanelsTest, ScreenshotSheetOfThePanelThemes) {
    constexpr int kCols = 4, kW = 150, kH = 64, kGap = 8;
    const long tx = static_cast<long>(host::HostForm::TwipsPerPixelX());
    const long ty = static_cast<long>(host::HostForm::TwipsPerPixelY());
    form->SetClientSize((kCols * (kW + kGap) + kGap) * tx, (6 * (kH + kGap) + kGap) * ty);
    std::vector<host::ControlSite*> panels;
    for (int i = 0; i < 24; ++i) {
        const int theme = i % 12, row = i / kCols, col = i % kCols;
        char name[8];
        std::snprintf(name, sizeof name, "P%d", i);
        host::ControlSite* p = Add("GlimFormControl.GlimContainr", name, (kGap + col * (kW + kGap)) * tx,
                                   (kGap + row * (kH + kGap)) * ty, kW * tx, kH * ty);
        ASSERT_TRUE(p);
        ASSERT_EQ(0, PutError(p, "Theme", Variant::Long(theme)));
        ASSERT_EQ(0, PutError(p, "Caption", Variant::String(kThemeNames[theme])));
        if (i >= 12) {
            ASSERT_EQ(0, PutError(p, "Style", Variant::Long(1)));
        }
        panels.push_back(p);
    }
    ASSERT_TRUE(BringToFront(form->hWnd()));
    // Every panel shows its border before the picture is taken.
    for (host::ControlSite* p : panels) {
        const COLORREF border = static_cast<COLORREF>(Get(p, "BorderColor"));
        ASSERT_TRUE(glimtest::PumpUntil([&] { return ScreenPixel(p->Window(), 0, kH / 2) == border; }));
    }
    EXPECT_TRUE(glimtest::WriteShot("panels_themes.png", glimtest::CaptureClient(form->hWnd())));
}

TEST_F(PanelsTest, ScreenshotSheetOfTheBalloon) {
    host::ControlSite* target = Add("TextBox", "Target", 600, 1500, 3000, 1200);
    host::ControlSite* tip = Add("GlimFormControl.GlimToolTip", "Tip", 4200, 300, 555, 495);
    ASSERT_TRUE(target && tip);
    ASSERT_EQ(0, PutError(tip, "TitleText", Variant::String("Versolo")));
    ASSERT_EQ(0, PutError(tip, "TipText", Variant::String(Ansi(L"\u6b4c\u8bcd\u7f16\u8f91 LRC tip"))));
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const struct {
        long icon;
        POINT at;
    } shots[] = {
        {0, {sw / 2, 300}},  {1, {sw / 2, 300}}, {2, {sw / 2, 300}}, {3, {sw / 2, 300}},
        {2, {sw - 30, 300}}, {2, {sw / 2, 12}},  {2, {sw - 30, 12}},
    };
    std::vector<skingen::Raster> pictures;
    ShortenTipDelay(true);
    for (const auto& s : shots) {
        // The form moves so that the target lies under the pointer.
        RECT tr{}, fr{};
        GetWindowRect(target->Window(), &tr);
        GetWindowRect(form->hWnd(), &fr);
        SetWindowPos(form->hWnd(), nullptr, fr.left + s.at.x - (tr.left + tr.right) / 2,
                     fr.top + s.at.y - (tr.top + tr.bottom) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(BringToFront(form->hWnd()));
        SetCursorPos(s.at.x, s.at.y);
        ASSERT_EQ(0, PutError(tip, "Icon", Variant::Long(s.icon)));
        ASSERT_EQ(0, PutError(tip, "Ctrl_hWnd", Variant::Long(0)));
        glim::CallMethod(tip->ControlDispatch().get(), "ShowTip");
        HWND shadow = nullptr;
        ASSERT_TRUE(glimtest::PumpUntil([&] {
            shadow = FindWindowA(nullptr, "Form9");
            return shadow && IsWindowVisible(shadow);
        }));
        glimtest::PumpFor(100);
        RECT br{}, sr{};
        GetWindowRect(shadow, &sr);
        br = sr;
        OffsetRect(&br, -2, -2);
        RECT all{};
        UnionRect(&all, &br, &sr);
        InflateRect(&all, 8, 8);
        pictures.push_back(glimtest::CaptureScreen(all));
        SetCursorPos(0, 0);
        ASSERT_TRUE(glimtest::PumpUntil([&] { return !IsWindow(shadow) || !IsWindowVisible(shadow); }));
    }
    int w = 0, h = 0;
    for (const skingen::Raster& p : pictures) {
        w += p.Width() + 8;
        h = std::max(h, p.Height());
    }
    skingen::Raster sheet(w + 8, h + 16, skingen::RGB8(128, 128, 128));
    int x = 8;
    for (const skingen::Raster& p : pictures) {
        sheet.CopyFrom(p, 0, 0, p.Width(), p.Height(), x, 8);
        x += p.Width() + 8;
    }
    EXPECT_TRUE(glimtest::WriteShot("balloon_icons_and_flips.png", sheet));
}

} // namespace
