#pragma once
// The host's timer control: an invisible window that raises Timer every
// Interval milliseconds while Enabled.
#include "IntrinsicControl.h"

#include <functional>

namespace glim::host {

class Timer : public IntrinsicControl<Timer> {
  public:
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    void DestroyWindowNow() override;

    long Interval() const { return interval_; }
    void SetInterval(long ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The program's Timer handler; an error it raises is shown, not thrown.
    void OnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }

  private:
    friend class IntrinsicControl<Timer>;
    Timer();
    static std::span<const Member> Members();
    void Apply();
    void Tick();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    long interval_ = 0; // milliseconds; 0 never fires
    bool enabled_ = true;
    bool running_ = false; // a system timer is set on hwnd_
    std::function<void()> onTimer_;
};

} // namespace glim::host
