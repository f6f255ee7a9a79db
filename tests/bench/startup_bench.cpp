// Versolo from process start to its main window shown and painted, against
// Wine's notepad from its start to its window painted, in the same prefix
// and the same run.
//
// Both programs are started here and watched from this process only: no
// hook or code goes into them.  A window counts as shown and painted once it
// is visible with its title and neither it nor any visible window inside it
// has anything left to paint (an empty update region: the server computes
// it when a window is shown, and only the program's own painting empties
// it).  The poll runs every millisecond, so each time is late by at most one
// poll.
//
// Run under count_requests.sh, each program's requests from its start to
// these moments are counted in the server's trace (they do not depend on
// the machine's speed); times are the best of several rounds and are given
// as ratios of the two programs.
//
//   tests/bench/count_requests.sh build/x86_64/bin/startup_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Handles.h"
#include "RequestMarks.h"
#include "Clock.h"
#include "programs.h"

namespace {

constexpr int kRounds = 3;
constexpr double kSplashMs = 1200;

BOOL CALLBACK AnyUnpainted(HWND hwnd, LPARAM found) {
    if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// Visible, and nothing in it waits to be painted.
bool ShownAndPainted(HWND top) {
    if (!IsWindowVisible(top) || GetUpdateRect(top, nullptr, FALSE)) return false;
    bool unpainted = false;
    EnumChildWindows(top, AnyUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

// A visible top-level window of the process with this title (any title when null).
HWND WindowOf(DWORD pid, const wchar_t* title) {
    for (HWND w : glimtest::VisibleWindowsOf(pid)) {
        const std::wstring text = glimtest::TitleOf(w);
        if (title ? text == title : !text.empty()) return w;
    }
    return nullptr;
}

struct Stage {
    const wchar_t* title; // the window that ends the stage; null for any titled one
    const char* label;    // the stage's requests in count_requests.sh's output
    double ms = -1;       // from process start, -1 when it never came
};

// Starts a program and waits for each stage's window in turn.
bool Run(std::string cmd, std::vector<Stage>& stages) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    glimbench::BeginStartedRequests(stages.front().label);
    const double t0 = NowMs();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        glimbench::EndRequests();
        return false;
    }
    const glim::UniqueHandle<HANDLE, glim::CloseKernelHandle> process(pi.hProcess), thread(pi.hThread);
    bool all = true;
    for (size_t i = 0; i < stages.size(); ++i) {
        Stage& s = stages[i];
        while (NowMs() - t0 < 30000) {
            HWND w = WindowOf(pi.dwProcessId, s.title);
            if (w && ShownAndPainted(w)) {
                s.ms = NowMs() - t0;
                break;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        glimbench::EndRequests();
        if (s.ms < 0) {
            all = false;
            break;
        }
        // The next stage's count goes on from here.
        if (i + 1 < stages.size()) glimbench::BeginStartedRequests(stages[i + 1].label);
    }
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 5000);
    return all;
}

// Registers the GlimForm.dll of a build's folder, as run.sh does, so the
// benchmark runs in any prefix and each Versolo gets its own controls.
bool RegisterControls(const std::string& dir) {
    const glim::OwnedModule dll(LoadLibraryA((dir + "GlimForm.dll").c_str()));
    if (!dll) return false;
    const auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll.get(), "DllRegisterServer")));
    return reg && SUCCEEDED(reg());
}

// One Versolo build and its best times.
struct Build {
    std::string dir;    // with its GlimForm.dll, ending in a separator
    std::string prefix; // of its stages' labels
    double splash = 1e30, main = 1e30;
};

} // namespace

// startup_bench [folder of another build]: that build's Versolo is measured
// too, in the same rounds ("before-" labels), against the same notepad.
int main(int argc, char** argv) {
    std::vector<Build> builds;
    if (argc > 1) {
        std::string other = argv[1];
        if (other.back() != '\\' && other.back() != '/') other += '\\';
        builds.push_back({other, "before-"});
    }
    builds.push_back({glimtest::ExeDir(), ""});
    double notepad = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        for (Build& b : builds) {
            if (!RegisterControls(b.dir)) {
                std::printf("start-up: %sGlimForm.dll did not register\n", b.dir.c_str());
                return 1;
            }
            const std::string splashLabel = b.prefix + "versolo-start-to-splash",
                              mainLabel = b.prefix + "versolo-splash-to-main";
            std::vector<Stage> v{{L"Form2", splashLabel.c_str()}, {L"Versolo V1.20", mainLabel.c_str()}};
            if (!Run(std::string("\"").append(b.dir).append("Versolo.exe\""), v)) {
                std::printf("start-up: %sVersolo.exe showed no main window\n", b.dir.c_str());
                return 1;
            }
            b.splash = std::min(b.splash, v[0].ms);
            b.main = std::min(b.main, v[1].ms);
        }
        std::vector<Stage> n{{nullptr, "notepad-start-to-window"}};
        if (!Run("notepad.exe", n)) {
            std::printf("start-up: notepad showed no window\n");
            return 1;
        }
        notepad = std::min(notepad, n[0].ms);
    }
    std::printf("start to window shown and painted (best of %d):\n", kRounds);
    for (const Build& b : builds) {
        std::printf("  %-7s Versolo splash %8.1f ms, main window %8.1f ms\n",
                    b.prefix.empty() ? "" : "before", b.splash, b.main);
        std::printf(
            "  %-7s Versolo beyond its %.0f ms splash: %8.1f ms   ratio to notepad %5.2f   (goal <= 1.5)\n",
            b.prefix.empty() ? "" : "before", kSplashMs, b.main - kSplashMs, (b.main - kSplashMs) / notepad);
    }
    std::printf("  notepad %8.1f ms\n", notepad);
    std::printf(
        "server requests: count_requests.sh prints each stage's; goal: Versolo's two stages together\n"
        "  <= 1.25 x notepad-start-to-window\n");
    return 0;
}
