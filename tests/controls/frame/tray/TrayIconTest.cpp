// The tray icon module: icon requests reaching the shell, the callback
// message, the tip field and the form's window procedure.
#include <gtest/gtest.h>

#include <string>

#include "API.h"
#include "GlimError.h"
#include "TrayHarness.h"
#include "pump.h"

namespace traytest {
namespace {

using glim::API_AddTrayIcon;
using glim::API_RemoveTrayIcon;
using glim::API_SetTrayTip;
using glim::API_TrayWindowProc;
using glim::kTrayCallbackMessage;

class TrayIcon : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(IsWindow(form));
        ClearReceived();
        tray.Clear();
    }
    void TearDown() override { API_RemoveTrayIcon(); }

    std::vector<IconRequest> RequestsOf(DWORD message) const {
        std::vector<IconRequest> r;
        for (const auto& q : tray.Requests())
            if (q.message == message) r.push_back(q);
        return r;
    }

    FakeTray tray;
    FormWindow form;
    ComPtr<FormDouble> formObject = Make<FormDouble>(form.hwnd());
    ComPtr<MenuDouble> menu = Make<MenuDouble>();
};

TEST_F(TrayIcon, AddShowsTheFormIconWithItsCallbackAndRemoveDeletesIt) {
    API_AddTrayIcon(formObject.get(), menu.get());
    auto adds = RequestsOf(NIM_ADD);
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].hWnd, form.hwnd());
    EXPECT_EQ(adds[0].uID, 0u);
    EXPECT_EQ(adds[0].uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(adds[0].callback, kTrayCallbackMessage);

    API_SetTrayTip(L"Versolo");
    auto modifies = RequestsOf(NIM_MODIFY);
    ASSERT_EQ(modifies.size(), 1u);
    EXPECT_EQ(modifies[0].uFlags, static_cast<UINT>(NIF_TIP));
    EXPECT_EQ(modifies[0].tip, L"Versolo" + std::wstring(63 - 7, L' '));

    API_RemoveTrayIcon();
    auto deletes = RequestsOf(NIM_DELETE);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].hWnd, form.hwnd());
    EXPECT_EQ(deletes[0].uID, 0u);
}

TEST_F(TrayIcon, RemoveWithoutAnIconDoesNothing) {
    const WNDPROC before = CurrentProc(form);
    API_RemoveTrayIcon();
    API_RemoveTrayIcon();
    EXPECT_TRUE(tray.Requests().empty());
    EXPECT_EQ(CurrentProc(form), before);
    EXPECT_EQ(SendMessageA(form, WM_USER + 7, 0, 0), RecordedResult(WM_USER + 7));
}

TEST_F(TrayIcon, TipWithoutAnIconIsKeptAndReachesNoShell) {
    API_SetTrayTip(L"nobody");
    EXPECT_TRUE(tray.Requests().empty());
}

TEST_F(TrayIcon, LeftReleaseFocusesTheFormAndRightReleasePopsTheMenu) {
    API_AddTrayIcon(formObject.get(), menu.get());
    EXPECT_EQ(SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP), 0);
    EXPECT_EQ(formObject->focusCalls, 1);
    EXPECT_TRUE(formObject->popups.empty());

    // Another window in front, as when the user works elsewhere: the menu's
    // owner comes to the foreground first, or the menu would not close on
    // a click outside it.
    FormWindow other;
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other.hwnd());
    EXPECT_EQ(SendMessageA(form, kTrayCallbackMessage, 0, WM_RBUTTONUP), 0);
    ASSERT_EQ(formObject->popups.size(), 1u);
    EXPECT_EQ(formObject->popups[0], static_cast<IDispatch*>(menu.get()));
    EXPECT_EQ(formObject->popupForeground[0], form.hwnd());
    // No flags, position or default item: the menu opens at the cursor.
    EXPECT_EQ(formObject->popupArgCount[0], 1u);
    EXPECT_EQ(formObject->focusCalls, 1);
    // Neither release went on to the form's own procedure.
    EXPECT_EQ(Received(form, kTrayCallbackMessage), 0);
}

TEST_F(TrayIcon, OtherIconMessagesGoOnToThePreviousProcedure) {
    API_AddTrayIcon(formObject.get(), menu.get());
    int expected = 0;
    for (LPARAM other : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONUP}) {
        SendMessageA(form, kTrayCallbackMessage, 0, other);
        EXPECT_EQ(Received(form, kTrayCallbackMessage), ++expected) << "lParam " << other;
    }
    EXPECT_EQ(formObject->focusCalls, 0);
    EXPECT_TRUE(formObject->popups.empty());
    // Any other message and its result pass through untouched.
    EXPECT_EQ(SendMessageA(form, WM_USER + 3, 0, 0), RecordedResult(WM_USER + 3));
}

TEST_F(TrayIcon, AFailingFormDoesNotBreakTheWindow) {
    API_AddTrayIcon(formObject.get(), menu.get());
    formObject->failCalls = true;
    EXPECT_EQ(SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP), 0);
    EXPECT_EQ(SendMessageA(form, kTrayCallbackMessage, 0, WM_RBUTTONUP), 0);
    EXPECT_EQ(SendMessageA(form, WM_USER + 4, 0, 0), RecordedResult(WM_USER + 4));
}

TEST_F(TrayIcon, AddAndRemoveRestoreTheExactProcedure) {
    const WNDPROC before = CurrentProc(form);
    ASSERT_EQ(before, FormWindow::ClassProc());
    API_AddTrayIcon(formObject.get(), menu.get());
    EXPECT_EQ(CurrentProc(form), &API_TrayWindowProc);
    API_RemoveTrayIcon();
    EXPECT_EQ(CurrentProc(form), before);
    // The form's own procedure gets the icon messages again.
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(Received(form, kTrayCallbackMessage), 1);
    EXPECT_EQ(formObject->focusCalls, 0);
}

TEST_F(TrayIcon, RemovingLetsGoOfTheFormAndMenu) {
    const ULONG formRefs = formObject->RefCount(), menuRefs = menu->RefCount();
    API_AddTrayIcon(formObject.get(), menu.get());
    EXPECT_GT(formObject->RefCount(), formRefs);
    EXPECT_GT(menu->RefCount(), menuRefs);
    API_RemoveTrayIcon();
    EXPECT_EQ(formObject->RefCount(), formRefs);
    EXPECT_EQ(menu->RefCount(), menuRefs);
}

TEST_F(TrayIcon, AddingTwiceToOneFormNeitherRecursesNorLeavesAHook) {
    const WNDPROC before = CurrentProc(form);
    API_AddTrayIcon(formObject.get(), menu.get());
    API_AddTrayIcon(formObject.get(), menu.get());
    // A procedure that recorded itself as its predecessor would never return.
    EXPECT_EQ(SendMessageA(form, WM_USER + 9, 0, 0), RecordedResult(WM_USER + 9));
    EXPECT_EQ(Received(form, WM_USER + 9), 1);
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 1);
    EXPECT_EQ(RequestsOf(NIM_ADD).size(), 2u);
    EXPECT_EQ(RequestsOf(NIM_DELETE).size(), 1u);
    API_RemoveTrayIcon();
    EXPECT_EQ(CurrentProc(form), before);
    EXPECT_EQ(RequestsOf(NIM_DELETE).size(), 2u);
}

TEST_F(TrayIcon, AddingForASecondFormMovesTheIcon) {
    FormWindow second;
    auto secondObject = Make<FormDouble>(second.hwnd());
    API_AddTrayIcon(formObject.get(), menu.get());
    API_AddTrayIcon(secondObject.get(), menu.get());
    EXPECT_EQ(CurrentProc(form), FormWindow::ClassProc());
    EXPECT_EQ(CurrentProc(second), &API_TrayWindowProc);
    ASSERT_EQ(RequestsOf(NIM_DELETE).size(), 1u);
    EXPECT_EQ(RequestsOf(NIM_DELETE)[0].hWnd, form.hwnd());
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    SendMessageA(second, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 0);
    EXPECT_EQ(secondObject->focusCalls, 1);
    API_RemoveTrayIcon();
    EXPECT_EQ(CurrentProc(second), FormWindow::ClassProc());
}

TEST_F(TrayIcon, AFormDestroyedWithItsIconTakesTheIconAlong) {
    auto doomed = std::make_unique<FormWindow>();
    const HWND hWnd = doomed->hwnd();
    auto doomedObject = Make<FormDouble>(hWnd);
    const ULONG refs = doomedObject->RefCount();
    API_AddTrayIcon(doomedObject.get(), menu.get());
    doomed.reset();
    ASSERT_FALSE(IsWindow(hWnd));
    ASSERT_EQ(RequestsOf(NIM_DELETE).size(), 1u);
    EXPECT_EQ(RequestsOf(NIM_DELETE)[0].hWnd, hWnd);
    EXPECT_EQ(doomedObject->RefCount(), refs);
    // Nothing is left to remove, and the next icon works as usual.
    API_RemoveTrayIcon();
    EXPECT_EQ(RequestsOf(NIM_DELETE).size(), 1u);
    API_AddTrayIcon(formObject.get(), menu.get());
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 1);
}

TEST_F(TrayIcon, AWindowThatIsNotOneRaisesAndChangesNothing) {
    auto ghost = Make<FormDouble>(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7FF0)));
    API_AddTrayIcon(formObject.get(), menu.get());
    EXPECT_THROW(API_AddTrayIcon(ghost.get(), menu.get()), glim::Error);
    SendMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(formObject->focusCalls, 1);
}

TEST_F(TrayIcon, TheIconAddsAnAboutItemToTheSystemMenuAndTakesItAway) {
    HMENU sys = GetSystemMenu(form, FALSE);
    ASSERT_NE(sys, nullptr);
    const int items = GetMenuItemCount(sys);
    ASSERT_EQ(GetMenuState(sys, glim::kAboutCommand, MF_BYCOMMAND), static_cast<UINT>(-1));
    API_AddTrayIcon(formObject.get(), menu.get());
    sys = GetSystemMenu(form, FALSE);
    EXPECT_NE(GetMenuState(sys, glim::kAboutCommand, MF_BYCOMMAND), static_cast<UINT>(-1));
    char text[64] = {};
    GetMenuStringA(sys, glim::kAboutCommand, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "\xB9\xD8\xD3\xDA..."); // 关于...
    API_RemoveTrayIcon();
    sys = GetSystemMenu(form, FALSE);
    EXPECT_EQ(GetMenuState(sys, glim::kAboutCommand, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuItemCount(sys), items);
}

TEST_F(TrayIcon, OtherSystemCommandsGoOnToTheForm) {
    API_AddTrayIcon(formObject.get(), menu.get());
    SendMessageA(form, WM_SYSCOMMAND, glim::kAboutCommand + 0x10, 0);
    EXPECT_EQ(Received(form, WM_SYSCOMMAND), 1);
}

} // namespace
} // namespace traytest
