#pragma once
// Pictures that belong to no single skin: toolbox images, design-time
// pictures, the hand cursor, the balloon's icons and the About picture.
#include "Raster.h"

#include <vector>

namespace skingen {

Raster PaintToolboxImage(int control); // 16 x 15, controls in class-table order
Raster PaintFormDesign();              // 32 x 32
Raster PaintToolTipDesign();           // 32 x 32
Raster PaintFillDesign();              // 14 x 24
Raster PaintAbout();                   // 336 x 164

struct Cursor {
    Raster image; // 32 x 32 with alpha
    int hotX, hotY;
};
Cursor PaintHandCursor();

// Sizes of one icon (16 and 32), IconMode order: exclamation, question, information, critical.
std::vector<Raster> PaintTipIcon(int mode);

} // namespace skingen
