#pragma once
// One picture showing every skin as it will look: the caption strip, an
// active and an inactive framed window composed the way the frame painter
// composes them, and the control artwork in use and enlarged.
#include "Raster.h"

namespace skingen {

// The parts of one skin, as written to the resources.
struct SkinArt {
    Raster caption, border, buttons, check, option, hThumb, vThumb, fill;
};

// A framed window of the given size, painted from a caption strip and border tiles.
Raster ComposeWindow(const SkinArt& art, int skin, bool active, int w, int h);

Raster ContactSheet(const SkinArt* skins, int count);

} // namespace skingen
