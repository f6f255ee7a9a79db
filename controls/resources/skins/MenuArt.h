#pragma once
// Background patterns of the owner-drawn popup menu items, one per menu
// style 0 … 30 (style 0 is stored under its own identifier).
#include "Raster.h"

namespace skingen {

constexpr int kMenuStyles = 31;

Raster PaintMenuPattern(int style);

} // namespace skingen
