// Build-time generator of Versolo's pictures.
//   versolo_artgen <outdir>   splash, About pictures, program icon, editor.rc
#include "ArtOutput.h"
#include "VersoloArt.h"
#include "VersoloResourceIds.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: versolo_artgen <outdir>\n");
        return 2;
    }
    skingen::Output out(argv[1]);
    out.Icon(versolo::res::kIcon, "versolo.ico", skingen::PaintProgramIcon(), "program icon");
    out.Bitmap(versolo::res::kSplash, "splash.bmp", skingen::PaintSplash(), "splash picture");
    out.Bitmap(versolo::res::kAboutBanner, "about-banner.bmp", skingen::PaintAboutBanner(), "About picture");
    out.Bitmap(versolo::res::kAboutBadge, "about-badge.bmp", skingen::PaintAboutBadge(), "About badge");
    return out.Finish("editor.rc") ? 0 : 1;
}
