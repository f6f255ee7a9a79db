#pragma once
// The host's timer control: an invisible window that raises Timer every
// Interval milliseconds while Enabled.
#include "BuiltinControl.h"
#include "DispatchObject.h"

#include <functional>

namespace glim::host {

class Timer : public DispatchObject<Timer>, public BuiltinControl {
  public:
    static ComPtr<Timer> Create();
    void* Find(REFIID iid) { return FindDispatch(iid); }

    IDispatch* Dispatch() override { return static_cast<IDispatch*>(this); }
    const char* TypeName() const override { return "Timer"; }
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    HWND Window() const override { return hwnd_; }
    void DestroyWindowNow() override;
    void Load(MemoryPropertyBag* bag) override;
    void Save(MemoryPropertyBag* bag) const override;
    bool TakesFocus() const override { return false; }

    long Interval() const { return interval_; }
    void SetInterval(long ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The program's Timer handler; an error it raises is shown, not thrown.
    void OnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    Timer();
    ~Timer() override;
    void Apply();
    void Tick();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr; // hidden window that receives WM_TIMER
    long interval_ = 0;   // milliseconds; 0 never fires
    bool enabled_ = true;
    bool running_ = false; // a system timer is set on hwnd_
    std::function<void()> onTimer_;
};

} // namespace glim::host
