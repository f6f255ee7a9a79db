#pragma once
// The host's label: a window that paints its caption on its back colour.
#include "IntrinsicControl.h"

namespace glim::host {

class Label : public IntrinsicControl<Label> {
  public:
    // Draws the whole client area; called by the window procedure.
    void Paint(HDC dc) const;

    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    void DestroyWindowNow() override;
    std::string AccessKey() const override { return AccessKeyOf(caption_); }
    bool LiesBeneath() const override { return true; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

  private:
    friend class IntrinsicControl<Label>;
    Label();
    static std::span<const Member> Members();
    void PaintParentBackground(HDC dc) const;

    HostForm* form_ = nullptr;         // gives the font; uncounted, the form outlives its controls
    std::string caption_;              // text shown, "&" marks the access key
    OLE_COLOR backColor_ = 0x8000000F; // button face
    OLE_COLOR foreColor_ = 0x80000012; // button text
    long backStyle_ = 1;               // 0 transparent: the parent shows through
};

} // namespace glim::host
