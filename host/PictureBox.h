#pragma once
// The host's picture box: a window that shows a picture at its top-left
// corner, at the picture's own size, on its back colour.
#include "IntrinsicControl.h"

namespace glim::host {

class PictureBox : public IntrinsicControl<PictureBox> {
  public:
    // Draws the whole client area; called by the window procedure.
    void Paint(HDC dc) const;

    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    bool ShownByForm() const override { return true; }

    ComPtr<IPictureDisp> Picture() const { return picture_; }
    void SetPicture(IPictureDisp* picture);

  private:
    friend class IntrinsicControl<PictureBox>;
    PictureBox();
    static std::span<const Member> Members();
    Variant PictureValue() const { return Variant::Object(picture_.get()); }
    void PutPicture(const Variant& v);

    ComPtr<IPictureDisp> picture_;     // what it shows; may be empty
    OLE_COLOR backColor_ = 0x8000000F; // button face
    long borderStyle_ = 1;             // 0 none, 1 fixed single
};

} // namespace glim::host
