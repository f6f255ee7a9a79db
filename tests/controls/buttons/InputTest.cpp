// GlimButton under real input on a host form: SendInput at the painted
// positions, through hit testing, focus and the container's key handling,
// with the host's event sink changing by-reference arguments.
#include "ButtonHarness.h"
#include "EventSink.h"
#include "GlimFormControl.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace buttontest;
namespace host = glim::host;
namespace id = dispid::GlimButton;
namespace ev = dispid::GlimButton_events;

namespace {

// Force Standard, Simple Flat: (0, 0) is the face E0E0E0 when up and the
// shadow 808080 when pressed.
constexpr COLORREF kUp = 0xE0E0E0;
constexpr COLORREF kPressed = 0x808080;
constexpr int W = 80, H = 24;

class GlimButtonInput : public testing::Test {
  protected:
    void SetUp() override {
        Park();
        form = std::make_unique<ButtonForm>(400, 200);
        for (const char* name : {"A", "B", "C"}) {
            const int i = name[0] - 'A';
            ASSERT_NE(form->Add(name, 20 + i * 100, 40, W, H), nullptr);
            ASSERT_EQ(Put(D(name), id::ButtonType, I4(7)), S_OK);
            ASSERT_EQ(Put(D(name), id::ColorScheme, I4(3)), S_OK);
            Log(name).ClearCalls();
        }
    }
    void TearDown() override {
        Park();
        form.reset();
    }
    static void Park() {
        MoveTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2});
    }

    IDispatch* D(const char* n) const { return form->D(n); }
    HWND Wnd(const char* n) const { return form->Wnd(n); }
    host::EventSink* Sink(const char* n) const { return form->Form()->Site(n)->Events(); }
    glimtest::SiteRecorder& Log(const char* n) const { return form->Log(n); }
    size_t Count(const char* n, DISPID e) const { return Log(n).CountOf(e); }
    COLORREF Corner(const char* n) const { return ScreenPixel(Wnd(n), 0, 0); }
    // Waits until the event has been raised count times.
    bool WaitFor(const char* n, DISPID e, size_t count) {
        return PumpUntil([&] { return Count(n, e) >= count; });
    }

    std::unique_ptr<ButtonForm> form;
};

// Dispatches messages one at a time until one `msg` for `hwnd` has gone through.
bool DispatchThrough(HWND hwnd, UINT msg) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 3000) {
        MSG m;
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
        if (m.hwnd == hwnd && m.message == msg) return true;
    }
    return false;
}

std::vector<WPARAM> foreignKeys; // keys the foreign window received

LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_KEYDOWN) foreignKeys.push_back(wp);
    return DefWindowProcA(h, m, wp, lp);
}

} // namespace

TEST_F(GlimButtonInput, ClickRulesForEachButtonAndWhenDisabled) {
    struct Case {
        const char* what;
        DWORD down, up;
        bool enabled;
        bool pressedLook;
        size_t clicks;
    };
    const Case cases[] = {
        {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, true, true, 1},
        {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, true, false, 0},
        {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, true, true, 0},
        {"left while disabled", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Put(D("A"), id::Enabled, Bool(c.enabled)), S_OK);
        Log("A").ClearCalls();
        MoveTo(Centre(Wnd("A")));
        SendMouse(c.down);
        if (c.enabled) {
            ASSERT_TRUE(WaitFor("A", ev::MouseDown, 1));
        } else {
            PumpFor(100);
            EXPECT_EQ(Count("A", ev::MouseDown), 0u);
        }
        // Simple Flat disabled has a highlight outer ring.
        const COLORREF idle = c.enabled ? kUp : 0xFFFFFF;
        EXPECT_EQ(Corner("A"), c.pressedLook ? kPressed : idle);
        SendMouse(c.up);
        if (c.enabled) {
            ASSERT_TRUE(WaitFor("A", ev::MouseUp, 1));
        }
        PumpFor(50);
        EXPECT_EQ(Count("A", ev::Click), c.clicks);
        EXPECT_EQ(Corner("A"), idle);
        Park();
    }
}

TEST_F(GlimButtonInput, CheckBoxBehaviourTogglesBeforeClickAndStaysPressed) {
    ASSERT_EQ(Put(D("A"), id::CheckBoxBehaviour, Bool(true)), S_OK);
    std::vector<long> seen;
    Sink("A")->On(ev::Click, [&](host::EventArgs&) { seen.push_back(GetLong(D("A"), id::Value)); });
    for (size_t n = 1; n <= 2; ++n) {
        // Clicks apart, so the second is no double click.
        ClickAt(ScreenPoint(Wnd("A"), n == 1 ? W / 2 : 8, H / 2));
        ASSERT_TRUE(WaitFor("A", ev::Click, n));
        Park();
        PumpFor(30);
        EXPECT_EQ(Corner("A"), n == 1 ? kPressed : kUp) << "click " << n;
    }
    EXPECT_EQ(seen, (std::vector<long>{-1, 0}));
    // Value from code raises nothing and repaints the toggle.
    ASSERT_EQ(Put(D("A"), id::Value, Bool(true)), S_OK);
    PumpFor(30);
    EXPECT_EQ(Corner("A"), kPressed);
    EXPECT_EQ(Count("A", ev::Click), 2u);
}

TEST_F(GlimButtonInput, HoverRaisesMouseOverOnceAndMouseOutWhenLeftOrCovered) {
    MoveTo(Centre(Wnd("A")));
    ASSERT_TRUE(WaitFor("A", ev::MouseOver, 1));
    POINT p = Centre(Wnd("A"));
    for (int i = 1; i <= 3; ++i)
        MoveTo(POINT{p.x + i, p.y});
    PumpFor(50);
    EXPECT_EQ(Count("A", ev::MouseOver), 1u);
    EXPECT_EQ(Count("A", ev::MouseOut), 0u);
    Park();
    ASSERT_TRUE(WaitFor("A", ev::MouseOut, 1));

    // A window lying over the button counts as leaving it.
    MoveTo(Centre(Wnd("A")));
    ASSERT_TRUE(WaitFor("A", ev::MouseOver, 2));
    RECT r{};
    GetWindowRect(Wnd("A"), &r);
    glimtest::TestWindow cover(WS_POPUP, r.right - r.left, r.bottom - r.top);
    SetWindowPos(cover, HWND_TOPMOST, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_TRUE(WaitFor("A", ev::MouseOut, 2));
}

TEST_F(GlimButtonInput, DoubleClickPressesOnceMoreAndGivesTheCaptureBack) {
    MoveTo(Centre(Wnd("A")));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor("A", ev::MouseUp, 2));
    PumpFor(50);
    EXPECT_EQ(Count("A", ev::Click), 1u) << "the double click raises no Click of its own";
    ASSERT_EQ(Count("A", ev::MouseDown), 2u);
    std::vector<const glimtest::SiteRecorder::Call*> downs;
    for (const auto& call : Log("A").Calls())
        if (call.id == ev::MouseDown) downs.push_back(&call);
    const auto& second = downs[1]->in;
    EXPECT_EQ(second[0].ToLong(), 1);
    EXPECT_EQ(second[1].ToLong(), 0);
    EXPECT_EQ(second[2].ToDouble(), 0.0);
    EXPECT_EQ(second[3].ToDouble(), 0.0);
    EXPECT_EQ(GetCapture(), nullptr) << "the capture taken by the double click is released";
    // The next click elsewhere is a click there, not on A.
    ClickAt(Centre(Wnd("B")));
    EXPECT_TRUE(WaitFor("B", ev::Click, 1));
    EXPECT_EQ(Count("A", ev::Click), 1u);
}

TEST_F(GlimButtonInput, SpaceClicksOnReleaseUnlessTheHostTakesTheKey) {
    ClickAt(Centre(Wnd("A")));
    ASSERT_TRUE(WaitFor("A", ev::Click, 1));
    Park();
    // The hover look ends first; its repaint would cover the pressed one.
    ASSERT_TRUE(WaitFor("A", ev::MouseOut, 1));
    ASSERT_EQ(GetFocus(), Wnd("A"));
    Key(VK_SPACE, true);
    ASSERT_TRUE(WaitFor("A", ev::KeyDown, 1));
    PumpFor(30);
    EXPECT_EQ(Corner("A"), kPressed);
    EXPECT_EQ(Count("A", ev::Click), 1u);
    Key(VK_SPACE, false);
    EXPECT_TRUE(WaitFor("A", ev::Click, 2));
    EXPECT_EQ(Corner("A"), kUp);

    // A KeyDown handler that sets KeyCode to 0 stops the press.
    Sink("A")->On(ev::KeyDown, [](host::EventArgs& a) { EXPECT_TRUE(a.Set(0, glim::Variant::Long(0))); });
    Tap(VK_SPACE);
    ASSERT_TRUE(WaitFor("A", ev::KeyUp, 2));
    PumpFor(50);
    EXPECT_EQ(Count("A", ev::Click), 2u);
}

TEST_F(GlimButtonInput, ArrowsMoveTheFocusInsideTheFormOnly) {
    // A window of another program's kind, made foreground by the host's handler.
    foreignKeys.clear();
    glimtest::TestWindow foreign(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 100, &ForeignProc);
    SetWindowPos(foreign, HWND_BOTTOM, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ClickAt(Centre(Wnd("B")));
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Wnd("B"); }));
    Park();
    struct Step {
        WORD vk;
        const char* to;
    };
    const Step steps[] = {{VK_RIGHT, "C"}, {VK_LEFT, "B"}, {VK_UP, "A"}, {VK_DOWN, "B"}};
    for (const Step& s : steps) {
        Tap(s.vk);
        EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Wnd(s.to); })) << "key " << s.vk << " to " << s.to;
    }
    // The host handler activates another window first: the focus still moves
    // inside the form and nothing reaches the other window.
    Sink("B")->On(ev::KeyDown, [&](host::EventArgs&) { SetForegroundWindow(foreign); });
    Log("B").ClearCalls();
    Tap(VK_RIGHT);
    ASSERT_TRUE(WaitFor("B", ev::KeyDown, 1));
    EXPECT_TRUE(PumpUntil([&] { return IsChild(form->hWnd(), GetFocus()) != FALSE; }))
        << "the focus moved to a control of the form";
    PumpFor(100);
    EXPECT_TRUE(foreignKeys.empty() || (foreignKeys.size() == 1 && foreignKeys[0] == VK_RIGHT))
        << "no Tab was sent to the foreground window";
    for (WPARAM k : foreignKeys)
        EXPECT_NE(k, static_cast<WPARAM>(VK_TAB));

    // KeyCode set to 0 by the host stops the move.
    SetForegroundWindow(form->hWnd());
    ClickAt(Centre(Wnd("A")));
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Wnd("A"); }));
    Park();
    Sink("A")->On(ev::KeyDown, [](host::EventArgs& a) { a.Set(0, glim::Variant::Long(0)); });
    Log("A").ClearCalls();
    Tap(VK_RIGHT);
    ASSERT_TRUE(WaitFor("A", ev::KeyUp, 1));
    PumpFor(100);
    EXPECT_EQ(GetFocus(), Wnd("A"));
}

TEST_F(GlimButtonInput, AccessKeyClicksOnlyWhileEnabled) {
    ASSERT_EQ(Put(D("B"), id::Caption, Text(L"&Go")), S_OK);
    for (bool enabled : {true, false}) {
        ASSERT_EQ(Put(D("B"), id::Enabled, Bool(enabled)), S_OK);
        Log("B").ClearCalls();
        Key(VK_MENU, true);
        Tap('G');
        Key(VK_MENU, false);
        if (enabled) {
            EXPECT_TRUE(WaitFor("B", ev::Click, 1));
        } else {
            PumpFor(100);
            EXPECT_EQ(Count("B", ev::Click), 0u);
        }
    }
}

TEST_F(GlimButtonInput, ByReferenceMouseButtonChangedByTheHostIsActedOn) {
    // The host turns the left press into a right one: no pressed look, no Click.
    Sink("A")->On(ev::MouseDown, [](host::EventArgs& a) { EXPECT_TRUE(a.Set(0, glim::Variant::Long(2))); });
    MoveTo(Centre(Wnd("A")));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    // Looked at as soon as the press is handled: a move the platform makes up
    // afterwards (for the pointer grab) paints the press, as any move with the
    // button held does.
    ASSERT_TRUE(DispatchThrough(Wnd("A"), WM_LBUTTONDOWN));
    ASSERT_EQ(Count("A", ev::MouseDown), 1u);
    UpdateWindow(Wnd("A"));
    EXPECT_EQ(glimtest::ClientPixel(Wnd("A"), 0, 0), kUp);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor("A", ev::MouseUp, 1));
    PumpFor(50);
    EXPECT_EQ(Count("A", ev::Click), 0u);
}

TEST_F(GlimButtonInput, CustomHoverPaintsBackOverAndKeepsBackColor) {
    ASSERT_EQ(Put(D("A"), id::ColorScheme, I4(2)), S_OK);
    ASSERT_EQ(Put(D("A"), id::BackColor, I4(0x0000C0)), S_OK);
    ASSERT_EQ(Put(D("A"), id::BackOver, I4(0x00C000)), S_OK);
    PumpFor(30);
    EXPECT_EQ(ScreenPixel(Wnd("A"), W - 3, 3), 0x0000C0u);
    MoveTo(Centre(Wnd("A")));
    ASSERT_TRUE(WaitFor("A", ev::MouseOver, 1));
    PumpFor(30);
    EXPECT_EQ(ScreenPixel(Wnd("A"), W - 3, 3), 0x00C000u);
    EXPECT_EQ(GetLong(D("A"), id::BackColor), 0x0000C0);
    for (const host::ControlData& c : form->Form()->Save()) {
        if (c.name == "A") {
            EXPECT_EQ(c.bag->Get("BCOL").ToLong(), 0x0000C0);
        }
    }
    Park();
    ASSERT_TRUE(WaitFor("A", ev::MouseOut, 1));
    PumpFor(30);
    EXPECT_EQ(ScreenPixel(Wnd("A"), W - 3, 3), 0x0000C0u);
}
