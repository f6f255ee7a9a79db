#pragma once
// The splash form: a picture for 1200 ms, then the main window.
#include "FormBuilding.h"

namespace glim::host {
class Timer;
}

namespace versolo {

class ImageShow : public EditorForm {
  public:
    static glim::ComPtr<ImageShow> Create();
    // Builds the main window, hidden, while the splash is on screen, so that
    // the tick only shows it.
    void PrepareMainWindow();
    // The main window could not be built; the program ends with a failure.
    bool StartFailed() const { return startFailed_; }

  private:
    ImageShow() = default;
    void Tick();
    glim::host::Timer* timer1_ = nullptr; // view of the splash's timer, which form_ owns
    bool startFailed_ = false;
};

} // namespace versolo
