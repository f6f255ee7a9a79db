#include "ConstituentShape.h"

#include "Handles.h"
#include "Surface.h"

#include <algorithm>

namespace glim {

ConstituentShape::ConstituentShape(ConstituentHost& host) : Constituent(host, true) {}

RECT ConstituentShape::Figure() const {
    RECT r = PixelRect();
    // Squares and circles keep the shorter side, centred.
    if (shape_ == 1 || shape_ == 3 || shape_ == 5) {
        const LONG side = std::min(r.right - r.left, r.bottom - r.top);
        r.left += (r.right - r.left - side) / 2;
        r.top += (r.bottom - r.top - side) / 2;
        r.right = r.left + side;
        r.bottom = r.top + side;
    }
    return r;
}

void ConstituentShape::Outline(HDC dc, const RECT& r) const {
    switch (shape_) {
    case 2:
    case 3:
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        break;
    case 4:
    case 5: {
        const int corner = std::min(r.right - r.left, r.bottom - r.top) / 4;
        RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
        break;
    }
    default:
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        break;
    }
}

void ConstituentShape::Draw(HDC dc) {
    const RECT figure = Figure();
    // Without a pen GDI leaves the right and bottom edge out: widen by one.
    const RECT inner{figure.left, figure.top, figure.right + 1, figure.bottom + 1};
    SelectGuard noPen(dc, GetStockObject(NULL_PEN));
    if (backStyle_ == 1) {
        OwnedBrush back(CreateSolidBrush(TranslateColorOrRaise(backColor_)));
        SelectGuard keep(dc, back.get());
        Outline(dc, inner);
    }
    if (fillStyle_ != 1) {
        static const int kHatch[] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL,
                                     HS_FDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
        const COLORREF rgb = TranslateColorOrRaise(fillColor_);
        OwnedBrush fill(fillStyle_ == 0 ? CreateSolidBrush(rgb)
                                        : CreateHatchBrush(kHatch[fillStyle_ - 2], rgb));
        SetBkMode(dc, TRANSPARENT);
        SelectGuard keep(dc, fill.get());
        Outline(dc, inner);
    }
    if (borderStyle_ != 0) {
        static const int kPen[] = {PS_NULL,    PS_SOLID,      PS_DASH,       PS_DOT,
                                   PS_DASHDOT, PS_DASHDOTDOT, PS_INSIDEFRAME};
        OwnedPen pen(CreatePen(kPen[borderStyle_], borderWidth_, TranslateColorOrRaise(borderColor_)));
        SelectGuard keepPen(dc, pen.get());
        SelectGuard keepBrush(dc, GetStockObject(NULL_BRUSH));
        Outline(dc, figure);
    }
}

} // namespace glim
