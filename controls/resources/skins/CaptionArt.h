#pragma once
// The frame pictures of a skin: the 640-column caption strip (active image,
// title-button glyphs, inactive image) and the seven border tiles.
#include "SkinTable.h"

namespace skingen {

// Caption strip geometry the frame painter relies on.
constexpr int kStripWidth = 640;
constexpr int kLeftEnd = 90;   // the left part is columns 0 … 89
constexpr int kTileStart = 91; // the middle tile, 52 columns
constexpr int kTileWidth = 52;
constexpr int kRightStart = 140; // the right part, 101 columns to 240
constexpr int kRightEnd = 240;
constexpr int kGlyphX = 240; // glyphs: close, restore, maximize, minimize
constexpr int kGlyphW = 19, kGlyphH = 20;
constexpr int kInactiveX = 400;
constexpr int kBorder = 10;    // border tile size and frame width
constexpr int kTitleBand = 29; // rows of the title band; the menu band follows

enum class FrameSide { Left, Right, Bottom };

Raster PaintCaption(int skin);
Raster PaintBorder(int skin);
// Colour of the frame k pixels in from its outer edge (0 … 9).
Rgb FrameProfile(const SkinStyle& s, int k, FrameSide side);
// Colour of the title text the frame painter chooses for a skin.
Rgb TitleTextColour(int skin, bool active);

} // namespace skingen
