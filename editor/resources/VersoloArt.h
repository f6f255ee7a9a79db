#pragma once
// Versolo's pictures: the splash, the About pictures and the program icon.
#include "Raster.h"

#include <vector>

namespace skingen {

Raster PaintSplash();                   // 500 x 170
Raster PaintAboutBanner();              // 500 x 170
Raster PaintAboutBadge();               // 64 x 64
std::vector<Raster> PaintProgramIcon(); // 16, 32 and 48 pixels, with alpha

} // namespace skingen
