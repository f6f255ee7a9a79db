#pragma once
// A system timer as an object: a positive Interval starts it, 0 stops it,
// and every tick raises ThatTime.  While running, the thread's timer table
// holds a counted reference, so a timer lives until its Interval is set to 0.
#include <windows.h>
#include <oleauto.h>

#include <functional>

#include "RefCounted.h"

namespace glim {

// Error numbers raised by the timer classes (as 0x80040000 | n).
inline constexpr long kErrTooManyTimers = 13651;
inline constexpr long kErrCantCreateTimer = 13652;

class CTimer : public RefCounted {
  public:
    CTimer();

    // One value the owner keeps with the timer (objects included); never read here.
    const VARIANT& Item() const { return item_; }
    void SetItem(const VARIANT& value);

    long Interval() const { return interval_; }
    // Starts, restarts or stops the timer.  Throws 13651 when the thread
    // already runs 100 timers and 13652 when the system gives no timer; the
    // timer is left stopped either way.
    void SetInterval(long iIntervalA);

    // Raises ThatTime.
    void PulseTimer();

    // For the timer module only.
    UINT_PTR TimerID() const { return timerID_; }
    void SetTimerID(UINT_PTR id) { timerID_ = id; }

    // The event.  The owner sets it; it may stop the timer or replace the
    // handler from inside, the running call is kept alive until it returns.
    std::function<void()> ThatTime;

  protected:
    ~CTimer() override;

  private:
    VARIANT item_;         // the owner's value
    long interval_ = 0;    // milliseconds, 0 = stopped
    UINT_PTR timerID_ = 0; // system timer of the last start, 0 = none; kept after a stop
};

// Throws the timer error n: n <= 1000 alone, otherwise 0x80040000 | n with
// kWindowProcSource and the description.
[[noreturn]] void CTimer_ErrRaise(long n);

} // namespace glim
