#include "frmValueTip.h"

#include <utility>

namespace glim {

namespace {

constexpr OLE_COLOR kTipBackColor = 0x80000018; // tooltip background
constexpr OLE_COLOR kTipTextColor = 0x80000008; // window text
// Design sizes in twips; the form is sized each time it is shown.
constexpr long kDesignWidth = 1050;
constexpr long kDesignHeight = 300;
constexpr double kLabelWidth = 28; // pixels
constexpr double kLabelHeight = 12;

thread_local frmValueTip* tTip = nullptr; // owned: created by Instance, deleted by UnloadTip

FormDesign TipDesign() {
    FormDesign d;
    d.captionBar = false;
    d.showInTaskbar = false;
    d.activates = false; // the slider's form keeps the activation while dragging
    d.width = kDesignWidth;
    d.height = kDesignHeight;
    return d;
}

} // namespace

frmValueTip::frmValueTip() : LibraryForm(TipDesign()), lblTip(Constituents()) {
    Canvas().SetBackColor(kTipBackColor);
    Canvas().SetScaleMode(kScalePixels);
    lblTip.Move(0, 0, kLabelWidth, kLabelHeight);
    lblTip.SetBackStyle(0);
    lblTip.SetForeColor(kTipTextColor);
    lblTip.SetFont(Canvas().Font());
}

frmValueTip::~frmValueTip() = default;

frmValueTip& frmValueTip::Instance() {
    if (!tTip) tTip = new frmValueTip();
    return *tTip;
}

HWND frmValueTip::Window() {
    return tTip ? tTip->hWnd() : nullptr;
}

void frmValueTip::UnloadTip() {
    // Cleared first: unloading runs window code that may ask for the tip.
    frmValueTip* tip = std::exchange(tTip, nullptr);
    if (!tip) return;
    tip->Unload();
    delete tip;
}

void frmValueTip::SetText(const std::string& text) {
    lblTip.SetWidth(Canvas().TextWidth(text));
    lblTip.SetCaption(text);
    lblTip.Refresh();
}

} // namespace glim
