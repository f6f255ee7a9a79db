// Versolo.exe as a person starts it: the splash, then the main window; the
// About form as a single instance that keeps the program up.
#include "EditorHarness.h"
#include "Registration.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Found {
    DWORD pid;
    std::vector<std::pair<HWND, std::wstring>> windows;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
    auto* found = reinterpret_cast<Found*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != found->pid || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t title[128] = {};
    GetWindowTextW(hwnd, title, 128);
    found->windows.emplace_back(hwnd, title);
    return TRUE;
}

// The visible top-level windows of a process with a title, by title.
std::vector<HWND> WindowsTitled(DWORD pid, const std::wstring& title) {
    Found found{pid, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    std::vector<HWND> out;
    for (const auto& w : found.windows)
        if (w.second == title) out.push_back(w.first);
    return out;
}

class VersoloProcess : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(0u, glimtest::RunRegsvr32()); }
    void SetUp() override {
        std::string cmd = "\"" + glimtest::ExeDir() + "Versolo.exe\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        start = GetTickCount();
        ASSERT_TRUE(
            CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    }
    void TearDown() override {
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    bool Exited(DWORD ms) { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    PROCESS_INFORMATION pi{};
    DWORD start = 0;
};

TEST_F(VersoloProcess, SplashThenOneMainWindowThenAboutAsOneInstance) {
    const std::wstring mainTitle = L"Versolo V1.20", aboutTitle = L"关于 Versolo 1.20";
    ASSERT_TRUE(glimtest::WaitFor([&] { return !WindowsTitled(pi.dwProcessId, L"Form2").empty(); }, 20000));
    EXPECT_TRUE(WindowsTitled(pi.dwProcessId, mainTitle).empty());
    ASSERT_TRUE(glimtest::WaitFor([&] { return !WindowsTitled(pi.dwProcessId, mainTitle).empty(); }, 20000));
    const DWORD shown = GetTickCount() - start;
    EXPECT_TRUE(glimtest::WaitFor([&] { return WindowsTitled(pi.dwProcessId, L"Form2").empty(); }));
    ASSERT_EQ(1u, WindowsTitled(pi.dwProcessId, mainTitle).size());
    HWND main = WindowsTitled(pi.dwProcessId, mainTitle)[0];
    // The splash shows for 1200 ms of it.
    EXPECT_GE(shown, 1200u);
    std::printf("start-up to the main window: %lu ms\n", static_cast<unsigned long>(shown));

    SetForegroundWindow(main);
    for (int i = 0; i < 2; ++i) {
        editortest::ClickMenuItem(main, 1, 0);
        EXPECT_TRUE(glimtest::WaitFor([&] { return WindowsTitled(pi.dwProcessId, aboutTitle).size() == 1; }));
        glimtest::WaitFor([] { return glimtest::FindPopupMenu() == nullptr; });
        SetForegroundWindow(main);
    }
    EXPECT_EQ(1u, WindowsTitled(pi.dwProcessId, aboutTitle).size());
    // Closing the main window leaves the program up while About is open.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(glimtest::WaitFor([&] { return WindowsTitled(pi.dwProcessId, mainTitle).empty(); }));
    EXPECT_FALSE(Exited(300));
    ASSERT_EQ(1u, WindowsTitled(pi.dwProcessId, aboutTitle).size());
    PostMessageW(WindowsTitled(pi.dwProcessId, aboutTitle)[0], WM_CLOSE, 0, 0);
    ASSERT_TRUE(Exited(10000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
}

} // namespace
