#include "input.h"

#include "programs.h"
#include "pump.h"

#include <algorithm>
#include <vector>

namespace glimtest {

void SendMouse(DWORD flags, LONG x, LONG y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.dx = x;
    in.mi.dy = y;
    SendInput(1, &in, sizeof in);
}

namespace {
// Screen coordinates on the 0..65535 scale of absolute moves, rounded up so
// that the system's conversion back lands on the same pixel.
LONG Absolute(LONG v, int extent) {
    return static_cast<LONG>((v * 65536LL + extent - 1) / extent);
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lParam) {
    auto* out = reinterpret_cast<std::wstring*>(lParam);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    if (!*text) return TRUE;
    if (!out->empty()) *out += L"\n";
    *out += text;
    return TRUE;
}
} // namespace

void MoveTo(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // The pointer stops at the screen's edges.
    const POINT at{std::clamp(screen.x, 0L, static_cast<LONG>(w - 1)),
                   std::clamp(screen.y, 0L, static_cast<LONG>(h - 1))};
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Absolute(at.x, w), Absolute(at.y, h));
    PumpUntil([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == at.x && now.y == at.y;
    });
}

void MouseButtons(std::initializer_list<DWORD> flags) {
    for (DWORD f : flags)
        SendMouse(f);
}

void ClickAt(POINT screen) {
    // The position travels with each button event: a pointer move the system
    // makes in between (a window that appears under the old position) would
    // otherwise take the click there.
    const LONG x = Absolute(screen.x, GetSystemMetrics(SM_CXSCREEN));
    const LONG y = Absolute(screen.y, GetSystemMetrics(SM_CYSCREEN));
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button, x, y);
}

void ClickClient(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    ClickAt(p);
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> in;
    for (wchar_t c : text) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = c;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        in.push_back(down);
        in.push_back(up);
    }
    if (!in.empty()) SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void PressKey(WORD vk, bool shift) {
    std::vector<INPUT> in;
    const auto key = [&](WORD k, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    if (shift) key(VK_SHIFT, 0);
    key(vk, 0);
    key(vk, KEYEVENTF_KEYUP);
    if (shift) key(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

HWND FindDialog(const std::wstring& titlePart, HWND owner) {
    for (HWND w : VisibleWindowsOf(GetCurrentProcessId())) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (lstrcmpW(cls, L"#32770") != 0) continue;
        if (owner && GetWindow(w, GW_OWNER) != owner) continue;
        if (TitleOf(w).find(titlePart) != std::wstring::npos) return w;
    }
    return nullptr;
}

std::wstring DialogText(HWND dialog) {
    std::wstring out;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&out));
    return out;
}

BackgroundInput::BackgroundInput(std::function<void()> script) : script_(std::move(script)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BackgroundInput::~BackgroundInput() {
    Join();
}

bool BackgroundInput::Finished() const {
    return !thread_ || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
}

void BackgroundInput::Join() {
    if (!thread_) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI BackgroundInput::Run(void* param) {
    static_cast<BackgroundInput*>(param)->script_();
    return 0;
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start >= timeoutMs) return pred();
        Sleep(10); // another thread's windows change; there is no queue here to wait on
    }
    return true;
}

HWND FindPopupMenu() {
    // Hidden popup windows may stay behind a visible one.
    HWND popup = nullptr;
    while ((popup = FindWindowExW(nullptr, popup, L"#32768", nullptr)) != nullptr)
        if (IsWindowVisible(popup)) return popup;
    return nullptr;
}

DialogWatcher::DialogWatcher(Action action, DWORD timeoutMs, const std::wstring& titlePart)
    : action_(std::move(action)), timeoutMs_(timeoutMs), titlePart_(titlePart) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogWatcher::~DialogWatcher() {
    Join();
}

bool DialogWatcher::Join() {
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return ran_;
}

bool DialogWatcher::Finished() const {
    return !thread_ || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
}

DWORD WINAPI DialogWatcher::Run(void* param) {
    auto* self = static_cast<DialogWatcher*>(param);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < self->timeoutMs_) {
        HWND dialog = FindDialog(self->titlePart_);
        // Enabled: the dialog has finished its start-up and takes input.
        if (dialog && IsWindowEnabled(dialog)) {
            SetForegroundWindow(dialog);
            self->action_(dialog);
            self->ran_ = true;
            return 0;
        }
        Sleep(20); // polling another thread's windows; this thread has no queue to wait on
    }
    return 0;
}

} // namespace glimtest
