#pragma once
// The readable description of the 24 skins: per skin a palette and the look
// of each kind of artwork.  Everything the generator paints comes from here.
#include "Raster.h"

#include <array>

namespace skingen {

// Shading of the caption's title band.
enum class CaptionLook {
    Classic, // plain vertical gradient with a bright top line
    Gloss,   // glass: light upper half, deep lower half
    Metal,   // brushed steel streaks
    Stripes, // horizontal pinstripes
    Neon,    // dark band, scan lines, glowing accent line
    Pipe,    // a shiny tube
    Flat,    // one colour, crisp lines
    Luna,    // bright top edge, rich body, dark foot
    Rainbow, // pastel colour bands
    Wave,    // gradient with streamlined swooshes at both ends
};

// Title-button glyphs.
enum class GlyphLook {
    Bevel,   // classic raised square, dark symbol
    Round,   // glossy disc, white symbol
    Tile,    // rounded square with gloss, white symbol, red close
    Outline, // neon outline, symbol in the accent colour
    Traffic, // three coloured discs
    Bare,    // symbol alone, a soft plate when pressed
};

// Push-button cells (the face stays light: captions are dark).
enum class ButtonLook { Bevel, Gloss, Flat, Metal, Neon, Aqua, Luna };

// Check-box and option-button glyphs.
enum class ToggleLook { Classic, Luna, Gloss, Neon, Flat, Metal };

struct ToggleSpec {
    ToggleLook look;
    Rgb edge;  // box outline
    Rgb mark;  // tick or dot
    Rgb hover; // hover ring
};

struct SkinStyle {
    const char* tag; // short Latin name for files and the contact sheet
    CaptionLook caption;
    Rgb titleTop, titleBottom; // title band gradient
    Rgb frame;                 // border body colour
    Rgb menuTop, menuBottom;   // menu band behind the black menu texts
    Rgb accent;                // lines, glows, fills
    bool darkTitle;            // the title text is drawn dark on this skin
    GlyphLook glyph;
    Rgb glyphBody, glyphClose; // title-button plate colours
    ButtonLook button;
    Rgb buttonFace, buttonEdge; // push-button cells
    ToggleSpec check, option;
    Rgb fill;           // progress fill colour
    int fillW, fillH;   // progress fill bitmap size
    int thumbW, thumbH; // horizontal slider thumb size (the vertical one is its transpose)
    Rgb thumb;          // thumb body
};

constexpr int kSkinCount = 24;
const std::array<SkinStyle, kSkinCount>& Skins();

// Caption strip height of a skin (one skin is a pixel shorter).
int CaptionHeight(int skin);

} // namespace skingen
