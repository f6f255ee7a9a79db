#pragma once
// Layouts inside the controls work in twips at a fixed 15 to a pixel,
// whatever the screen's scale.  The scales of controls and forms, their
// sizes and the places of forms are in the screen's twips, which hosts and
// the runtime turn into pixels with the screen's twips per pixel.  These
// carry the one into the other, so each place is converted once.
#include "Conversions.h"
#include "Surface.h"

namespace glim {

inline constexpr double kLayoutTwipsPerPixel = 15;

// Layout twips in the screen's twips, on a whole pixel.
inline double ScreenTwipsX(double layoutTwips) {
    return Surface::ScaleX(RoundToLong(layoutTwips / kLayoutTwipsPerPixel), kScalePixels, kScaleTwips);
}
inline double ScreenTwipsY(double layoutTwips) {
    return Surface::ScaleY(RoundToLong(layoutTwips / kLayoutTwipsPerPixel), kScalePixels, kScaleTwips);
}

// The screen's twips in layout twips.
inline double LayoutTwipsX(double screenTwips) {
    return Surface::ScaleX(screenTwips, kScaleTwips, kScalePixels) * kLayoutTwipsPerPixel;
}
inline double LayoutTwipsY(double screenTwips) {
    return Surface::ScaleY(screenTwips, kScaleTwips, kScalePixels) * kLayoutTwipsPerPixel;
}

} // namespace glim
