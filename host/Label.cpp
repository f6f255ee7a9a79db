#include "Label.h"

#include "Handles.h"
#include "HostForm.h"
#include "OleColor.h"
#include "TypeNameInfo.h"

#include <olectl.h>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostLabel";
const DISPID kCaption = 0, kBackColor = DISPID_BACKCOLOR, kForeColor = DISPID_FORECOLOR,
             kBackStyle = DISPID_BACKSTYLE;

} // namespace

ComPtr<Label> Label::Create() {
    return ComPtr<Label>(new Label());
}

Label::Label() {
    table_.AddProperty(
        "Caption", kCaption, [this] { return Variant::String(caption_); },
        [this](const Variant& v) { SetCaption(v.ToText()); });
    table_.AddProperty(
        "BackColor", kBackColor, [this] { return Variant::Long(static_cast<long>(backColor_)); },
        [this](const Variant& v) {
            backColor_ = static_cast<OLE_COLOR>(v.ToLong());
            if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
        });
    table_.AddProperty(
        "ForeColor", kForeColor, [this] { return Variant::Long(static_cast<long>(foreColor_)); },
        [this](const Variant& v) {
            foreColor_ = static_cast<OLE_COLOR>(v.ToLong());
            if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
        });
    table_.AddProperty(
        "BackStyle", kBackStyle, [this] { return Variant::Long(backStyle_); },
        [this](const Variant& v) {
            backStyle_ = v.ToLong() ? 1 : 0;
            if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
        });
}

Label::~Label() {
    DestroyWindowNow();
}

ComPtr<ITypeInfo> Label::TypeInfo() {
    return TypeNameInfo::Create("Label", GUID_NULL, TKIND_COCLASS);
}

HWND Label::CreateWindowIn(HWND parent, const RECT& px, HostForm* form) {
    EnsureWindowClass(kClass, PaintedWindowProc<Label>);
    form_ = form;
    // Clipped by its siblings: the controls above it keep their own pixels.
    hwnd_ = CreateWindowExA(0, kClass, caption_.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, px.left,
                            px.top, px.right - px.left, px.bottom - px.top, parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        // Labels lie beneath the windowed controls of their container.
        SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return hwnd_;
}

void Label::DestroyWindowNow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    form_ = nullptr;
}

void Label::Load(MemoryPropertyBag* bag) {
    if (!bag) return;
    if (bag->Contains("Caption")) SetCaption(bag->Get("Caption").ToText());
    if (bag->Contains("BackColor")) backColor_ = static_cast<OLE_COLOR>(bag->Get("BackColor").ToLong());
    if (bag->Contains("ForeColor")) foreColor_ = static_cast<OLE_COLOR>(bag->Get("ForeColor").ToLong());
    if (bag->Contains("BackStyle")) backStyle_ = bag->Get("BackStyle").ToLong() ? 1 : 0;
}

void Label::Save(MemoryPropertyBag* bag) const {
    bag->Set("Caption", Variant::String(caption_));
    bag->Set("BackColor", Variant::Long(static_cast<long>(backColor_)));
    bag->Set("ForeColor", Variant::Long(static_cast<long>(foreColor_)));
    if (!backStyle_) bag->Set("BackStyle", Variant::Long(backStyle_));
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
