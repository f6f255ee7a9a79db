// Build-time generator of the library's artwork.
//   skingen skins <outdir> <contact-sheet.png>   bitmaps, cursor, icons, skins.rc
#include "ArtOutput.h"
#include "CaptionArt.h"
#include "ContactSheet.h"
#include "ControlArt.h"
#include "DesignArt.h"
#include "ImageFiles.h"
#include "MenuArt.h"
#include "SkinResourceIds.h"
#include "SkinTable.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace skingen;

std::string Two(int i) {
    std::string t = std::to_string(i);
    if (t.size() < 2) t.insert(t.begin(), '0');
    return t;
}

int Skins(const std::string& dir, const std::string& contactSheet) {
    Output out(dir);
    std::vector<SkinArt> art;
    for (int s = 0; s < kSkinCount; ++s) {
        const SkinStyle& st = skingen::Skins()[s];
        SkinArt a{PaintCaption(s),
                  PaintBorder(s),
                  PaintButtonSheet(st),
                  PaintCheckSheet(st.check),
                  PaintOptionSheet(st.option),
                  PaintHorizontalThumb(st),
                  PaintVerticalThumb(st),
                  PaintFill(st, s)};
        const std::string n = Two(s);
        out.Bitmap(glim::skinres::Caption(s), "caption-" + n + ".bmp", a.caption, "caption strip");
        out.Bitmap(glim::skinres::Border(s), "border-" + n + ".bmp", a.border, "border tiles");
        out.Bitmap(glim::skinres::Fill(s), "fill-" + n + ".bmp", a.fill, "progress fill");
        out.Bitmap(glim::skinres::Button(s), "button-" + n + ".bmp", a.buttons, "push-button cells");
        out.Bitmap(glim::skinres::VerticalThumb(s), "vthumb-" + n + ".bmp", a.vThumb,
                   "vertical slider thumb");
        out.Bitmap(glim::skinres::HorizontalThumb(s), "hthumb-" + n + ".bmp", a.hThumb,
                   "horizontal slider thumb");
        out.Bitmap(glim::skinres::CheckSheet(s), "check-" + n + ".bmp", a.check, "check-box glyphs");
        out.Bitmap(glim::skinres::OptionSheet(s), "option-" + n + ".bmp", a.option, "option-button glyphs");
        art.push_back(std::move(a));
    }
    for (int m = 0; m < kMenuStyles; ++m)
        out.Bitmap(glim::skinres::MenuPattern(m), "menu-" + Two(m) + ".bmp", PaintMenuPattern(m),
                   "popup item pattern");
    for (int c = 0; c < 8; ++c)
        out.Bitmap(glim::skinres::Toolbox(static_cast<glim::skinres::ToolboxImage>(c)),
                   "toolbox-" + Two(c) + ".bmp", PaintToolboxImage(c), "toolbox image");
    out.Bitmap(glim::skinres::kFormDesign, "design-form.bmp", PaintFormDesign(), "GlimForm design picture");
    out.Bitmap(glim::skinres::kToolTipDesign, "design-tooltip.bmp", PaintToolTipDesign(),
               "GlimToolTip design picture");
    out.Bitmap(glim::skinres::kFillDesign, "design-fill.bmp", PaintFillDesign(), "GlimPressBar design fill");
    out.Bitmap(glim::skinres::kButtonDesign, "button-02.bmp", art[2].buttons, "GlimButton design sheet");
    out.Bitmap(glim::skinres::kThumbDesign, "hthumb-01.bmp", art[1].hThumb, "GlimSlider design thumb");
    out.Bitmap(glim::skinres::kAbout, "about.bmp", PaintAbout(), "About box picture");
    const char* tips[] = {"tip-exclamation.ico", "tip-question.ico", "tip-information.ico",
                          "tip-critical.ico"};
    for (int i = 0; i < 4; ++i)
        out.Icon(glim::skinres::TipIcon(i), tips[i], PaintTipIcon(i), "balloon icon");
    const Cursor hand = PaintHandCursor();
    out.CursorFile(glim::skinres::kHandCursor, "hand.cur", hand.image, hand.hotX, hand.hotY, "hand pointer");
    if (!out.Ok()) return 1;
    if (!WritePng(NativePath(contactSheet), ContactSheet(art.data(), kSkinCount))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", contactSheet.c_str());
        return 1;
    }
    return out.Finish("skins.rc") ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "skins" && argc == 4) return Skins(argv[2], argv[3]);
    std::fprintf(stderr, "usage: skingen skins <outdir> <contact-sheet.png>\n");
    return 2;
}
