#include "Constituent.h"

#include "ConstituentHost.h"
#include "Conversions.h"
#include "RuntimeErrors.h"
#include "Surface.h"

#include <cmath>

namespace glim {

Constituent::Constituent(ConstituentHost& host, bool windowless) : host_(&host), windowless_(windowless) {
    host.Add(this);
}

Constituent::~Constituent() {
    if (host_) {
        Invalidate();
        host_->Remove(this);
    }
}

double Constituent::Left() const {
    return host_ ? host_->FromPixelsX(left_) : left_;
}
double Constituent::Top() const {
    return host_ ? host_->FromPixelsY(top_) : top_;
}
double Constituent::Width() const {
    return host_ ? host_->FromPixelsX(width_) : width_;
}
double Constituent::Height() const {
    return host_ ? host_->FromPixelsY(height_) : height_;
}

void Constituent::Move(double left, std::optional<double> top, std::optional<double> width,
                       std::optional<double> height) {
    auto px = [this](double v, bool x) {
        return host_ ? (x ? host_->ToPixelsX(v) : host_->ToPixelsY(v)) : v;
    };
    const double l = px(left, true);
    const double t = top ? px(*top, false) : top_;
    const double w = width ? px(*width, true) : width_;
    const double h = height ? px(*height, false) : height_;
    if (w < 0 || h < 0) RaiseError(kErrInvalidPropertyValue);
    // Refuse what cannot become a pixel rectangle before anything moves.
    RoundToLong(l + w);
    RoundToLong(t + h);
    ChangeGeometry(l, t, w, h);
}

void Constituent::SetPixelSize(double width, double height) {
    ChangeGeometry(left_, top_, width, height);
}

void Constituent::ChangeGeometry(double l, double t, double w, double h) {
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    Invalidate();
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    OnGeometryChanged();
}

void Constituent::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    OnVisibleChanged();
}

void Constituent::ZOrder(short position) {
    if (!host_) return;
    host_->Raise(this, position == 0);
    OnZOrder(position);
}

void Constituent::Refresh() {
    Invalidate();
    if (host_) host_->UpdateNow();
}

RECT Constituent::PixelRect() const {
    const LONG l = std::lround(left_), t = std::lround(top_);
    return RECT{l, t, static_cast<LONG>(std::lround(left_ + width_)),
                static_cast<LONG>(std::lround(top_ + height_))};
}

void Constituent::Invalidate() const {
    if (host_ && windowless_) host_->InvalidatePixels(PixelRect());
}

void Constituent::StoreInRange(short& field, short v, short lo, short hi) {
    if (v < lo || v > hi) RaiseError(kErrInvalidPropertyValue);
    field = v;
    Invalidate();
}

void Constituent::StoreColor(OLE_COLOR& field, OLE_COLOR c) {
    TranslateColorOrRaise(c);
    field = c;
    Invalidate();
}

} // namespace glim
