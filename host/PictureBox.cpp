#include "PictureBox.h"

#include "Handles.h"
#include "OleColor.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

namespace glim::host {

namespace {
const char* const kClass = "GlimHostPictureBox";
const DISPID kPicture = 0, kBackColor = DISPID_BACKCOLOR, kBorderStyle = DISPID_BORDERSTYLE;

ComPtr<IPictureDisp> PictureOf(const Variant& v) {
    ComPtr<IPictureDisp> picture;
    if ((v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN) && v.get()->punkVal)
        v.get()->punkVal->QueryInterface(IID_IPictureDisp, picture.put_void());
    else if (v.vt() != VT_EMPTY && !(v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN))
        throw glim::Error(13, "PictureBox", "Type mismatch");
    return picture;
}
} // namespace

ComPtr<PictureBox> PictureBox::Create() {
    return ComPtr<PictureBox>(new PictureBox());
}

PictureBox::PictureBox() {
    table_.AddProperty(
        "Picture", kPicture, [this] { return Variant::Object(picture_.get()); },
        [this](const Variant& v) { SetPicture(PictureOf(v).get()); });
    table_.AddProperty(
        "BackColor", kBackColor, [this] { return Variant::Long(static_cast<long>(backColor_)); },
        [this](const Variant& v) {
            backColor_ = static_cast<OLE_COLOR>(v.ToLong());
            if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
        });
    table_.AddProperty("BorderStyle", kBorderStyle, [this] { return Variant::Long(borderStyle_); });
}

PictureBox::~PictureBox() {
    DestroyWindowNow();
}

ComPtr<ITypeInfo> PictureBox::TypeInfo() {
    return TypeNameInfo::Create("PictureBox", GUID_NULL, TKIND_COCLASS);
}

HWND PictureBox::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    EnsureWindowClass(kClass, PaintedWindowProc<PictureBox>);
    hwnd_ = CreateWindowExA(borderStyle_ ? WS_EX_CLIENTEDGE : 0, kClass, "", WS_CHILD | WS_VISIBLE, px.left,
                            px.top, px.right - px.left, px.bottom - px.top, parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return hwnd_;
}

void PictureBox::DestroyWindowNow() {
    if (!hwnd_) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void PictureBox::Load(MemoryPropertyBag* bag) {
    if (!bag) return;
    if (bag->Contains("Picture")) picture_ = PictureOf(bag->Get("Picture"));
    if (bag->Contains("BackColor")) backColor_ = static_cast<OLE_COLOR>(bag->Get("BackColor").ToLong());
    if (bag->Contains("BorderStyle")) borderStyle_ = bag->Get("BorderStyle").ToLong() ? 1 : 0;
}

void PictureBox::Save(MemoryPropertyBag* bag) const {
    if (picture_) bag->Set("Picture", Variant::Object(picture_.get()));
    bag->Set("BackColor", Variant::Long(static_cast<long>(backColor_)));
    bag->Set("BorderStyle", Variant::Long(borderStyle_));
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
