#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "PainterHarness.h"
#include "pump.h"

using namespace paintertest;

namespace {

struct Source {
    enum Kind { Caption, Border, Client } kind;
    long x, y;
};

// Where each pixel of a frame painted from the test skin comes from, worked
// out region by region from the skin layout.
struct FrameModel {
    long W, H;
    bool active = true;
    bool close = true, max = true, min = true;
    bool restoreGlyph = false;
    int pressed = -1; // 0 close, 1 maximize/restore, 2 minimize

    long RightPartX() const { return std::max(W - 100, 101L); }

    Source At(long x, long y) const {
        const long o = active ? 0 : kInactive;
        const long xr = RightPartX();
        if (y < kCapH) {
            const long r = xr + 101 - kTile + 4;
            const long closeLeft = close ? r - 20 : r;
            const long maxLeft = max ? closeLeft - 20 : closeLeft;
            const struct {
                bool present;
                long left;
                long glyph;
            } buttons[3] = {
                {close, closeLeft, 0}, {max, maxLeft, restoreGlyph ? 1 : 2}, {min, maxLeft - 20, 3}};
            for (int b = 0; b < 3; ++b)
                if (buttons[b].present && x >= buttons[b].left && x < buttons[b].left + kButtonW && y >= 5 &&
                    y < 5 + kButtonH)
                    // An inactive window's cells follow the four active ones.
                    return {Source::Caption,
                            240 + (buttons[b].glyph + (active ? 0 : 4)) * kButtonW + x - buttons[b].left,
                            (pressed == b ? kButtonH : 0) + y - 5};
            if (x < kLeftEnd) return {Source::Caption, o + x, y};
            if (x >= xr) return {Source::Caption, o + kRightStart + x - xr, y};
            return {Source::Caption, o + kLeftEnd + 1 + (x - kLeftEnd) % 52, y};
        }
        if (y >= H - kTile) {
            const long by = y - (H - kTile);
            if (x < kTile) return {Source::Border, 2 * kTile + x, by};
            if (x >= W - kTile) return {Source::Border, 6 * kTile + x - (W - kTile), by};
            return {Source::Border, 3 * kTile + (x - kTile) % kTile, by};
        }
        const long sy = (y - kCapH) % kTile;
        if (x < kTile) return {Source::Border, x, sy};
        if (x >= W - kTile) return {Source::Border, 4 * kTile + x - (W - kTile), sy};
        return {Source::Client, 0, 0};
    }
};

COLORREF ColorOf(const Source& s) {
    return s.kind == Source::Caption ? CaptionColor(s.x, s.y) : BorderColor(s.x, s.y);
}

// Compares every frame pixel (optionally only inside a rectangle) with the
// model; returns a description of the first mismatches, empty when none.
std::string CompareFrame(const Snapshot& shot, const FrameModel& model, const RECT* only = nullptr) {
    std::ostringstream out;
    long bad = 0;
    for (long y = 0; y < shot.Height(); ++y)
        for (long x = 0; x < shot.Width(); ++x) {
            if (only && !PtInRect(only, POINT{x, y})) continue;
            const Source s = model.At(x, y);
            if (s.kind == Source::Client) continue;
            const COLORREF want = ColorOf(s), got = shot.At(x, y);
            if (want == got) continue;
            if (++bad <= 5)
                out << "(" << x << "," << y << ") want " << (s.kind == Source::Caption ? "caption" : "border")
                    << "(" << s.x << "," << s.y << ") got #" << std::hex << got << std::dec << "; ";
        }
    if (bad) out << bad << " pixels differ";
    return out.str();
}

long CountColor(const Snapshot& shot, const RECT& area, COLORREF color) {
    long n = 0;
    for (long y = area.top; y < area.bottom; ++y)
        for (long x = area.left; x < area.right; ++x)
            if (shot.At(x, y) == color) ++n;
    return n;
}

class PaintedFrame : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(PaintedFrame, ActiveAndInactiveFramesComeFromTheirSkinRegions) {
    const int width = GetParam();
    FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, width, 220);
    ComPtr<FormDouble> form;
    auto painter = AttachPainter(window, form);
    EXPECT_GE(form->RefreshCount(), 1);

    PaintActiveFrame(window);
    FrameModel model{width, 220};
    EXPECT_EQ(CompareFrame(Snapshot(window), model), "");

    SendMessageA(window, WM_NCACTIVATE, 0, 0);
    PaintFrame(window);
    model.active = false;
    EXPECT_EQ(CompareFrame(Snapshot(window), model), "");
}

// Narrow (right part pushed to x = 101), one middle tile, several tiles.
INSTANTIATE_TEST_SUITE_P(Widths, PaintedFrame, ::testing::Values(150, 300, 521));

TEST(NeoCaptionPaint, NarrowWindowShowsNeitherTitleNorIcon) {
    const Skinned s(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 160, 200);
    SetWindowTextA(s.window, "MMMMMMMM");
    PaintActiveFrame(s.window);
    const Snapshot shot(s.window);
    EXPECT_EQ(CompareFrame(shot, FrameModel{160, 200}), "");
    EXPECT_EQ(CountColor(shot, RECT{0, 0, 160, kCapH}, RGB(255, 255, 255)), 0);
    EXPECT_EQ(CountColor(shot, RECT{0, 0, 160, kCapH}, kIconColor), 0);
}

TEST(NeoCaptionPaint, ClientAreaLiesInsideTheSkinMargins) {
    FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 220);
    ComPtr<FormDouble> form;
    auto painter = AttachPainter(window, form);
    EXPECT_EQ(painter->GetTopMarginHeight(), kCapH);
    EXPECT_EQ(painter->GetLeftMarginWidth(), kTile);
    EXPECT_EQ(painter->GetRightMarginWidth(), kTile);
    EXPECT_EQ(painter->GetBottomMarginHeight(), kTile);
    POINT origin{};
    ASSERT_TRUE(ClientOrigin(window, origin));
    EXPECT_EQ(origin.x, kTile);
    EXPECT_EQ(origin.y, kCapH);
    RECT cr{};
    GetClientRect(window, &cr);
    EXPECT_EQ(cr.right, 300 - 2 * kTile);
    EXPECT_EQ(cr.bottom, 220 - kCapH - kTile);
}

namespace {
struct StyleCase {
    DWORD style;
    bool close, max, min;
};
class ButtonsByStyle : public ::testing::TestWithParam<StyleCase> {};
} // namespace

TEST_P(ButtonsByStyle, PresentButtonsTakeTheSlotsFromTheRight) {
    const StyleCase c = GetParam();
    const Skinned s(c.style | WS_VISIBLE, 320, 200);
    FrameModel model{320, 200};
    model.close = c.close;
    model.max = c.max;
    model.min = c.min;
    EXPECT_EQ(CompareFrame(Snapshot(s.window), model), "");
    EXPECT_EQ(s.painter->ButtonPresent(glim::cNeoCaption::btnClose), c.close);
    EXPECT_EQ(s.painter->ButtonPresent(glim::cNeoCaption::btnMaximize), c.max);
    EXPECT_EQ(s.painter->ButtonPresent(glim::cNeoCaption::btnMinimize), c.min);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ButtonsByStyle,
    ::testing::Values(StyleCase{WS_OVERLAPPEDWINDOW, true, true, true},
                      StyleCase{WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, true, false, false},
                      StyleCase{WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false, true,
                                true},
                      StyleCase{WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, true, false, true}));

TEST(NeoCaptionPaint, MaximizedWindowShowsTheRestoreGlyph) {
    FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
    ComPtr<FormDouble> form;
    auto painter = AttachPainter(window, form);
    ShowWindow(window, SW_MAXIMIZE);
    glimtest::PumpPending();
    ASSERT_TRUE(IsZoomed(window));
    PaintActiveFrame(window);
    RECT wr{};
    GetWindowRect(window, &wr);
    FrameModel model{wr.right - wr.left, wr.bottom - wr.top};
    model.restoreGlyph = true;
    const RECT caption{0, 0, model.W, kCapH};
    EXPECT_EQ(CompareFrame(Snapshot(window), model, &caption), "");
}

TEST(NeoCaptionPaint, TitleColourFollowsTheSkinIndexAndActivation) {
    const COLORREF dark = RGB(20, 20, 20), white = RGB(255, 255, 255), dim = RGB(170, 180, 167);
    const RECT textArea{28, 8, 300 - 80, 8 + (kCapH - kTile - 2) / 2};
    for (short idx : {0, 1, 5, 10, 11, 12, 15, 19, 22, 23}) {
        FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
        ComPtr<FormDouble> form;
        auto painter = AttachPainter(window, form, idx);
        // Strokes wide enough to hold pixels of the plain text colour.
        CY size{};
        size.int64 = 14 * 10000;
        painter->get_CaptionFont()->put_Size(size);
        SetWindowTextA(window, "MMMMWWWW");
        PaintActiveFrame(window);
        const bool isDark = idx == 10 || idx == 11 || idx == 15 || idx == 19 || idx == 22 || idx == 23;
        const Snapshot active(window);
        EXPECT_GT(CountColor(active, textArea, isDark ? dark : white), 10) << "skin " << idx;
        EXPECT_EQ(CountColor(active, textArea, isDark ? white : dark), 0) << "skin " << idx;
        EXPECT_EQ(CountColor(active, textArea, dim), 0) << "skin " << idx;

        SendMessageA(window, WM_NCACTIVATE, 0, 0);
        PaintFrame(window);
        const Snapshot inactive(window);
        EXPECT_GT(CountColor(inactive, textArea, dim), 10) << "skin " << idx;
        EXPECT_EQ(CountColor(inactive, textArea, white) + CountColor(inactive, textArea, dark), 0);
    }
}

TEST(NeoCaptionPaint, IconIsDrawnOnlyWithATitle) {
    const Skinned s(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
    const RECT icon{7, 5, 23, 21};
    EXPECT_EQ(CountColor(Snapshot(s.window), icon, kIconColor), 0);

    SetWindowTextA(s.window, "Title");
    PaintFrame(s.window);
    EXPECT_EQ(CountColor(Snapshot(s.window), icon, kIconColor), 16 * 16);
}

TEST(NeoCaptionPaint, CaptionFontChangesShowAtTheNextPaint) {
    const Skinned s(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 200);
    SetWindowTextA(s.window, "MMMMMMMM");
    PaintActiveFrame(s.window);
    const RECT textArea{28, 8, 400 - 80, 27};
    const long small = CountColor(Snapshot(s.window), textArea, RGB(255, 255, 255));
    CY size{};
    size.int64 = 14 * 10000;
    s.painter->get_CaptionFont()->put_Size(size);
    PaintFrame(s.window);
    const long large = CountColor(Snapshot(s.window), textArea, RGB(255, 255, 255));
    EXPECT_GT(small, 0);
    EXPECT_GT(large, small + small / 4);
}

// The painter keeps its composed frame between paints; every change that
// shows in the frame must show after the next paint exactly as a painter
// composing afresh draws it.
TEST(NeoCaptionPaint, AKeptFrameFollowsEveryChange) {
    struct Change {
        const char* what;
        std::function<void(HWND, HMENU)> apply;
        bool activeAfter;
    };
    const Change changes[] = {
        {"title", [](HWND w, HMENU) { SetWindowTextA(w, "Another title"); }, true},
        {"activation", [](HWND w, HMENU) { SendMessageA(w, WM_NCACTIVATE, 0, 0); }, false},
        {"size",
         [](HWND w, HMENU) {
             SetWindowPos(w, nullptr, 0, 0, 360, 230, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
         },
         true},
        {"style",
         [](HWND w, HMENU) { SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~WS_MINIMIZEBOX); },
         true},
        {"menu caption",
         [](HWND, HMENU menu) {
             ModifyMenuA(menu, 0, MF_BYPOSITION | MF_POPUP | MF_STRING,
                         reinterpret_cast<UINT_PTR>(GetSubMenu(menu, 0)), "Edit");
         },
         true},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        FrameWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
        const HMENU menu = CreateMenu();
        AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "File");
        SetMenu(window, menu);
        SetWindowTextA(window, "Title");
        ComPtr<FormDouble> form;
        auto painter = AttachPainter(window, form);
        PaintActiveFrame(window);
        const Snapshot before(window);

        change.apply(window, menu);
        PaintFrame(window);
        const Snapshot kept(window);

        painter = nullptr; // a new painter composes from nothing
        painter = AttachPainter(window, form);
        SendMessageA(window, WM_NCACTIVATE, change.activeAfter ? 1 : 0, 0);
        PaintFrame(window);
        const Snapshot fresh(window);

        ASSERT_EQ(kept.Width(), fresh.Width());
        ASSERT_EQ(kept.Height(), fresh.Height());
        long differ = 0, changed = 0;
        for (long y = 0; y < kept.Height(); ++y)
            for (long x = 0; x < kept.Width(); ++x) {
                // The frame only: the client area is the window's own.
                if (y >= kCapH && y < kept.Height() - kTile && x >= kTile && x < kept.Width() - kTile)
                    continue;
                if (kept.At(x, y) != fresh.At(x, y)) ++differ;
                if (x < before.Width() && y < before.Height() && kept.At(x, y) != before.At(x, y)) ++changed;
            }
        EXPECT_EQ(differ, 0);
        EXPECT_GT(changed, 0) << "the change does not show in the frame at all";
        painter = nullptr; // gives the menu back to the window, which destroys it
    }
}
