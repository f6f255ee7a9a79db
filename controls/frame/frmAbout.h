#pragma once
// The library's About box: the About picture on a white 336 x 164 client
// area and the label "关闭" at the top right, which colours itself after the
// mouse.  Shown modally without an owner; a click on the label or Esc
// closes it.
#include <windows.h>
#include <olectl.h>

#include "Handles.h"

namespace glim {

class frmAbout {
  public:
    // Client area and label placement in twips, 15 twips per pixel.
    static constexpr int kClientWidth = 5040, kClientHeight = 2460;
    static constexpr int kLabelLeft = 4590, kLabelTop = 75, kLabelWidth = 360, kLabelHeight = 180;
    static constexpr OLE_COLOR kBackColor = 0x00FFFFFF;
    static constexpr OLE_COLOR kLabelBackColor = 0x80000005;
    static constexpr OLE_COLOR kLabelForeColor = 0x00C0C0C0;  // at load
    static constexpr OLE_COLOR kLabelFormColor = 0x80000005;  // mouse over the form
    static constexpr OLE_COLOR kLabelHoverColor = 0x000000FF; // mouse over the label
    static constexpr OLE_COLOR kLabelPressColor = 0x80000015; // button pressed on the label
    static constexpr const char* kClassName = "GlimForm.frmAbout";

    // Shows the thread's About box modally; creates it first when there is
    // none.  Returns when the box is closed.  While it is shown a second
    // call only brings it to the front.
    static void ShowModal();
    // The thread's About box window, 0 when there is none.
    static HWND Window();
    // Label1's fore colour as an OLE colour.
    OLE_COLOR Label1ForeColor() const { return labelForeColor_; }
    static frmAbout* Instance();

  private:
    frmAbout();
    ~frmAbout();
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    RECT LabelRect() const;
    void SetLabelForeColor(OLE_COLOR color);
    void Paint(HDC dc);
    void RunModalLoop();
    void Close();

    HWND hWnd_ = nullptr;                        // the box, destroyed by Close
    OwnedBitmap picture_;                        // the About picture
    OwnedFont font_;                             // Label1's font
    OLE_COLOR labelForeColor_ = kLabelForeColor; // Label1.ForeColor
    bool pressedOnLabel_ = false;                // a left press began on the label
    bool closed_ = false;                        // the modal loop may end
};

} // namespace glim
