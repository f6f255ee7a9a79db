// Versolo.exe as a person starts it: the splash, then the main window; the
// About form as a single instance that keeps the program up.
#include "EditorHarness.h"
#include "Registration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using editortest::CenterOf;

namespace {

// The visible top-level windows of a process with a title, by title.
std::vector<HWND> WindowsTitled(DWORD pid, const std::wstring& title) {
    std::vector<HWND> titled;
    for (HWND w : glimtest::VisibleWindowsOf(pid))
        if (glimtest::TitleOf(w) == title) titled.push_back(w);
    return titled;
}

// The visible message boxes and dialogs of a process.
std::vector<HWND> DialogsOf(DWORD pid) {
    std::vector<HWND> dialogs;
    for (HWND w : glimtest::VisibleWindowsOf(pid)) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0) dialogs.push_back(w);
    }
    return dialogs;
}

class VersoloProcess : public testing::Test {
  protected:
    static void SetUpTestSuite() { glimtest::RegisterLibraryOnce(); }
    void Start() {
        std::string cmd = glimtest::ExeDir() + "Versolo.exe";
        cmd.insert(cmd.begin(), '"');
        cmd.push_back('"');
        STARTUPINFOA si{};
        si.cb = sizeof si;
        start = GetTickCount();
        ASSERT_TRUE(
            CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    }
    void TearDown() override {
        if (!pi.hProcess) return;
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
    Start();
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

    // Help > About from the keyboard: the menus belong to the other process.
    for (int i = 0; i < 2; ++i) {
        SetForegroundWindow(main);
        ASSERT_TRUE(glimtest::WaitFor([&] { return GetForegroundWindow() == main; }));
        for (WORD vk : {VK_F10, VK_RIGHT, VK_DOWN, VK_RETURN}) {
            glimtest::PressKey(vk);
            if (vk == VK_DOWN) glimtest::WaitFor([] { return glimtest::FindPopupMenu() != nullptr; });
        }
        EXPECT_TRUE(glimtest::WaitFor([&] { return WindowsTitled(pi.dwProcessId, aboutTitle).size() == 1; }));
        glimtest::WaitFor([] { return glimtest::FindPopupMenu() == nullptr; });
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

// The main window is built, hidden, behind the splash; closing the splash
// before its tick still ends the program.
TEST_F(VersoloProcess, ClosingTheSplashBeforeItsTickEndsTheProgram) {
    Start();
    HWND main = nullptr;
    ASSERT_TRUE(glimtest::WaitFor(
        [&] {
            DWORD pid = 0;
            main = FindWindowW(nullptr, L"Versolo V1.20");
            if (main) GetWindowThreadProcessId(main, &pid);
            return pid == pi.dwProcessId;
        },
        20000));
    EXPECT_FALSE(IsWindowVisible(main));
    const std::vector<HWND> splash = WindowsTitled(pi.dwProcessId, L"Form2");
    ASSERT_EQ(1u, splash.size());
    PostMessageW(splash[0], WM_CLOSE, 0, 0);
    ASSERT_TRUE(Exited(10000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
}

// Without the controls registered the main window cannot be built: one
// message says so and what to run, and the program ends with a failure.
TEST_F(VersoloProcess, WithoutRegisteredControlsOneMessageThenAFailureCode) {
    struct Reregister {
        ~Reregister() { EXPECT_EQ(0u, glimtest::RunRegsvr32()); }
    } reregister;
    ASSERT_EQ(0u, glimtest::RunRegsvr32("/u"));
    Start();
    ASSERT_TRUE(glimtest::WaitFor([&] { return !DialogsOf(pi.dwProcessId).empty(); }, 20000));
    HWND box = DialogsOf(pi.dwProcessId)[0];
    const std::wstring text = glimtest::DialogText(box);
    EXPECT_NE(std::wstring::npos, text.find(L"regsvr32 GlimForm.dll")) << glim::Narrow(text.c_str());
    // Two more splash periods bring no second box.
    size_t most = 0;
    glimtest::WaitFor([&] { return (most = std::max(most, DialogsOf(pi.dwProcessId).size())) > 1; }, 3000);
    EXPECT_EQ(1u, most);
    glimtest::ClickAt(CenterOf(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(Exited(10000));
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_NE(0u, code);
}

} // namespace
