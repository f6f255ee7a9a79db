#pragma once
// The About form "关于": two pictures and two labels, no code.
#include "FormBuilding.h"

namespace versolo {

class AboutForm : public EditorForm {
  public:
    static glim::ComPtr<AboutForm> Create();

  private:
    AboutForm() = default;
};

} // namespace versolo
