#pragma once
// Artwork of the skinned controls: push-button cells, check-box and
// option-button glyph sheets, slider thumbs and progress fills.
#include "SkinTable.h"

namespace skingen {

constexpr int kCellW = 18, kCellH = 21; // one push-button cell
constexpr int kToggle = 13;             // one check or option glyph

Raster PaintButtonSheet(const SkinStyle& s);     // 90 x 21: up, hover, pressed, disabled, focus
Raster PaintCheckSheet(const ToggleSpec& t);     // 13 x 156: (unchecked, checked, mixed) x 4 states
Raster PaintOptionSheet(const ToggleSpec& t);    // 52 x 26: (false, true) x 4 states
Raster PaintHorizontalThumb(const SkinStyle& s); // thumbW x thumbH
Raster PaintVerticalThumb(const SkinStyle& s);   // thumbH x thumbW
Raster PaintFill(const SkinStyle& s, int skin);  // fillW x fillH

// A button of any size cut from a sheet cell the way the control stretches it.
Raster StretchCell(const Raster& sheet, int cell, int w, int h);

} // namespace skingen
