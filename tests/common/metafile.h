#pragma once
// A metafile picture for tests of what the library draws from one.
#include "ComPtr.h"
#include "Handles.h"

#include <windows.h>
#include <olectl.h>

namespace glimtest {

// An enhanced metafile of w x h pixels of this screen filled with one
// colour, as a picture object; null when it could not be made.
inline glim::ComPtr<IPictureDisp> SolidMetafilePicture(int w, int h, COLORREF colour) {
    HDC ref = GetDC(nullptr);
    const int mmW = GetDeviceCaps(ref, HORZSIZE) * 100, mmH = GetDeviceCaps(ref, VERTSIZE) * 100;
    const int pxW = GetDeviceCaps(ref, HORZRES), pxH = GetDeviceCaps(ref, VERTRES);
    RECT frame{0, 0, MulDiv(w, mmW, pxW), MulDiv(h, mmH, pxH)};
    HDC rec = CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
    ReleaseDC(nullptr, ref);
    glim::OwnedBrush fill(CreateSolidBrush(colour));
    RECT all{0, 0, w, h};
    FillRect(rec, &all, fill.get());
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ENHMETAFILE;
    desc.emf.hemf = CloseEnhMetaFile(rec);
    glim::ComPtr<IPictureDisp> pic;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, pic.put_void())))
        DeleteEnhMetaFile(desc.emf.hemf);
    return pic;
}

} // namespace glimtest
