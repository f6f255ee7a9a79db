#pragma once
// The library's About box: the About picture on a white 336 x 164 client
// area and the label "关闭" at the top right, which colours itself after the
// mouse.  Shown modally without an owner; a click on the label or Esc
// closes it.
#include <windows.h>
#include <olectl.h>

#include "ConstituentLabel.h"
#include "Handles.h"
#include "LibraryForm.h"

namespace glim {

class frmAbout : public LibraryForm {
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

    // Shows the thread's About box modally; creates it first when there is
    // none.  Returns when the box is closed.  While it is shown a second
    // call only brings it to the front.
    static void ShowModal();
    // The thread's About box window, 0 when there is none.
    static HWND Window();
    // Label1's fore colour as an OLE colour.
    OLE_COLOR Label1ForeColor() const { return Label1.ForeColor(); }
    static frmAbout* Instance();

  private:
    // Label1 draws its caption in plain pixels, without smoothing: the label
    // is tiny and its colour is its whole message.
    class PlainLabel : public ConstituentLabel {
      public:
        explicit PlainLabel(ConstituentHost& host) : ConstituentLabel(host) {}
        // Takes the font and keeps an unsmoothed twin of it for drawing.
        void SetPlainFont(IFontDisp* font);

      protected:
        void Draw(HDC dc) override;

      private:
        OwnedFont plain_; // the font's twin without smoothing
    };

    frmAbout();
    ~frmAbout() override;

    void OnLoad() override;
    void OnShow() override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnKeyDown(short& keyCode, short shift) override;
    void SetLabel1ForeColor(OLE_COLOR color);

    PlainLabel Label1;                // "关闭", closes the box when clicked
    bool leftPressedOnLabel_ = false; // a left press began on Label1
};

} // namespace glim
