#pragma once
// The splash form: a picture for 1200 ms, then the main window.
#include "HostForm.h"
#include "RefCounted.h"

namespace glim::host {
class Timer;
}

namespace versolo {

class ImageShow : public glim::RefCounted {
  public:
    static glim::ComPtr<ImageShow> Create();
    bool Loaded() const { return form_ && form_->Loaded(); }
    void Show();
    glim::host::HostForm* Form() const { return form_.get(); }
    // The main window could not be built; the program ends with a failure.
    bool StartFailed() const { return startFailed_; }

  private:
    ImageShow() = default;
    void Tick();
    glim::ComPtr<glim::host::HostForm> form_;
    glim::host::Timer* timer1_ = nullptr; // view of the splash's timer, which form_ owns
    bool startFailed_ = false;
};

} // namespace versolo
