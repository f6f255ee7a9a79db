// The tray procedure and the shared subclassing procedure on one window, in
// any order of adding, attaching, detaching and removing.
#include <gtest/gtest.h>

#include <string>

#include "API.h"
#include "MSubclass.h"
#include "TrayHarness.h"

namespace traytest {
namespace {

using glim::API_AddTrayIcon;
using glim::API_RemoveTrayIcon;
using glim::kTrayCallbackMessage;

constexpr UINT kSkinMessage = WM_USER + 20; // what the subclassing client takes
constexpr UINT kPlainMessage = WM_USER + 7; // nobody's but the form's

BOOL CALLBACK CountProp(HWND, LPSTR, HANDLE, ULONG_PTR count) {
    return ++*reinterpret_cast<int*>(count), TRUE;
}

int PropCount(HWND hWnd) {
    int n = 0;
    EnumPropsExA(hWnd, CountProp, reinterpret_cast<LPARAM>(&n));
    return n;
}

// Steps: A adds the icon, R removes it, L attaches the client (a skin
// loaded), C detaches it (the skin closed).
class Coexistence : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        ClearReceived();
        baseProps = PropCount(form);
    }
    void TearDown() override {
        API_RemoveTrayIcon();
        if (skinned) glim::DetachMessage(client.get(), form, kSkinMessage);
    }

    void Step(char step) {
        switch (step) {
        case 'A':
            API_AddTrayIcon(formObject.get(), menu.get());
            iconShown = true;
            break;
        case 'R':
            API_RemoveTrayIcon();
            iconShown = false;
            break;
        case 'L':
            glim::AttachMessage(client.get(), form, kSkinMessage);
            skinned = true;
            break;
        case 'C':
            glim::DetachMessage(client.get(), form, kSkinMessage);
            skinned = false;
            break;
        }
    }

    // Every party still gets exactly what it should.
    void ExpectAllWorking(const std::string& where) {
        SCOPED_TRACE(where);
        EXPECT_EQ(SendMessageA(form, kPlainMessage, 0, 0), RecordedResult(kPlainMessage));

        const int focus = formObject->focusCalls;
        const int formGot = Received(form, kTrayCallbackMessage);
        SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
        EXPECT_EQ(formObject->focusCalls, focus + (iconShown ? 1 : 0));
        EXPECT_EQ(Received(form, kTrayCallbackMessage), formGot + (iconShown ? 0 : 1));

        const int clientCalls = client->calls;
        const int skinGot = Received(form, kSkinMessage);
        EXPECT_EQ(SendMessageA(form, kSkinMessage, 0, 0), RecordedResult(kSkinMessage));
        EXPECT_EQ(client->calls, clientCalls + (skinned ? 1 : 0));
        EXPECT_EQ(Received(form, kSkinMessage), skinGot + 1);
    }

    FakeTray tray;
    FormWindow form;
    ComPtr<FormDouble> formObject = Make<FormDouble>(form.hwnd());
    ComPtr<MenuDouble> menu = Make<MenuDouble>();
    glim::Ref<CountingClient> client = glim::MakeRef<CountingClient>();
    bool iconShown = false;
    bool skinned = false;
    int baseProps = 0;
};

TEST_P(Coexistence, EveryOrderKeepsTheWindowWhole) {
    const std::string steps = GetParam();
    for (size_t i = 0; i < steps.size(); ++i) {
        Step(steps[i]);
        ExpectAllWorking(steps.substr(0, i + 1));
    }
    // Back to the window's own procedure, with no bookkeeping left behind
    // but the subclassing's empty client count.
    EXPECT_EQ(CurrentProc(form), FormWindow::ClassProc());
    EXPECT_LE(PropCount(form), baseProps + 1);
}

INSTANTIATE_TEST_SUITE_P(Orders, Coexistence,
                         testing::Values("ALCR", "ALRC", "LACR", "LARC", "ALCLCR", "LAACRR", "ALRACR",
                                         "LARACLRC", "ARLACRLC"));

LRESULT CALLBACK ForeignProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC gForeignPrevious = nullptr;
int gForeignCalls = 0;

LRESULT CALLBACK ForeignProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPlainMessage) ++gForeignCalls;
    return CallWindowProcA(gForeignPrevious, hWnd, msg, wParam, lParam);
}

TEST(CoexistenceForeign, RemovingUnderSomebodyElsesProcedureKeepsThemAndStepsOutLater) {
    FakeTray tray;
    FormWindow form;
    auto formObject = Make<FormDouble>(form.hwnd());
    API_AddTrayIcon(formObject.get(), nullptr);
    gForeignCalls = 0;
    gForeignPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    ASSERT_EQ(gForeignPrevious, &glim::API_TrayWindowProc);

    API_RemoveTrayIcon();
    // The foreign procedure stays in place and still reaches the form.
    EXPECT_EQ(CurrentProc(form), &ForeignProc);
    EXPECT_EQ(SendMessageA(form, kPlainMessage, 0, 0), RecordedResult(kPlainMessage));
    EXPECT_EQ(gForeignCalls, 1);
    // The icon is gone: its messages reach the form.
    ClearReceived();
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 0);
    EXPECT_EQ(Received(form, kTrayCallbackMessage), 1);

    // The foreign party restores what it found; the tray procedure leaves at
    // the next message.
    SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gForeignPrevious));
    EXPECT_EQ(SendMessageA(form, kPlainMessage, 0, 0), RecordedResult(kPlainMessage));
    EXPECT_EQ(CurrentProc(form), FormWindow::ClassProc());
    EXPECT_EQ(GetPropA(form, "GlimTray.Previous"), nullptr);

    // A new icon on the same window installs afresh.
    API_AddTrayIcon(formObject.get(), nullptr);
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 1);
    API_RemoveTrayIcon();
    EXPECT_EQ(CurrentProc(form), FormWindow::ClassProc());
}

TEST(CoexistenceForeign, AddingAgainWhileLeftUnderAForeignProcedureReusesThatCopy) {
    FakeTray tray;
    FormWindow form;
    auto formObject = Make<FormDouble>(form.hwnd());
    API_AddTrayIcon(formObject.get(), nullptr);
    gForeignPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    API_RemoveTrayIcon();
    API_AddTrayIcon(formObject.get(), nullptr);
    EXPECT_EQ(CurrentProc(form), &ForeignProc);
    ClearReceived();
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 1);
    EXPECT_EQ(Received(form, kTrayCallbackMessage), 0);
    EXPECT_EQ(SendMessageA(form, kPlainMessage, 0, 0), RecordedResult(kPlainMessage));
    API_RemoveTrayIcon();
    SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gForeignPrevious));
    SendMessageA(form, kPlainMessage, 0, 0);
    EXPECT_EQ(CurrentProc(form), FormWindow::ClassProc());
}

} // namespace
} // namespace traytest
