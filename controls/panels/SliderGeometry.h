#pragma once
// What GlimSlider computes from its sizes: the outer size fitted to the
// thumb or rail, where the thumb rests for a value, the value a thumb
// position stands for, the groove and the value tip.  All in pixels unless
// twips are named; pure, so the numbers can be checked on their own.
#include <windows.h>

#include <optional>

namespace glim {

enum SliderOrientation : long { kSliderHorizontal = 0, kSliderVertical = 1 };
// RailStyle 99 paints the persisted rail picture instead of a groove.
inline constexpr long kRailPictureStyle = 99;

// The sizes the layout works from.
struct SliderSizes {
    long orientation;  // 0 horizontal, 1 vertical, anything else lays out nothing
    double scaleWidth; // client area
    double scaleHeight;
    double thumbWidth;
    double thumbHeight;
    bool railMode; // RailStyle 99 with a rail picture present
    double railWidth;
    double railHeight;
};

// Length the thumb can travel along the orientation (0 for others).
double TrackLength(const SliderSizes& s);

// Outer size in twips the control must take, when it must change.
struct TwipSize {
    long width;
    long height;
};
std::optional<TwipSize> FittedOuterSize(const SliderSizes& s, long widthTwips, long heightTwips);

// Thumb left and thumb top for a value (the maximum at the right and at the
// top).  A zero range rests at the start, so a bag with Min = Max loads.
double ThumbLeftFor(const SliderSizes& s, long value, long min, long range);
double ThumbTopFor(const SliderSizes& s, long value, long min, long range);
// Position across the track: centred on a rail that is wider than the thumb.
double ThumbCrossPosition(const SliderSizes& s);

// The value a thumb position stands for, rounded halves to even; nothing
// when the track has no length or the value does not fit 16 bits.
std::optional<short> ValueAtThumb(const SliderSizes& s, double position, long min, long range);

// Where the pointer puts the thumb during a drag, kept on the track.
double ClampToTrack(const SliderSizes& s, double position);

// The groove, from the thumb's centre at one end to its centre at the
// other, widened by 2 pixels at each end; nothing when it cannot be formed.
std::optional<RECT> GrooveRect(const SliderSizes& s);
// The DrawEdge edge of a RailStyle; nothing draws no groove.
std::optional<UINT> GrooveEdge(long railStyle);
// Top-left corner of the rail picture.
struct PointF {
    double x;
    double y;
};
PointF RailOrigin(const SliderSizes& s);

// The value tip's outer rectangle in screen pixels: centred above a
// horizontal thumb, left of a vertical one.
std::optional<RECT> ValueTipRect(const SliderSizes& s, POINT controlOrigin, double thumbLeft, double thumbTop,
                                 double labelWidth, double labelHeight);

} // namespace glim
