#include "ConstituentPictureBox.h"

#include "Pictures.h"

namespace glim {

namespace {

template <class F>
void Raise(const F& handler, short button, short shift, float x, float y) {
    if (auto f = handler) f(button, shift, x, y);
}

} // namespace

ConstituentPictureBox::ConstituentPictureBox(ConstituentHost& container)
    : Constituent(container, false), parts_(*this) {
    if (container.Window()) OnHostAttached();
}

ConstituentPictureBox::~ConstituentPictureBox() {
    parts_.Detach();
    DestroySurfaceWindow();
}

void ConstituentPictureBox::OnHostAttached() {
    if (hWnd() || !Host() || !Host()->Window()) return;
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (Visible() ? WS_VISIBLE : 0);
    CreateSurfaceWindow(0, style, Host()->Window(), PixelRect());
    parts_.Attach();
}

void ConstituentPictureBox::OnHostDetached() {
    parts_.Detach();
    DestroySurfaceWindow();
}

void ConstituentPictureBox::OnGeometryChanged() {
    if (!hWnd()) return;
    const RECT r = PixelRect();
    SetWindowPos(hWnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ConstituentPictureBox::OnVisibleChanged() {
    if (hWnd()) ShowWindow(hWnd(), Visible() ? SW_SHOWNA : SW_HIDE);
}

void ConstituentPictureBox::OnZOrder(short position) {
    if (hWnd())
        SetWindowPos(hWnd(), position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ConstituentPictureBox::SetPicture(IPictureDisp* picture) {
    picture_ = picture;
    if (autoSize_) FitToPicture();
    Cls();
}

void ConstituentPictureBox::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) FitToPicture();
}

void ConstituentPictureBox::SetBackColor(OLE_COLOR c) {
    Canvas().SetBackColor(c);
    Cls();
}

void ConstituentPictureBox::Cls() {
    Canvas().Cls();
    if (PictureHandle(picture_.get()) != 0) Canvas().PaintPicture(picture_.get(), 0, 0);
    SurfaceWindow::Invalidate();
}

void ConstituentPictureBox::FitToPicture() {
    if (PictureHandle(picture_.get()) == 0) return;
    const SIZE px = PictureSizePixels(picture_.get());
    SetPixelSize(px.cx, px.cy);
}

void ConstituentPictureBox::OnMouseDown(short button, short shift, float x, float y) {
    if (Host() && Host()->Window() && GetFocus() != Host()->Window()) SetFocus(Host()->Window());
    Raise(MouseDown, button, shift, x, y);
}

void ConstituentPictureBox::OnMouseMove(short button, short shift, float x, float y) {
    Raise(MouseMove, button, shift, x, y);
}

void ConstituentPictureBox::OnMouseUp(short button, short shift, float x, float y) {
    Raise(MouseUp, button, shift, x, y);
}

void ConstituentPictureBox::OnClick() {
    if (auto f = Click) f();
}

void ConstituentPictureBox::OnDblClick() {
    if (auto f = DblClick) f();
}

} // namespace glim
