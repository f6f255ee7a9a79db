#pragma once
// The four title-button glyphs of a caption strip, in strip order.
#include "SkinTable.h"

namespace skingen {

enum class TitleGlyph { Close, Restore, Maximize, Minimize };

// One 19 x 20 glyph cell drawn over `under`, the caption pixels it covers.
Raster PaintTitleGlyph(const SkinStyle& s, int skin, TitleGlyph g, bool pressed, const Raster& under);

// The symbol alone (cross, two windows, window, bar) centred in a box.
void DrawSymbol(Raster& r, TitleGlyph g, float cx, float cy, float size, float thick, Rgb c);

} // namespace skingen
