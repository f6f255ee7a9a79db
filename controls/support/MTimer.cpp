#include "MTimer.h"
#include "NonCopyable.h"

#include <array>
#include <utility>

namespace glim {

namespace {

// The running timers of one thread.  Going away with the thread, it kills
// what still runs before it lets go of the objects.
struct TimerTable : NonCopyable {
    std::array<Ref<CTimer>, kTimerSlots + 1> slots; // 1..100; 0 unused
    short count = 0;                                // highest slot ever filled

    TimerTable() = default;
    ~TimerTable() {
        for (auto& slot : slots) {
            const Ref<CTimer> timer = std::exchange(slot, Ref<CTimer>());
            if (timer) KillTimer(nullptr, timer->TimerID());
        }
    }
};

thread_local TimerTable tTable;

} // namespace

bool MTimer_AddTimer(CTimer* timer) {
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(timer->Interval()), &MTimer_TimerProc);
    timer->SetTimerID(id);
    if (id == 0) {
        timer->SetInterval(0); // finds nothing to remove: it is in no slot
        return false;
    }
    for (int i = 1; i <= kTimerSlots; ++i) {
        if (tTable.slots[i]) continue;
        tTable.slots[i] = Ref<CTimer>(timer);
        if (i > tTable.count) tTable.count = static_cast<short>(i);
        return true;
    }
    // Full: a system timer whose ticks no slot would take must not live on,
    // and the object is left stopped so a later start really starts it.
    KillTimer(nullptr, id);
    timer->SetTimerID(0);
    timer->SetInterval(0);
    CTimer_ErrRaise(kErrTooManyTimers);
}

bool MTimer_RemoveTimer(CTimer* timer) {
    for (int i = 1; i <= tTable.count; ++i) {
        Ref<CTimer>& slot = tTable.slots[i];
        if (!slot || slot->TimerID() != timer->TimerID()) continue;
        KillTimer(nullptr, slot->TimerID());
        // Emptied before the reference goes, since dropping it may destroy
        // the timer, whose destructor comes back here.
        const Ref<CTimer> gone = std::exchange(slot, Ref<CTimer>());
        return true;
    }
    return false;
}

VOID CALLBACK MTimer_TimerProc(HWND /*hWnd*/, UINT /*uMsg*/, UINT_PTR idEvent, DWORD /*dwTime*/) {
    for (int i = 1; i <= tTable.count; ++i) {
        if (!tTable.slots[i] || tTable.slots[i]->TimerID() != idEvent) continue;
        // Held for the whole pulse: the handler may stop the timer, which
        // empties the slot and would otherwise drop its last reference.
        const Ref<CTimer> timer = tTable.slots[i];
        try {
            timer->PulseTimer();
        } catch (...) {
            // No error may unwind through the system's timer dispatch.
        }
        return;
    }
}

CTimer* MTimer_Timers(int slot) {
    if (slot < 1 || slot > kTimerSlots) return nullptr;
    return tTable.slots[slot].get();
}

short MTimer_TimerCount() {
    return tTable.count;
}

} // namespace glim
