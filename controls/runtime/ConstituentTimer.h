#pragma once
// A timer part: raises Timer every Interval milliseconds while Enabled, on
// a system timer of the thread that set it running.
#include "NonCopyable.h"

#include <windows.h>

#include <functional>

namespace glim {

class ConstituentTimer : NonCopyable {
  public:
    ConstituentTimer() = default;
    ~ConstituentTimer();

    // Milliseconds, 0 .. 65535 (others raise 380); 0 never ticks.
    long Interval() const { return interval_; }
    void SetInterval(long ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Errors a handler raises end that tick only.
    std::function<void()> Timer;

  private:
    void Restart();
    void Stop();
    static void CALLBACK Tick(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);

    UINT_PTR id_ = 0;   // running system timer, 0 when stopped
    long interval_ = 0; // milliseconds
    bool enabled_ = true;
};

} // namespace glim
