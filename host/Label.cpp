#include "Label.h"

#include "Handles.h"
#include "HostForm.h"
#include "OleColor.h"

#include <olectl.h>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostLabel";
} // namespace

std::span<const Label::Member> Label::Members() {
    static const Member members[] = {
        {"Caption", 0, &Label::caption_, kPersist | kSaveAlways, 0, {}, &Label::SetCaption},
        {"BackColor", DISPID_BACKCOLOR, &Label::backColor_, kRepaint | kPersist | kSaveAlways},
        {"ForeColor", DISPID_FORECOLOR, &Label::foreColor_, kRepaint | kPersist | kSaveAlways},
        {"BackStyle", DISPID_BACKSTYLE, &Label::backStyle_, kRepaint | kPersist | kZeroOrOne, 1},
    };
    return members;
}

Label::Label() : IntrinsicControl("Label", Members()) {}

HWND Label::CreateWindowIn(HWND parent, const RECT& px, HostForm* form) {
    form_ = form;
    // Clipped by its siblings: the controls above it keep their own pixels.
    // Made at the bottom of its container, beneath the windowed controls, as
    // every new child window is.
    MakeWindow(kClass, PaintedWindowProc<Label>, parent, px, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
               caption_.c_str());
    return hwnd_;
}

void Label::DestroyWindowNow() {
    IntrinsicControl::DestroyWindowNow();
    form_ = nullptr;
}

void Label::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (hwnd_) {
        SetWindowTextA(hwnd_, caption_.c_str());
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

// The parent paints its own background into our DC, shifted so that our
// top-left corner shows what lies beneath it.
void Label::PaintParentBackground(HDC dc) const {
    HWND parent = GetParent(hwnd_);
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
}

void Label::Paint(HDC dc) const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Host properties store any colour; one that cannot be translated paints black.
    if (backStyle_) {
        OwnedBrush back(CreateSolidBrush(TranslateColor(backColor_).value_or(0)));
        FillRect(dc, &rc, back.get());
    } else {
        PaintParentBackground(dc);
    }
    SelectGuard font(dc, form_ ? form_->FontHandle() : nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TranslateColor(foreColor_).value_or(0));
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_LEFT | DT_WORDBREAK);
}

} // namespace glim::host
