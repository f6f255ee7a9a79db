#pragma once
// A windowless text label: caption, alignment, auto-sizing, transparent or
// opaque background, colours and font.
#include "ComPtr.h"
#include "Constituent.h"

#include <olectl.h>

#include <string>

namespace glim {

class ConstituentLabel : public Constituent {
  public:
    explicit ConstituentLabel(ConstituentHost& host);

    const std::string& Caption() const { return caption_; }
    // Raises Change when the text differs.
    void SetCaption(const std::string& caption);
    // 0 left, 1 right, 2 centre; others raise 380.
    short Alignment() const { return alignment_; }
    void SetAlignment(short alignment) { StoreInRange(alignment_, alignment, 0, 2); }
    // Sizes the label to its text now and whenever text or font change.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // 0 transparent, 1 opaque; others raise 380.
    short BackStyle() const { return backStyle_; }
    void SetBackStyle(short style) { StoreInRange(backStyle_, style, 0, 1); }
    OLE_COLOR BackColor() const { return backColor_; }
    void SetBackColor(OLE_COLOR c) { StoreColor(backColor_, c); }
    OLE_COLOR ForeColor() const { return foreColor_; }
    void SetForeColor(OLE_COLOR c) { StoreColor(foreColor_, c); }
    IFontDisp* Font() const { return font_.get(); }
    // Nothing gives the default font.
    void SetFont(IFontDisp* font);

    // The text changed.
    std::function<void()> Change;

  protected:
    void Draw(HDC dc) override;

  private:
    void FitToText();
    UINT TextFlags() const;

    std::string caption_;              // the text; '&' marks an access key
    short alignment_ = 0;              // 0 left, 1 right, 2 centre
    bool autoSize_ = false;            // follows its text's size
    short backStyle_ = 1;              // 0 transparent, 1 opaque
    OLE_COLOR backColor_ = 0x8000000F; // button face
    OLE_COLOR foreColor_ = 0x80000012; // button text
    ComPtr<IFontDisp> font_;           // text font
};

} // namespace glim
