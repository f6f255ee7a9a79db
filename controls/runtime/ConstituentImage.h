#pragma once
// A windowless picture holder: shows its picture at its own size (and takes
// that size) or stretched over its area.
#include "ComPtr.h"
#include "Constituent.h"

#include <olectl.h>

namespace glim {

class ConstituentImage : public Constituent {
  public:
    explicit ConstituentImage(ConstituentHost& host);

    IPictureDisp* Picture() const { return picture_.get(); }
    // Without Stretch the image takes the picture's size.
    void SetPicture(IPictureDisp* picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

  protected:
    void Draw(HDC dc) override;

  private:
    void FitToPicture();

    ComPtr<IPictureDisp> picture_; // Nothing shows nothing
    bool stretch_ = false;         // picture scaled to the image's size
};

} // namespace glim
