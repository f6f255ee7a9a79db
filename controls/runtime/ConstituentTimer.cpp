#include "ConstituentTimer.h"

#include "RuntimeErrors.h"

#include <map>

namespace glim {

namespace {

// Running timers of this thread by system timer id; uncounted, each
// timer removes itself when it stops.  Not MTimer's table: its 100 slots
// and error 13651 are the timer objects' rules, which timer parts must not
// change by taking slots.
thread_local std::map<UINT_PTR, ConstituentTimer*> tRunning;

} // namespace

ConstituentTimer::~ConstituentTimer() {
    Stop();
}

void ConstituentTimer::SetInterval(long ms) {
    if (ms < 0 || ms > 65535) RaiseError(kErrInvalidPropertyValue);
    interval_ = ms;
    Restart();
}

void ConstituentTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void ConstituentTimer::Restart() {
    Stop();
    if (!enabled_ || interval_ == 0) return;
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_), &ConstituentTimer::Tick);
    if (!id_) RaiseError(kErrOutOfMemory);
    tRunning[id_] = this;
}

void ConstituentTimer::Stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    tRunning.erase(id_);
    id_ = 0;
}

void CALLBACK ConstituentTimer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = tRunning.find(id);
    if (it == tRunning.end()) return;
    ConstituentTimer* self = it->second;
    // A copy: the handler may stop, restart or delete this timer, and
    // nothing of it is touched afterwards.  Its errors must not unwind
    // through the dispatch.
    const std::function<void()> handler = self->Timer;
    if (!handler) return;
    try {
        handler();
    } catch (...) {
    }
}

} // namespace glim
