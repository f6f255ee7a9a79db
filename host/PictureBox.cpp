#include "PictureBox.h"

#include "Handles.h"
#include "OleColor.h"
#include "GlimError.h"

namespace glim::host {

namespace {
const char* const kClass = "GlimHostPictureBox";
ComPtr<IPictureDisp> PictureOf(const Variant& v) {
    ComPtr<IPictureDisp> picture;
    if ((v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN) && v.get()->punkVal)
        v.get()->punkVal->QueryInterface(IID_IPictureDisp, picture.put_void());
    else if (v.vt() != VT_EMPTY && !(v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN))
        throw glim::Error(13, "PictureBox", "Type mismatch");
    return picture;
}
} // namespace

std::span<const PictureBox::Member> PictureBox::Members() {
    static const Member members[] = {
        {"Picture", 0, {}, kPersist, 0, &PictureBox::PictureValue, &PictureBox::PutPicture},
        {"BackColor", DISPID_BACKCOLOR, &PictureBox::backColor_, kRepaint | kPersist | kSaveAlways},
        {"BorderStyle", DISPID_BORDERSTYLE, &PictureBox::borderStyle_,
         kReadOnly | kPersist | kSaveAlways | kZeroOrOne},
    };
    return members;
}

PictureBox::PictureBox() : IntrinsicControl("PictureBox", Members()) {}

HWND PictureBox::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    // Hidden until the form places it: see ShownByForm.
    return MakeWindow(kClass, PaintedWindowProc<PictureBox>, parent, px, WS_CHILD,
                      borderStyle_ ? WS_EX_CLIENTEDGE : 0);
}

void PictureBox::PutPicture(const Variant& v) {
    SetPicture(PictureOf(v).get());
}

void PictureBox::SetPicture(IPictureDisp* picture) {
    picture_ = picture;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureBox::Paint(HDC dc) const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Host properties store any colour; one that cannot be translated paints black.
    OwnedBrush back(CreateSolidBrush(TranslateColor(backColor_).value_or(0)));
    FillRect(dc, &rc, back.get());
    auto picture = picture_.As<IPicture>();
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (!picture || FAILED(picture->get_Width(&w)) || FAILED(picture->get_Height(&h))) return;
    const int px = MulDiv(w, GetDeviceCaps(dc, LOGPIXELSX), 2540);
    const int py = MulDiv(h, GetDeviceCaps(dc, LOGPIXELSY), 2540);
    // Picture rows run bottom-up in HIMETRIC.
    picture->Render(dc, 0, 0, px, py, 0, h, w, -h, nullptr);
}

} // namespace glim::host
