// Library forms: load and unload, modal and modeless showing, placement in
// twips, back colour and parts, through real windows.
#include "ConstituentLabel.h"
#include "ConstituentTimer.h"
#include "LibraryForm.h"
#include "Screen.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace glim;

namespace {

FormDesign Borderless() {
    FormDesign d;
    d.captionBar = false;
    d.showInTaskbar = false;
    d.left = 100 * TwipsPerPixelX();
    d.top = 100 * TwipsPerPixelY();
    d.width = 120 * TwipsPerPixelX();
    d.height = 80 * TwipsPerPixelY();
    return d;
}

class CountingForm : public LibraryForm {
  public:
    explicit CountingForm(FormDesign d) : LibraryForm(std::move(d)) {}
    int loads = 0;
    int queryUnloads = 0;

  protected:
    void OnLoad() override { ++loads; }
    void OnQueryUnload() override { ++queryUnloads; }
};

} // namespace

TEST(LibraryForms, MoveInTwipsPlacesTheOuterRectangle) {
    LibraryForm form(Borderless());
    EXPECT_FALSE(form.Loaded());
    const long tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    form.Move(30.0 * tx, 40.0 * ty, 50.0 * tx, 25.0 * ty);
    ASSERT_TRUE(form.Loaded());
    RECT r{};
    GetWindowRect(form.hWnd(), &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 80);
    EXPECT_EQ(r.bottom, 65);
    EXPECT_DOUBLE_EQ(form.Left(), 30.0 * tx);
    EXPECT_DOUBLE_EQ(form.Height(), 25.0 * ty);
    // Borderless: the inner size is the outer one.
    EXPECT_DOUBLE_EQ(form.ScaleWidth(), 50.0 * tx);

    form.Move(45.0 * tx);
    GetWindowRect(form.hWnd(), &r);
    EXPECT_EQ(r.left, 45);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 50);

    EXPECT_NE(GetWindowLongPtrA(form.hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowLongPtrA(form.hWnd(), GWL_STYLE) & WS_CAPTION, 0);
}

TEST(LibraryForms, BackColourAndPartsShowAndComeBackWhenTheFormLoadsAgain) {
    CountingForm form(Borderless());
    form.Canvas().SetScaleMode(kScalePixels);
    form.SetBackColor(0x000000FF);
    ConstituentLabel label(form.Constituents());
    label.Move(10, 10, 20, 20);
    label.SetBackColor(0x0000FF00);
    const auto expectPainted = [&] {
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(glimtest::ClientPixel(form.hWnd(), 5, 5), RGB(255, 0, 0));
        EXPECT_EQ(glimtest::ClientPixel(form.hWnd(), 15, 15), RGB(0, 255, 0));
    };
    form.Show();
    ASSERT_TRUE(form.Visible());
    expectPainted();

    // Closing from the system unloads.
    SendMessageA(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.queryUnloads, 1);
    form.Show();
    EXPECT_EQ(form.loads, 2);
    expectPainted();
}

TEST(LibraryForms, ModalShowEndsWhenATimerUnloadsTheForm) {
    glimtest::TestWindow other(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CountingForm form(Borderless());
    ConstituentTimer timer;
    bool otherDisabled = false, formShown = false;
    timer.Timer = [&] {
        timer.SetEnabled(false);
        otherDisabled = !IsWindowEnabled(other);
        formShown = form.Visible();
        form.Unload();
    };
    // A stuck loop ends here instead of hanging the test.
    ConstituentTimer guard;
    bool guardFired = false;
    guard.Timer = [&] {
        guardFired = true;
        form.Hide();
    };
    timer.SetInterval(30);
    guard.SetInterval(10000);
    form.Show(true);
    guard.SetEnabled(false);

    EXPECT_FALSE(guardFired);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(formShown);
    EXPECT_FALSE(form.Loaded());
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(form.queryUnloads, 1);
}

TEST(LibraryForms, ModalShowEndsOnHideAndTheFormStaysLoaded) {
    glimtest::TestWindow other(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CountingForm form(Borderless());
    ConstituentTimer timer;
    timer.Timer = [&] {
        timer.SetEnabled(false);
        form.Hide();
    };
    timer.SetInterval(30);
    form.Show(true);
    EXPECT_TRUE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ(form.queryUnloads, 0);
}

namespace {

std::vector<std::string> g_formLog;

// A form whose label ends the form from its Click handler.
class SelfEndingForm : public LibraryForm {
  public:
    SelfEndingForm() : LibraryForm(Borderless()), label(Constituents()) {
        Canvas().SetScaleMode(kScalePixels);
        label.Move(10, 10, 40, 30);
        label.Click = [this] {
            DeleteWhenIdle();
            g_formLog.push_back("handler returned");
        };
    }
    ~SelfEndingForm() override { g_formLog.push_back("destroyed"); }
    ConstituentLabel label;
};

} // namespace

TEST(LibraryForms, AFormEndedByItsOwnPartsEventGoesWhenTheMessageReturns) {
    g_formLog.clear();
    auto* form = new SelfEndingForm();
    form->Show();
    SetForegroundWindow(form->hWnd());
    ASSERT_TRUE(glimtest::PumpUntil([&] { return IsWindowVisible(form->hWnd()) != FALSE; }));
    POINT p{20, 20};
    ClientToScreen(form->hWnd(), &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    EXPECT_TRUE(glimtest::PumpUntil([] { return !g_formLog.empty() && g_formLog.back() == "destroyed"; }));
    EXPECT_EQ(g_formLog, (std::vector<std::string>{"handler returned", "destroyed"}));
}
