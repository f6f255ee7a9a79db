#include "Timer.h"

#include "HandlerGuard.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

#include <olectl.h>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostTimer";
const DISPID kInterval = 1, kEnabled = DISPID_ENABLED;
const UINT_PTR kTimerId = 1;
} // namespace

ComPtr<Timer> Timer::Create() {
    return ComPtr<Timer>(new Timer());
}

Timer::Timer() {
    table_.AddProperty(
        "Interval", kInterval, [this] { return Variant::Long(interval_); },
        [this](const Variant& v) { SetInterval(v.ToLong()); });
    table_.AddProperty(
        "Enabled", kEnabled, [this] { return Variant::Bool(enabled_); },
        [this](const Variant& v) { SetEnabled(v.ToBool()); });
}

Timer::~Timer() {
    DestroyWindowNow();
}

ComPtr<ITypeInfo> Timer::TypeInfo() {
    return TypeNameInfo::Create("Timer", GUID_NULL, TKIND_COCLASS);
}

HWND Timer::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    EnsureWindowClass(kClass, WindowProc);
    // Never visible: the window only carries the system timer.
    hwnd_ = CreateWindowExA(0, kClass, "", WS_CHILD, px.left, px.top, 0, 0, parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Apply();
    return hwnd_;
}

void Timer::DestroyWindowNow() {
    if (!hwnd_) return;
    if (running_) KillTimer(hwnd_, kTimerId);
    running_ = false;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void Timer::Load(MemoryPropertyBag* bag) {
    if (!bag) return;
    if (bag->Contains("Interval")) interval_ = bag->Get("Interval").ToLong();
    if (bag->Contains("Enabled")) enabled_ = bag->Get("Enabled").ToBool();
    if (interval_ < 0 || interval_ > 65535) throw glim::Error(380, "Timer", "Invalid property value");
}

void Timer::Save(MemoryPropertyBag* bag) const {
    bag->Set("Interval", Variant::Long(interval_));
    bag->Set("Enabled", Variant::Bool(enabled_));
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
