#pragma once
// A picture box: a borderless child window of its container with its own
// persistent surface (hDC, Cls, Line, PaintPicture, ScaleMode ...), a
// picture drawn at its top-left corner, optional sizing to that picture,
// and constituents of its own.
#include "ComPtr.h"
#include "Constituent.h"
#include "ConstituentHost.h"
#include "SurfaceWindow.h"

#include <olectl.h>

namespace glim {

class ConstituentPictureBox : public Constituent, public SurfaceWindow {
  public:
    explicit ConstituentPictureBox(ConstituentHost& container);
    ~ConstituentPictureBox() override;

    IPictureDisp* Picture() const { return picture_.get(); }
    // Clears the surface and draws the picture at (0, 0).
    void SetPicture(IPictureDisp* picture);
    // Sizes the box to its picture now and at every new picture.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    OLE_COLOR BackColor() const { return Canvas().BackColor(); }
    // Clears to the new colour, picture included.
    void SetBackColor(OLE_COLOR c);
    // Back colour and picture again, drawings gone.
    void Cls();
    void Refresh() { SurfaceWindow::Refresh(); }

    // Parts placed on the box.
    ConstituentHost& Constituents() { return parts_; }

  protected:
    void OnGeometryChanged() override;
    void OnVisibleChanged() override;
    void OnZOrder(short position) override;
    void OnHostAttached() override;
    void OnHostDetached() override;

    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;
    // The container takes the focus instead, as clicking it would.
    bool CanGetFocus() const override { return false; }

  private:
    void FitToPicture();

    ConstituentHost parts_;        // constituents on the box
    ComPtr<IPictureDisp> picture_; // drawn at (0, 0) under later drawings
    bool autoSize_ = false;
};

} // namespace glim
