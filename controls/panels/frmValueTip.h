#pragma once
// The small borderless form that shows a slider's value beside its thumb
// while it is dragged: one per thread, shared by every slider, created on
// first use and unloaded at every release.  It stays out of the taskbar.
#include "ConstituentLabel.h"
#include "LibraryForm.h"

#include <string>

namespace glim {

class frmValueTip : public LibraryForm {
  public:
    // The thread's tip, created when there is none.
    static frmValueTip& Instance();
    // The thread's tip window, 0 when there is none.
    static HWND Window();
    // Unloads and ends the thread's tip, when there is one.
    static void UnloadTip();

    // Sets lblTip's text and fits its width to it; pixels.
    void SetText(const std::string& text);
    double LabelWidth() const { return lblTip.Width(); }
    double LabelHeight() const { return lblTip.Height(); }

  private:
    frmValueTip();
    ~frmValueTip() override;

    ConstituentLabel lblTip; // the value, at (0, 0)
};

} // namespace glim
