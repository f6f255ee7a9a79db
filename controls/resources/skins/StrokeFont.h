#pragma once
// A small stroke font for the lettering inside pictures (About boxes, the
// splash, the contact sheet), so no installed font changes the artwork.
#include "Raster.h"

#include <string>

namespace skingen {

struct TextStyle {
    float unit = 2;     // pixels per font unit; capitals are 6 units high
    float thick = 1.4f; // stroke width in pixels
    float slant = 0;    // horizontal shift per pixel of height, for italics
    Rgb colour;
};

// Draws text with its cap top at y; returns the advance width in pixels.
float DrawStrokeText(Raster& r, float x, float y, const std::string& text, const TextStyle& st,
                     float opacity = 1);
float TextWidth(const std::string& text, const TextStyle& st);

} // namespace skingen
