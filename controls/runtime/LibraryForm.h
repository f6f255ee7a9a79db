#pragma once
// A top-level form of the library: loaded and unloaded, shown modeless or
// modal, placed in twips of the screen, with a back colour, a picture and
// constituents.  Touching a loaded form's geometry or showing it loads it.
#include "ComPtr.h"
#include "ConstituentHost.h"
#include "SurfaceWindow.h"

#include <olectl.h>

#include <memory>
#include <optional>
#include <string>

namespace glim {

// How a form looks before it is loaded; positions and sizes in twips.
struct FormDesign {
    bool captionBar = true;    // false: no border and no caption bar
    bool showInTaskbar = true; // false: a tool window the taskbar leaves out
    bool activates = true;     // false: showing or clicking it leaves the active window alone
    long left = 0;             // outer rectangle in twips of the screen
    long top = 0;
    long width = 4800;
    long height = 3600;
    std::string caption;
};

class LibraryForm : public SurfaceWindow {
  public:
    explicit LibraryForm(FormDesign design);
    ~LibraryForm() override;

    bool Loaded() const { return hWnd() != nullptr; }
    // Creates the hidden window and runs OnLoad; nothing when loaded.
    void Load();
    // Runs OnQueryUnload and destroys the window (ending a modal Show).
    void Unload();
    // Modal: disables the thread's other windows and returns when the form
    // is hidden or unloaded.
    void Show(bool modal = false);
    void Hide();
    bool Visible() const { return hWnd() && IsWindowVisible(hWnd()); }

    // Outer rectangle in twips of the screen.
    double Left();
    double Top();
    double Width();
    double Height();
    // Absent values keep their current ones.
    void Move(double left, std::optional<double> top = {}, std::optional<double> width = {},
              std::optional<double> height = {});
    // Inner size in the form's scale.
    double ScaleWidth();
    double ScaleHeight();

    const std::string& Caption() const { return design_.caption; }
    void SetCaption(const std::string& caption);
    OLE_COLOR BackColor() const { return Canvas().BackColor(); }
    // Clears to the new colour, picture included.
    void SetBackColor(OLE_COLOR c);
    IPictureDisp* Picture() const { return picture_.get(); }
    // Clears the surface and draws the picture at (0, 0).
    void SetPicture(IPictureDisp* picture);
    // Back colour and picture again, drawings gone.
    void Cls();

    ConstituentHost& Constituents() { return parts_; }

  protected:
    virtual void OnLoad() {}
    virtual void OnQueryUnload() {}
    // Closing from the system menu or Alt+F4 unloads.
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    RECT OuterPixels();
    void RunModalLoop();

    FormDesign design_;
    ConstituentHost parts_;                                 // constituents on the form
    ComPtr<IPictureDisp> picture_;                          // drawn at (0, 0) under later drawings
    bool unloading_ = false;                                // OnQueryUnload is running
    std::shared_ptr<int> alive_ = std::make_shared<int>(0); // expires with the form
};

} // namespace glim
