#pragma once
// The About form "关于": two pictures and two labels, no code.
#include "HostForm.h"
#include "RefCounted.h"

namespace versolo {

class AboutForm : public glim::RefCounted {
  public:
    static glim::ComPtr<AboutForm> Create();
    bool Loaded() const { return form_ && form_->Loaded(); }
    void Show();
    glim::host::HostForm* Form() const { return form_.get(); }

  private:
    AboutForm() = default;
    glim::ComPtr<glim::host::HostForm> form_;
};

} // namespace versolo
