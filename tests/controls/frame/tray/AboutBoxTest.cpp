// The About box: modal without an owner, its picture and label, the label's
// colours after the mouse, and the ways to close it.
#include <gtest/gtest.h>

#include <functional>

#include "API.h"
#include "SkinResourceIds.h"
#include "TrayHarness.h"
#include "frmAbout.h"
#include "pump.h"

namespace traytest {
namespace {

using glim::frmAbout;

// Runs inside while the next modal loop of this thread runs; a box still
// open after the deadline is destroyed so that the test ends.
class WhileModal {
  public:
    explicit WhileModal(std::function<void(HWND box)> inside) {
        gInside = std::move(inside);
        gRan = false;
        gForced = false;
        SetTimer(nullptr, 0, 10, &Tick);
        deadline_ = SetTimer(nullptr, 0, 8000, &Deadline);
    }
    ~WhileModal() { KillTimer(nullptr, deadline_); }
    bool Ran() const { return gRan; }
    bool Forced() const { return gForced; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        const HWND box = frmAbout::Window();
        if (!box || gRan) return;
        gRan = true;
        gInside(box);
    }
    static void CALLBACK Deadline(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (const HWND box = frmAbout::Window()) {
            gForced = true;
            DestroyWindow(box);
        }
    }
    static inline std::function<void(HWND)> gInside;
    static inline bool gRan = false;
    static inline bool gForced = false;
    UINT_PTR deadline_ = 0;
};

LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(x, y);
}

// The label's rectangle in pixels.
RECT LabelRect() {
    return RECT{frmAbout::kLabelLeft / 15, frmAbout::kLabelTop / 15,
                (frmAbout::kLabelLeft + frmAbout::kLabelWidth) / 15,
                (frmAbout::kLabelTop + frmAbout::kLabelHeight) / 15};
}

int CountInLabel(HWND box, COLORREF color) {
    UpdateWindow(box);
    const RECT r = LabelRect();
    HDC dc = GetDC(box);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetPixel(dc, x, y) == color) ++n;
    ReleaseDC(box, dc);
    return n;
}

TEST(AboutBox, ShowsThePictureAndReactsToTheMouseUntilTheLabelIsClicked) {
    FormWindow other;
    ShowWindow(other, SW_SHOWNA);
    // The box opens in the middle of the screen, where X starts the pointer,
    // and the light grey shows only until the mouse moves over the box.  The
    // pointer goes to a corner, not (0, 0): Wine starts its cursor there, so
    // a move to it would not reach X.
    SetCursorPos(8, 8);
    ASSERT_TRUE(glimtest::PumpUntil([] {
        POINT at{};
        return GetCursorPos(&at) && at.x == 8 && at.y == 8;
    }));
    const RECT label = LabelRect();
    const int lx = (label.left + label.right) / 2, ly = (label.top + label.bottom) / 2;
    const COLORREF window = GetSysColor(COLOR_WINDOW);

    WhileModal run([&](HWND box) {
        EXPECT_TRUE(IsWindowVisible(box));
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_FALSE(IsWindowEnabled(other)) << "the other forms wait for the box";
        RECT client{};
        GetClientRect(box, &client);
        EXPECT_EQ(client.right, 336);
        EXPECT_EQ(client.bottom, 164);

        // The picture fills the client area, pixel for pixel.
        UpdateWindow(box);
        HBITMAP picture =
            static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(GLIM_RES_ABOUT),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(picture, nullptr);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, picture);
        HDC dc = GetDC(box);
        int same = 0, probes = 0;
        for (int y = 20; y < 164; y += 23)
            for (int x = 3; x < 300; x += 31, ++probes)
                if (GetPixel(dc, x, y) == GetPixel(mem, x, y)) ++same;
        ReleaseDC(box, dc);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(picture);
        EXPECT_EQ(same, probes);

        // 关闭 in light grey on the window colour.
        EXPECT_EQ(frmAbout::Instance()->Label1ForeColor(), 0x00C0C0C0u);
        EXPECT_GT(CountInLabel(box, RGB(0xC0, 0xC0, 0xC0)), 10);
        EXPECT_GT(CountInLabel(box, window), 100);

        SendMessageA(box, WM_MOUSEMOVE, 0, ClientPoint(lx, ly));
        EXPECT_EQ(frmAbout::Instance()->Label1ForeColor(), 0x000000FFu);
        EXPECT_GT(CountInLabel(box, RGB(255, 0, 0)), 10);

        SendMessageA(box, WM_MOUSEMOVE, 0, ClientPoint(100, 100));
        EXPECT_EQ(frmAbout::Instance()->Label1ForeColor(), 0x80000005u);
        EXPECT_EQ(CountInLabel(box, RGB(255, 0, 0)), 0);
        EXPECT_EQ(CountInLabel(box, window), (label.right - label.left) * (label.bottom - label.top));

        SendMessageA(box, WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(lx, ly));
        EXPECT_EQ(frmAbout::Instance()->Label1ForeColor(), 0x80000015u);
        SendMessageA(box, WM_MOUSEMOVE, 0, ClientPoint(lx, ly));
        SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(lx, ly));
        EXPECT_EQ(frmAbout::Instance()->Label1ForeColor(), 0x80000015u);
        EXPECT_GT(CountInLabel(box, GetSysColor(COLOR_3DDKSHADOW)), 10);
        // Released elsewhere: no click, the colour stays.
        SendMessageA(box, WM_LBUTTONUP, 0, ClientPoint(100, 100));
        EXPECT_EQ(frmAbout::Instance()->Label1ForeColor(), 0x80000015u);
        EXPECT_TRUE(IsWindowVisible(box));

        PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(lx, ly));
        PostMessageA(box, WM_LBUTTONUP, 0, ClientPoint(lx, ly));
    });
    frmAbout::ShowModal();
    EXPECT_TRUE(run.Ran());
    EXPECT_FALSE(run.Forced()) << "a click on the label closes the box";
    EXPECT_EQ(frmAbout::Window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(other));
}

TEST(AboutBox, EscapeClosesItAndASecondShowWhileOpenReturnsAtOnce) {
    bool secondReturned = false;
    WhileModal run([&](HWND box) {
        frmAbout::ShowModal();
        secondReturned = true;
        EXPECT_EQ(frmAbout::Window(), box);
        PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    frmAbout::ShowModal();
    EXPECT_TRUE(run.Ran());
    EXPECT_TRUE(secondReturned);
    EXPECT_FALSE(run.Forced()) << "Esc closes the box";
    EXPECT_EQ(frmAbout::Window(), nullptr);
}

TEST(AboutBox, SitsBorderlessInTheMiddleOfTheScreenWithTheKeyboardFocus) {
    RECT outer{}, client{};
    LONG_PTR style = 0, exStyle = 0;
    HWND focus = nullptr;
    WhileModal run([&](HWND box) {
        GetWindowRect(box, &outer);
        GetClientRect(box, &client);
        style = GetWindowLongPtrA(box, GWL_STYLE);
        exStyle = GetWindowLongPtrA(box, GWL_EXSTYLE);
        focus = GetFocus();
        // Esc reaches the box the way a key press does.
        PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    frmAbout::ShowModal();
    EXPECT_TRUE(run.Ran());
    EXPECT_FALSE(run.Forced()) << "Esc at the focus closes the box";
    EXPECT_EQ(outer.right - outer.left, client.right) << "no border";
    EXPECT_EQ(outer.bottom - outer.top, client.bottom);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0) << "an unowned box shows in the taskbar";
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 336) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 164) / 2);
}

TEST(AboutBox, TheAboutCommandOfATrayFormOpensIt) {
    FakeTray tray;
    FormWindow form;
    auto formObject = Make<FormDouble>(form.hwnd());
    glim::API_AddTrayIcon(formObject.get(), nullptr);
    ClearReceived();
    HWND seen = nullptr;
    WhileModal run([&](HWND box) {
        seen = box;
        PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(SendMessageA(form, WM_SYSCOMMAND, glim::kAboutCommand, 0), 0);
    EXPECT_TRUE(run.Ran());
    EXPECT_NE(seen, nullptr);
    EXPECT_FALSE(run.Forced());
    EXPECT_EQ(Received(form, WM_SYSCOMMAND), 0);
    glim::API_RemoveTrayIcon();

    // Without the icon the command is the form's own business.
    SendMessageA(form, WM_SYSCOMMAND, glim::kAboutCommand, 0);
    EXPECT_EQ(Received(form, WM_SYSCOMMAND), 1);
    EXPECT_EQ(frmAbout::Window(), nullptr);
}

} // namespace
} // namespace traytest
