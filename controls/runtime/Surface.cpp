#include "Surface.h"

#include "Conversions.h"
#include "DisplayCache.h"
#include "Fonts.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Screen.h"
#include "Text.h"

#include <algorithm>
#include <cmath>

namespace glim {

COLORREF TranslateColorOrRaise(OLE_COLOR c) {
    const std::optional<COLORREF> rgb = TranslateColor(c);
    if (!rgb) RaiseError(kErrInvalidPropertyValue);
    return *rgb;
}

Surface::Surface() {
    dc_.reset(CreateCompatibleDC(nullptr));
    SetBkMode(dc_.get(), TRANSPARENT);
    font_ = DefaultGuiFont();
    SetSize(1, 1);
}

Surface::~Surface() {
    if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
}

void Surface::SetSize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w > capWidth_ || h > capHeight_) {
        const int cw = std::max({w, capWidth_, 1});
        const int ch = std::max({h, capHeight_, 1});
        OwnedBitmap fresh(CreateScreenBitmap(cw, ch));
        if (!fresh) RaiseError(kErrOutOfMemory);
        OwnedDC tmp(CreateCompatibleDC(nullptr));
        {
            SelectGuard sel(tmp.get(), fresh.get());
            RECT all{0, 0, cw, ch};
            OwnedBrush back(CreateSolidBrush(TranslateColorOrRaise(backColor_)));
            FillRect(tmp.get(), &all, back.get());
            if (bitmap_) BitBlt(tmp.get(), 0, 0, capWidth_, capHeight_, dc_.get(), 0, 0, SRCCOPY);
        }
        HGDIOBJ prev = SelectObject(dc_.get(), fresh.get());
        if (!oldBitmap_) oldBitmap_ = prev;
        bitmap_ = std::move(fresh);
        capWidth_ = cw;
        capHeight_ = ch;
    }
    width_ = w;
    height_ = h;
}

void Surface::Cls() {
    RECT all{0, 0, capWidth_, capHeight_};
    OwnedBrush back(CreateSolidBrush(TranslateColorOrRaise(backColor_)));
    FillRect(dc_.get(), &all, back.get());
    currentX_ = currentY_ = 0;
}

void Surface::Show(HDC dc, const RECT& area) const {
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left,
           area.top, SRCCOPY);
}

void Surface::SetScaleMode(short mode) {
    if (mode != kScaleTwips && mode != kScalePixels && mode != kScaleHimetric)
        RaiseError(kErrInvalidPropertyValue);
    scaleMode_ = mode;
}

namespace {

// Units per pixel of a scale mode along one axis.
double UnitsPerPixel(short mode, bool xAxis) {
    switch (mode) {
    case kScalePixels:
        return 1.0;
    case kScaleTwips:
        return static_cast<double>(xAxis ? TwipsPerPixelX() : TwipsPerPixelY());
    case kScaleHimetric:
        return (xAxis ? TwipsPerPixelX() : TwipsPerPixelY()) * 2540.0 / 1440.0;
    default:
        RaiseError(kErrInvalidPropertyValue);
    }
}

} // namespace

double Surface::ScaleX(double value, short from, short to) {
    return value / UnitsPerPixel(from, true) * UnitsPerPixel(to, true);
}

double Surface::ScaleY(double value, short from, short to) {
    return value / UnitsPerPixel(from, false) * UnitsPerPixel(to, false);
}

void Surface::SetBackColor(OLE_COLOR c) {
    TranslateColorOrRaise(c); // refuse what cannot be drawn before storing
    backColor_ = c;
    Cls();
}

void Surface::SetFont(IFontDisp* font) {
    font_ = font ? ComPtr<IFontDisp>(font) : DefaultGuiFont();
}

void Surface::Line(double x1, double y1, double x2, double y2, std::optional<OLE_COLOR> color) {
    OwnedPen pen(CreatePen(PS_SOLID, 1, TranslateColorOrRaise(color.value_or(foreColor_))));
    SelectGuard sel(dc_.get(), pen.get());
    MoveToEx(dc_.get(), RoundToLong(ToPixelsX(x1)), RoundToLong(ToPixelsY(y1)), nullptr);
    LineTo(dc_.get(), RoundToLong(ToPixelsX(x2)), RoundToLong(ToPixelsY(y2)));
    currentX_ = x2;
    currentY_ = y2;
}

void Surface::Box(double x1, double y1, double x2, double y2, std::optional<OLE_COLOR> color, bool fill) {
    const COLORREF rgb = TranslateColorOrRaise(color.value_or(foreColor_));
    RECT r{RoundToLong(ToPixelsX(std::min(x1, x2))), RoundToLong(ToPixelsY(std::min(y1, y2))),
           RoundToLong(ToPixelsX(std::max(x1, x2))) + 1, RoundToLong(ToPixelsY(std::max(y1, y2))) + 1};
    OwnedBrush brush(CreateSolidBrush(rgb));
    if (fill)
        FillRect(dc_.get(), &r, brush.get());
    else
        FrameRect(dc_.get(), &r, brush.get());
    currentX_ = x2;
    currentY_ = y2;
}

void Surface::PaintPicture(IUnknown* picture, double x, double y, std::optional<double> w,
                           std::optional<double> h, std::optional<double> sx, std::optional<double> sy,
                           std::optional<double> sw, std::optional<double> sh, DWORD rop) {
    if (!picture) RaiseError(kErrInvalidPicture);
    ComPtr<IPicture> pic;
    if (FAILED(picture->QueryInterface(IID_IPicture, pic.put_void()))) RaiseError(kErrTypeMismatch);
    const SIZE px = PictureSizePixels(picture);
    const int dx = RoundToLong(ToPixelsX(x)), dy = RoundToLong(ToPixelsY(y));
    const int dw = w ? RoundToLong(ToPixelsX(*w)) : px.cx;
    const int dh = h ? RoundToLong(ToPixelsY(*h)) : px.cy;
    const int srcX = sx ? RoundToLong(ToPixelsX(*sx)) : 0;
    const int srcY = sy ? RoundToLong(ToPixelsY(*sy)) : 0;
    const int srcW = sw ? RoundToLong(ToPixelsX(*sw)) : px.cx - srcX;
    const int srcH = sh ? RoundToLong(ToPixelsY(*sh)) : px.cy - srcY;
    const short type = PictureType(picture);
    const OLE_HANDLE handle = PictureHandle(picture);
    if (type == PICTYPE_BITMAP) {
        OwnedDC src(CreateCompatibleDC(dc_.get()));
        SelectGuard sel(src.get(), HandleFromOle<HGDIOBJ>(handle));
        SetStretchBltMode(dc_.get(), COLORONCOLOR);
        if (!StretchBlt(dc_.get(), dx, dy, dw, dh, src.get(), srcX, srcY, srcW, srcH, rop))
            RaiseError(kErrInvalidCall);
    } else if (type == PICTYPE_ICON) {
        DrawIconEx(dc_.get(), dx, dy, HandleFromOle<HICON>(handle), dw, dh, 0, nullptr, DI_NORMAL);
    } else if (type != PICTYPE_NONE && type != PICTYPE_UNINITIALIZED) {
        const SIZE hm = PictureSizeHimetric(picture);
        pic->Render(dc_.get(), dx, dy, dw, dh, 0, hm.cy, hm.cx, -hm.cy, nullptr);
    }
}

SIZE Surface::MeasureText(const std::string& text) const {
    SelectGuard sel(dc_.get(), FontHandle(font_.get()));
    SIZE s{0, 0};
    if (text.empty()) {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_.get(), &tm);
        s.cy = tm.tmHeight;
        return s;
    }
    GetTextExtentPoint32A(dc_.get(), text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}

double Surface::TextWidth(const std::string& text) const {
    return FromPixelsX(MeasureText(text).cx);
}
double Surface::TextHeight(const std::string& text) const {
    return FromPixelsY(MeasureText(text).cy);
}

void Surface::Print(const std::string& text) {
    SelectGuard sel(dc_.get(), FontHandle(font_.get()));
    SetTextColor(dc_.get(), TranslateColorOrRaise(foreColor_));
    const int x = RoundToLong(ToPixelsX(currentX_)), y = RoundToLong(ToPixelsY(currentY_));
    TextOutA(dc_.get(), x, y, text.c_str(), static_cast<int>(text.size()));
    currentX_ = 0;
    currentY_ += TextHeight(text);
}

} // namespace glim
