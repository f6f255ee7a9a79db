#include "Timer.h"

#include "HandlerGuard.h"
#include "GlimError.h"

#include <olectl.h>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostTimer";
const UINT_PTR kTimerId = 1;
} // namespace

std::span<const Timer::Member> Timer::Members() {
    static const Member members[] = {
        {"Interval", 1, &Timer::interval_, kPersist | kSaveAlways, 0, {}, &Timer::SetInterval},
        {"Enabled", DISPID_ENABLED, &Timer::enabled_, kPersist | kSaveAlways, 0, {}, &Timer::SetEnabled},
    };
    return members;
}

Timer::Timer() : IntrinsicControl("Timer", Members()) {}

HWND Timer::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    // The window only carries the system timer.
    MakeHiddenWindow(kClass, WindowProc, parent, px);
    Apply();
    return hwnd_;
}

void Timer::DestroyWindowNow() {
    if (hwnd_ && running_) KillTimer(hwnd_, kTimerId);
    running_ = false;
    IntrinsicControl::DestroyWindowNow();
}

void Timer::SetInterval(long ms) {
    if (ms < 0 || ms > 65535) throw glim::Error(380, "Timer", "Invalid property value");
    interval_ = ms;
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::Apply() {
    if (!hwnd_) return;
    if (running_) KillTimer(hwnd_, kTimerId);
    running_ = enabled_ && interval_ > 0 && SetTimer(hwnd_, kTimerId, static_cast<UINT>(interval_), nullptr);
}

void Timer::Tick() {
    // The handler may unload the form and with it this timer.
    ComPtr<Timer> keep(this);
    if (std::function<void()> handler = onTimer_) RunHandler(handler);
}

LRESULT CALLBACK Timer::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kTimerId) {
        if (auto* self = reinterpret_cast<Timer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
            if (self->running_) self->Tick();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace glim::host
