#pragma once
// The balloon's drop shadow: a borderless, topmost, non-activating dark grey
// form of the balloon's outline, 2 pixels right of and below it, made
// translucent where the system has layered windows.  One per thread, made
// and dropped together with the balloon.
#include "LibraryForm.h"

namespace glim {

class frmShadow final : public LibraryForm {
  public:
    frmShadow();
    ~frmShadow() override;

    // The thread's shadow, made on first use.
    static frmShadow& Instance();
    // Unloads the thread's shadow and drops it.
    static void Release();

  protected:
    void OnLoad() override;
    bool CanGetFocus() const override { return false; }
};

} // namespace glim
