#include "OlePictures.h"

#include "RuntimeErrors.h"

namespace glim {

ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bmp, bool own) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bmp;
    ComPtr<IPictureDisp> pic;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, own, pic.put_void()))) {
        if (own) DeleteObject(bmp);
        RaiseError(kErrOutOfMemory);
    }
    return pic;
}

ComPtr<IPictureDisp> PictureFromIcon(HICON icon, bool own) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = icon;
    ComPtr<IPictureDisp> pic;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, own, pic.put_void()))) {
        if (own) DestroyIcon(icon);
        RaiseError(kErrOutOfMemory);
    }
    return pic;
}

} // namespace glim
