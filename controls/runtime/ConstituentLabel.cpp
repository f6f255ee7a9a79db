#include "ConstituentLabel.h"

#include "DisplayCache.h"
#include "Fonts.h"
#include "Handles.h"
#include "Surface.h"

namespace glim {

ConstituentLabel::ConstituentLabel(ConstituentHost& host)
    : Constituent(host, true), font_(DefaultGuiFont()) {}

void ConstituentLabel::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (autoSize_) FitToText();
    Invalidate();
    if (Change) Change();
}

void ConstituentLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) FitToText();
}

void ConstituentLabel::SetFont(IFontDisp* font) {
    font_ = font ? ComPtr<IFontDisp>(font) : DefaultGuiFont();
    if (autoSize_) FitToText();
    Invalidate();
}

UINT ConstituentLabel::TextFlags() const {
    const UINT align = alignment_ == 1 ? DT_RIGHT : alignment_ == 2 ? DT_CENTER : DT_LEFT;
    return align | DT_WORDBREAK | DT_EXPANDTABS;
}

void ConstituentLabel::FitToText() {
    const ScreenDC screen;
    SelectGuard keep(screen.get(), FontHandle(font_.get()));
    RECT r{0, 0, 0, 0};
    // An empty caption keeps one line's height, as an empty label shows.
    const std::string text = caption_.empty() ? std::string(" ") : caption_;
    DrawTextA(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
    SetPixelSize(caption_.empty() ? 0 : r.right, r.bottom);
}

void ConstituentLabel::Draw(HDC dc) {
    RECT r = PixelRect();
    if (backStyle_ == 1) {
        OwnedBrush back(CreateSolidBrush(TranslateColorOrRaise(backColor_)));
        FillRect(dc, &r, back.get());
    }
    SelectGuard keep(dc, FontHandle(font_.get()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TranslateColorOrRaise(foreColor_));
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, TextFlags());
}

} // namespace glim
