#include "SliderGeometry.h"

#include "Conversions.h"
#include "RuntimeErrors.h"

namespace glim {

namespace {

// The layout works at a fixed 15 twips per pixel, whatever the screen says.
constexpr long kTwipsPerPixel = 15;
// A rail gets 2 pixels of room at each end.
constexpr long kRailMarginTwips = 60;

long Twips(double pixels) {
    return static_cast<long>(pixels) * kTwipsPerPixel;
}

double Fraction(long value, long min, long range) {
    return range == 0 ? 0.0 : static_cast<double>(value - min) / range;
}

} // namespace

double TrackLength(const SliderSizes& s) {
    switch (s.orientation) {
    case kSliderHorizontal:
        return s.scaleWidth - s.thumbWidth;
    case kSliderVertical:
        return s.scaleHeight - s.thumbHeight;
    default:
        return 0;
    }
}

std::optional<TwipSize> FittedOuterSize(const SliderSizes& s, long widthTwips, long heightTwips) {
    TwipSize want{widthTwips, heightTwips};
    if (s.orientation == kSliderHorizontal) {
        if (s.railMode) {
            want.width = Twips(s.railWidth) + kRailMarginTwips;
            want.height = Twips(s.railHeight > s.thumbHeight ? s.railHeight : s.thumbHeight);
        } else {
            if (widthTwips == 0) want.width = Twips(s.thumbWidth);
            want.height = Twips(s.thumbHeight);
        }
    } else if (s.orientation == kSliderVertical) {
        if (s.railMode) {
            want.width = Twips(s.railWidth > s.thumbWidth ? s.railWidth : s.thumbWidth);
            want.height = Twips(s.railHeight) + kRailMarginTwips;
        } else {
            if (heightTwips == 0) want.height = Twips(s.thumbHeight);
            want.width = Twips(s.thumbWidth);
        }
    }
    if (want.width == widthTwips && want.height == heightTwips) return std::nullopt;
    return want;
}

double ThumbLeftFor(const SliderSizes& s, long value, long min, long range) {
    return (s.scaleWidth - s.thumbWidth) * Fraction(value, min, range);
}

double ThumbTopFor(const SliderSizes& s, long value, long min, long range) {
    const double track = s.scaleHeight - s.thumbHeight;
    return track - track * Fraction(value, min, range);
}

double ThumbCrossPosition(const SliderSizes& s) {
    if (s.orientation == kSliderHorizontal && s.railMode && s.railHeight > s.thumbHeight)
        return (s.railHeight - s.thumbHeight) * 0.5;
    if (s.orientation == kSliderVertical && s.railMode && s.railWidth > s.thumbWidth)
        return (s.railWidth - s.thumbWidth) * 0.5;
    return 0;
}

std::optional<short> ValueAtThumb(const SliderSizes& s, double position, long min, long range) {
    const double track = TrackLength(s);
    if (track == 0) return std::nullopt;
    const double along = s.orientation == kSliderVertical ? track - position : position;
    try {
        return RoundToShort(along / track * range + min);
    } catch (const Error&) {
        return std::nullopt;
    }
}

double ClampToTrack(const SliderSizes& s, double position) {
    const double track = TrackLength(s);
    if (position < 0) return 0;
    return position <= track ? position : track;
}

std::optional<RECT> GrooveRect(const SliderSizes& s) {
    try {
        RECT r{};
        if (s.orientation == kSliderHorizontal) {
            r.top = RoundToLong((s.thumbHeight - 4) * 0.5);
            r.bottom = r.top + 4;
            r.left = RoundToLong(s.thumbWidth * 0.5 - 2);
            r.right = RoundToLong(s.scaleWidth + r.left - s.thumbWidth + 4);
        } else if (s.orientation == kSliderVertical) {
            r.top = RoundToLong(s.thumbHeight * 0.5 - 2);
            r.bottom = RoundToLong(s.scaleHeight + r.top - s.thumbHeight + 4);
            r.left = RoundToLong((s.thumbWidth - 4) * 0.5);
            r.right = r.left + 4;
        } else {
            return std::nullopt;
        }
        return r;
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::optional<UINT> GrooveEdge(long railStyle) {
    switch (railStyle) {
    case 0:
        return EDGE_SUNKEN;
    case 1:
        return EDGE_RAISED;
    case 2:
        return BDR_SUNKENOUTER;
    case 3:
        return BDR_RAISEDINNER;
    case 4:
        return 0u; // an edge of nothing: DrawEdge draws no line
    default:
        return std::nullopt;
    }
}

PointF RailOrigin(const SliderSizes& s) {
    if (s.orientation == kSliderVertical) return {(s.scaleWidth - s.railWidth) * 0.5, 2};
    return {2, (s.scaleHeight - s.railHeight) * 0.5};
}

std::optional<RECT> ValueTipRect(const SliderSizes& s, POINT controlOrigin, double thumbLeft, double thumbTop,
                                 double labelWidth, double labelHeight) {
    try {
        RECT r{};
        if (s.orientation == kSliderHorizontal) {
            r.left = RoundToLong(controlOrigin.x + thumbLeft + (s.thumbWidth - labelWidth - 4) * 0.5);
            r.top = RoundToLong(controlOrigin.y + thumbTop - labelHeight - 5);
        } else if (s.orientation == kSliderVertical) {
            r.left = RoundToLong(controlOrigin.x + thumbLeft - labelWidth - 6);
            r.top = RoundToLong(controlOrigin.y + thumbTop + (s.thumbHeight - labelHeight - 4) * 0.5);
        } else {
            return std::nullopt;
        }
        // The tip is 4 pixels wider and 3 taller than its label.
        r.right = r.left + RoundToLong(labelWidth) + 4;
        r.bottom = r.top + RoundToLong(labelHeight) + 3;
        return r;
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace glim
