// Build-time generator of the library's and the editor's artwork.
//   skingen skins <outdir> <contact-sheet.png>   bitmaps, cursor, icons, skins.rc
//   skingen editor <outdir>                      Versolo's pictures, editor.rc
// The resource script names every file by the folder given here, so the
// resource compiler finds it whatever its working folder.
#include "CaptionArt.h"
#include "ContactSheet.h"
#include "ControlArt.h"
#include "DesignArt.h"
#include "ImageFiles.h"
#include "MenuArt.h"
#include "SkinResourceIds.h"
#include "SkinTable.h"
#include "VersoloArt.h"
#include "VersoloResourceIds.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace skingen;

// Under Wine a Unix path is reached through drive Z:.
std::string NativePath(const std::string& path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') return "Z:" + path;
#endif
    return path;
}

class Output {
  public:
    explicit Output(const std::string& dir) : dir_(dir) {}

    void Bitmap(int id, const std::string& name, const Raster& img, const char* what) {
        Check(WriteBmp24(FileName(name), img), name);
        Line(id, "BITMAP", name, what);
    }
    void Icon(int id, const std::string& name, const std::vector<Raster>& sizes, const char* what) {
        Check(WriteIco(FileName(name), sizes), name);
        Line(id, "ICON", name, what);
    }
    void CursorFile(int id, const std::string& name, const Cursor& c, const char* what) {
        Check(WriteCur(FileName(name), c.image, c.hotX, c.hotY), name);
        Line(id, "CURSOR", name, what);
    }
    // Writes the script last, so a failed run leaves no script behind.
    bool Finish(const std::string& script) {
        if (!ok_) return false;
        std::FILE* f = std::fopen(FileName(script).c_str(), "wb");
        if (!f) return Fail(script);
        const bool written = std::fwrite(rc_.data(), 1, rc_.size(), f) == rc_.size();
        return std::fclose(f) == 0 && written ? true : Fail(script);
    }
    bool Ok() const { return ok_; }

  private:
    std::string FileName(const std::string& name) const { return NativePath(dir_ + "/" + name); }
    void Line(int id, const char* type, const std::string& name, const char* what) {
        rc_ += std::to_string(id) + " " + type + " \"" + dir_ + "/" + name + "\" // " + what + "\n";
    }
    void Check(bool written, const std::string& name) {
        if (!written) Fail(name);
    }
    bool Fail(const std::string& name) {
        std::fprintf(stderr, "skingen: cannot write %s\n", FileName(name).c_str());
        ok_ = false;
        return false;
    }

    std::string dir_;
    std::string rc_ = "// Written by skingen; do not edit.\n";
    bool ok_ = true;
};

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
    out.CursorFile(glim::skinres::kHandCursor, "hand.cur", PaintHandCursor(), "hand pointer");
    if (!out.Ok()) return 1;
    if (!WritePng(NativePath(contactSheet), ContactSheet(art.data(), kSkinCount))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", contactSheet.c_str());
        return 1;
    }
    return out.Finish("skins.rc") ? 0 : 1;
}

int Editor(const std::string& dir) {
    Output out(dir);
    out.Icon(versolo::res::kIcon, "versolo.ico", PaintProgramIcon(), "program icon");
    out.Bitmap(versolo::res::kSplash, "splash.bmp", PaintSplash(), "splash picture");
    out.Bitmap(versolo::res::kAboutBanner, "about-banner.bmp", PaintAboutBanner(), "About picture");
    out.Bitmap(versolo::res::kAboutBadge, "about-badge.bmp", PaintAboutBadge(), "About badge");
    return out.Finish("editor.rc") ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "skins" && argc == 4) return Skins(argv[2], argv[3]);
    if (mode == "editor" && argc == 3) return Editor(argv[2]);
    std::fprintf(stderr, "usage: skingen skins <outdir> <contact-sheet.png> | skingen editor <outdir>\n");
    return 2;
}
