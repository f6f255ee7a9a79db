#include "OlePictures.h"

#include "RuntimeErrors.h"

namespace glim {

namespace {

// The picture over the handle desc names; a handle handed over is freed
// when no picture can be made.
ComPtr<IPictureDisp> MakePicture(PICTDESC desc, bool own) {
    desc.cbSizeofstruct = sizeof desc;
    ComPtr<IPictureDisp> pic;
    if (SUCCEEDED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, own, pic.put_void()))) return pic;
    if (own && desc.picType == PICTYPE_BITMAP) DeleteObject(desc.bmp.hbitmap);
    if (own && desc.picType == PICTYPE_ICON) DestroyIcon(desc.icon.hicon);
    RaiseError(kErrOutOfMemory);
}

} // namespace

ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bmp, bool own) {
    PICTDESC desc{};
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bmp;
    return MakePicture(desc, own);
}

ComPtr<IPictureDisp> PictureFromIcon(HICON icon, bool own) {
    PICTDESC desc{};
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = icon;
    return MakePicture(desc, own);
}

} // namespace glim
