#pragma once
// The system side of CTimer: one table per thread of running timers and the
// timer procedure every system timer calls.
#include <windows.h>

#include "CTimer.h"

namespace glim {

inline constexpr int kTimerSlots = 100;

// Creates the system timer and puts the timer in the lowest empty slot.
// False when the system gives no timer; throws 13651 when every slot is
// taken (after killing the system timer it just made).
bool MTimer_AddTimer(CTimer* timer);

// Kills the system timer of the first slot holding the timer's identifier
// and empties the slot; false when there is none.
bool MTimer_RemoveTimer(CTimer* timer);

// The timer procedure, installed by address.
VOID CALLBACK MTimer_TimerProc(HWND hWnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);

// This thread's table, for inspection: the timer in slot 1..100 (uncounted,
// null when empty) and the highest slot ever filled.
CTimer* MTimer_Timers(int slot);
short MTimer_TimerCount();

} // namespace glim
