#include "CTimer.h"

#include "GlimError.h"
#include "MTimer.h"

namespace glim {

CTimer::CTimer() {
    VariantInit(&item_);
}

CTimer::~CTimer() {
    SetInterval(0);
    VariantClear(&item_);
}

void CTimer::SetItem(const VARIANT& value) {
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantCopy(&copy, const_cast<VARIANT*>(&value)))) return;
    VariantClear(&item_);
    item_ = copy;
}

void CTimer::SetInterval(long iIntervalA) {
    if (iIntervalA > 0) {
        if (iIntervalA == interval_) return; // keeps its identifier and phase
        if (interval_ != 0) MTimer_RemoveTimer(this);
        interval_ = iIntervalA;
        if (!MTimer_AddTimer(this)) CTimer_ErrRaise(kErrCantCreateTimer);
    } else if (interval_ > 0) {
        interval_ = 0;
        MTimer_RemoveTimer(this);
    }
}

void CTimer::PulseTimer() {
    // A copy, so a handler that replaces or clears ThatTime does not destroy
    // the function it is running in.
    const std::function<void()> handler = ThatTime;
    if (handler) handler();
}

void CTimer_ErrRaise(long n) {
    if (n <= 1000) throw Error(n, "", "");
    const char* description = "";
    if (n == kErrTooManyTimers) description = "No more than 10 timers allowed per class";
    if (n == kErrCantCreateTimer) description = "Can't create system timer";
    throw Error(static_cast<long>(0x80040000u | static_cast<unsigned long>(n)), kWindowProcSource,
                description);
}

} // namespace glim
