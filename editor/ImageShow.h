#pragma once
// The splash form: a picture for 1200 ms, then the main window.
#include "HostForm.h"
#include "RefCounted.h"

namespace versolo {

class ImageShow : public glim::RefCounted {
  public:
    static glim::ComPtr<ImageShow> Create();
    bool Loaded() const { return form_ && form_->Loaded(); }
    void Show();
    glim::host::HostForm* Form() const { return form_.get(); }

  private:
    ImageShow() = default;
    void Tick();
    glim::ComPtr<glim::host::HostForm> form_;
};

} // namespace versolo
