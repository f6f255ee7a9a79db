#include "GlimButtonLooks.h"

#include "Conversions.h"
#include "OleColor.h"
#include "PictureClip.h"
#include "Pictures.h"
#include "Surface.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace glim {

// One caption laid out for one font and area: what DT_CALCRECT measured and,
// from its first drawing on, the strokes the word-wrapped drawing makes, from
// its box's top-left corner.  A paint draws only the strokes in view.
struct GlimButtonCaption {
    struct Stroke {
        bool underline; // the access key's underline from (x, y) to (x2, y2); else a line of text at (x, y)
        int x, y, x2, y2;
        UINT options; // of the text, with its clip
        RECT clip;
        std::wstring text;
    };
    std::string caption;
    LOGFONTA font{}; // of the font it was measured and drawn with
    RECT area{};     // where it was measured
    RECT measured{}; // DT_CALCRECT's answer
    bool recorded = false;
    int lineHeight = 0;
    std::vector<Stroke> strokes;
};

// The last two layouts of a face: its own font's and the default button's bold one.
struct GlimButtonCaptions {
    std::shared_ptr<GlimButtonCaption> kept[2];
};

namespace {

constexpr UINT kCaptionFlags = DT_WORDBREAK | DT_VCENTER | DT_CENTER;
// Fixed colours of the Windows XP frame.
constexpr COLORREF kXPBorder = 0x733C00;
constexpr COLORREF kXPCorner = 0x7B4D10;
// The Java metal focus box.
constexpr COLORREF kJavaFocus = 0xCC9999;

bool WhiteCaptions(long style) {
    return style == 0 || style == 2 || style == 3 || style == 6 || style == 20;
}

// The font selected in dc, as a layout is known by.
LOGFONTA CurrentFont(HDC dc) {
    LOGFONTA lf{};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    return lf;
}

bool SameFont(const LOGFONTA& a, const LOGFONTA& b) {
    return std::memcmp(&a, &b, offsetof(LOGFONTA, lfFaceName)) == 0 &&
           lstrcmpA(a.lfFaceName, b.lfFaceName) == 0;
}

struct StrokeReader {
    GlimButtonCaption& c;
    POINT from{}; // the pen's place before the next LineTo
};

int CALLBACK KeepStroke(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM lp) {
    StrokeReader& r = *reinterpret_cast<StrokeReader*>(lp);
    switch (rec->iType) {
    case EMR_EXTTEXTOUTW: {
        const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec)->emrtext;
        const auto* text = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(rec) + t.offString);
        const RECT clip{t.rcl.left, t.rcl.top, t.rcl.right, t.rcl.bottom};
        r.c.strokes.push_back({false, static_cast<int>(t.ptlReference.x), static_cast<int>(t.ptlReference.y),
                               0, 0, t.fOptions, clip, std::wstring(text, t.nChars)});
        break;
    }
    case EMR_MOVETOEX:
        r.from = POINT{reinterpret_cast<const EMRMOVETOEX*>(rec)->ptl.x,
                       reinterpret_cast<const EMRMOVETOEX*>(rec)->ptl.y};
        break;
    case EMR_LINETO: {
        const POINTL& to = reinterpret_cast<const EMRLINETO*>(rec)->ptl;
        r.c.strokes.push_back({true,
                               static_cast<int>(r.from.x),
                               static_cast<int>(r.from.y),
                               static_cast<int>(to.x),
                               static_cast<int>(to.y),
                               0,
                               RECT{},
                               {}});
        r.from = POINT{to.x, to.y};
        break;
    }
    default:
        break;
    }
    return 1;
}

// Draws the caption once, with dc's font, into a recording at its box's
// top-left corner and keeps the strokes; false when it cannot be recorded.
bool RecordCaption(HDC dc, GlimButtonCaption& c) {
    c.recorded = true;
    HDC rec = CreateEnhMetaFileW(dc, nullptr, nullptr, nullptr);
    if (!rec) return false;
    {
        SelectGuard font(rec, GetCurrentObject(dc, OBJ_FONT));
        TEXTMETRICA tm{};
        GetTextMetricsA(rec, &tm);
        c.lineHeight = tm.tmHeight + tm.tmExternalLeading;
        RECT box{0, 0, c.measured.right - c.measured.left, c.measured.bottom - c.measured.top};
        DrawTextA(rec, c.caption.data(), GlimButton_AnsiLength(c.caption), &box, kCaptionFlags);
    }
    const HENHMETAFILE emf = CloseEnhMetaFile(rec);
    if (!emf) return false;
    StrokeReader reader{c};
    const bool read = EnumEnhMetaFile(nullptr, emf, &KeepStroke, &reader, nullptr);
    DeleteEnhMetaFile(emf);
    if (!read) c.strokes.clear();
    return read;
}

// Draws a laid-out caption into box r as DrawTextA would, the strokes out
// of dc's reach left out; false when the layout is not of this caption,
// box and font.
bool DrawLaidCaption(HDC dc, GlimButtonCaption* c, const std::string& caption, const RECT& r) {
    if (!c || c->caption != caption || r.right - r.left != c->measured.right - c->measured.left ||
        r.bottom - r.top != c->measured.bottom - c->measured.top || !SameFont(c->font, CurrentFont(dc)))
        return false;
    // A caption that fits its area is short, and DrawTextA draws it fast; a
    // recording would cost a metafile whose device queries each go to the server.
    if (!c->recorded && c->measured.right - c->measured.left <= c->area.right - c->area.left &&
        c->measured.bottom - c->measured.top <= c->area.bottom - c->area.top)
        return false;
    if (!c->recorded && !RecordCaption(dc, *c)) return false;
    RECT reach{};
    GetClipBox(dc, &reach);
    // A glyph may reach past its line; two lines of margin take in any.
    InflateRect(&reach, 0, 2 * c->lineHeight);
    for (const GlimButtonCaption::Stroke& s : c->strokes) {
        const int y = r.top + s.y;
        if (y < reach.top || y > reach.bottom) continue;
        if (s.underline) {
            OwnedPen pen(CreatePen(PS_SOLID, 1, GetTextColor(dc)));
            SelectGuard sel(dc, pen.get());
            MoveToEx(dc, r.left + s.x, y, nullptr);
            LineTo(dc, r.left + s.x2, r.top + s.y2);
        } else {
            RECT clip = s.clip;
            OffsetRect(&clip, r.left, r.top);
            ExtTextOutW(dc, r.left + s.x, y, s.options, &clip, s.text.data(),
                        static_cast<UINT>(s.text.size()), nullptr);
        }
    }
    return true;
}

// One paint: the face, its palette and the DC, with the looks' primitives.
class Painter {
  public:
    Painter(HDC dc, GlimButtonFace& f) : dc_(dc), f_(f), p_(f.palette), W(f.clientWidth), H(f.clientHeight) {}

    void Paint(int state);

  private:
    COLORREF S(COLORREF c, long d) const { return GlimButton_ShiftColor(c, d, false, f_.SoftBevel); }
    COLORREF SP(COLORREF c, long d) const { return GlimButton_ShiftColor(c, d, true, f_.SoftBevel); }

    void Box(int x, int y, int w, int h, COLORREF c, bool frameOnly) const {
        RECT r{x, y, x + w, y + h};
        OwnedBrush b(CreateSolidBrush(c));
        if (frameOnly)
            FrameRect(dc_, &r, b.get());
        else
            FillRect(dc_, &r, b.get());
    }
    void Fill(int x, int y, int w, int h, COLORREF c) const { Box(x, y, w, h, c, false); }
    void Frame(int x, int y, int w, int h, COLORREF c) const { Box(x, y, w, h, c, true); }
    void Line(int x1, int y1, int x2, int y2, COLORREF c) const {
        OwnedPen pen(CreatePen(PS_SOLID, 1, c));
        SelectGuard sel(dc_, pen.get());
        MoveToEx(dc_, x1, y1, nullptr);
        LineTo(dc_, x2, y2);
    }
    void Pixel(int x, int y, COLORREF c) const { SetPixelV(dc_, x, y, c); }
    void Corners(int inset, COLORREF c) const {
        Pixel(inset, inset, c);
        Pixel(inset, H - 1 - inset, c);
        Pixel(W - 1 - inset, inset, c);
        Pixel(W - 1 - inset, H - 1 - inset, c);
    }
    void Ellipse(int x, int y, int w, int h, COLORREF pen, COLORREF brush) const {
        OwnedBrush b(CreateSolidBrush(brush));
        OwnedPen p(CreatePen(PS_SOLID, 2, pen));
        SelectGuard selB(dc_, b.get());
        SelectGuard selP(dc_, p.get());
        ::Ellipse(dc_, x, y, x + w, y + h);
    }
    void Bevel(COLORREF a, COLORREF b, COLORREF c, COLORREF d, int inset, bool outerOnly) const;
    void Gradient(COLORREF base, long k, bool proportional, bool up) const;
    void Focus() const {
        if (!f_.ShowFocusRect || !f_.hasFocus) return;
        SetTextColor(dc_, p_.text);
        DrawFocusRect(dc_, &f_.focusRect);
    }
    void Text(const RECT& r) const {
        if (DrawLaidCaption(dc_, f_.layout.get(), f_.caption, r)) return;
        RECT box = r;
        DrawTextA(dc_, f_.caption.data(), GlimButton_AnsiLength(f_.caption), &box, kCaptionFlags);
    }
    void CaptionEffect(const RECT& r) const;
    void Caption(std::uint8_t code);
    void BoldCaption(std::uint8_t code);
    void Skin(short cell) const;
    void Picture(std::uint8_t code);
    void PictureEffect(int o, IPictureDisp* pic) const;
    void Blit(IPictureDisp* pic, int x, int y, long solid = -1, bool skipBright = false, bool grey = false,
              bool blend = false) const {
        GlimButton_BlitPicture(dc_, x, y, f_.picWidth, f_.picHeight, pic, p_.mask, solid, skipBright, grey,
                               blend, f_.UseMaskColor);
    }

    void LookGlimButton(int state);
    void LookWin32(int state);
    void LookXP(int state);
    void LookXPPressed();
    void LookMac(int state);
    void LookJava(int state);
    void LookNetscape(int state);
    void LookFlat(int state);
    void LookOfficeXP(int state);
    void LookMacOSX(int state);
    void LookTransparent(int state);
    void LookOval(int state);
    void LookKDE(int state);

    bool FocusOrDefault() const { return (f_.hasFocus || f_.isDefault) && f_.ShowFocusRect; }
    std::uint8_t HoverCode() const { return f_.mouseIsOver ? 1 : 0; }

    HDC dc_;
    int curState_ = 0; // the state asked for: 0 up, 2 pressed
    GlimButtonFace& f_;
    GlimButtonPalette& p_;
    const int W;
    const int H;
};

void Painter::Bevel(COLORREF a, COLORREF b, COLORREF c, COLORREF d, int inset, bool outerOnly) const {
    const int o = std::abs(inset);
    const int x = W - 1 + inset, y = H - 1 + inset;
    const HGDIOBJ old = GetCurrentObject(dc_, OBJ_PEN);
    {
        OwnedPen pa(CreatePen(PS_SOLID, 1, a));
        SelectObject(dc_, pa.get());
        MoveToEx(dc_, o, y, nullptr);
        LineTo(dc_, o, o);
        LineTo(dc_, x, o);
        OwnedPen pb(CreatePen(PS_SOLID, 1, b));
        SelectObject(dc_, pb.get());
        LineTo(dc_, x, y);
        LineTo(dc_, o - 1, y);
        MoveToEx(dc_, o + 1, y - 1, nullptr);
        SelectObject(dc_, old);
    }
    if (outerOnly) return;
    OwnedPen pc(CreatePen(PS_SOLID, 1, c));
    SelectObject(dc_, pc.get());
    LineTo(dc_, o + 1, o + 1);
    LineTo(dc_, x - 1, o + 1);
    OwnedPen pd(CreatePen(PS_SOLID, 1, d));
    SelectObject(dc_, pd.get());
    LineTo(dc_, x - 1, y - 1);
    LineTo(dc_, o, y - 1);
    SelectObject(dc_, old);
}

void Painter::Gradient(COLORREF base, long k, bool proportional, bool up) const {
    const float step = static_cast<float>(k) / static_cast<float>(H);
    for (int i = 1; i <= H; ++i) {
        const long d = RoundToLong(static_cast<double>(step) * i);
        const int y = up ? H - i : i;
        Line(0, y, W, y, GlimButton_ShiftColor(base, -d, proportional, f_.SoftBevel));
    }
}

void Painter::CaptionEffect(const RECT& r) const {
    if (f_.SpecialEffect <= cbNone) return;
    COLORREF base = p_.face;
    if (f_.ButtonType == kLookWinXP || f_.ButtonType == kLookMac || f_.ButtonType == kLookKDE2)
        base = p_.xpFace;
    else if (f_.ButtonType == kLookOfficeXP && curState_ == 0 && f_.mouseIsOver && f_.ColorScheme != kCustom)
        base = p_.accentLight;
    const bool engraved = f_.SpecialEffect == cbEngraved;
    RECT first = r;
    OffsetRect(&first, 1, 1);
    SetTextColor(dc_, S(base, engraved ? 40 : -40));
    Text(first);
    if (f_.SpecialEffect >= cbShadowed) return;
    RECT second = r;
    OffsetRect(&second, -1, -1);
    SetTextColor(dc_, S(base, engraved ? -40 : 40));
    Text(second);
}

void Painter::Caption(std::uint8_t code) {
    f_.lastCaptionCode = code;
    const COLORREF normal = WhiteCaptions(f_.Style) ? 0xFFFFFF : p_.text;
    switch (code) {
    case 0:
    case 1:
        CaptionEffect(f_.captionRect);
        SetTextColor(dc_, normal);
        Text(f_.captionRect);
        break;
    case 2:
        CaptionEffect(f_.pressedCaptionRect);
        SetTextColor(dc_, normal);
        Text(f_.pressedCaptionRect);
        break;
    case 3:
    case 4:
        SetTextColor(dc_, p_.shadow);
        Text(f_.captionRect);
        break;
    case 5:
        SetTextColor(dc_, SP(p_.xpFace, -104));
        Text(f_.captionRect);
        break;
    case 6:
        SetTextColor(dc_, p_.highlight);
        Text(f_.pressedCaptionRect);
        SetTextColor(dc_, p_.face);
        Text(f_.captionRect);
        break;
    case 7:
        SetTextColor(dc_, S(p_.shadow, -50));
        Text(f_.pressedCaptionRect);
        SetTextColor(dc_, p_.highlight);
        Text(f_.captionRect);
        break;
    default:
        Text(f_.captionRect);
        break;
    }
}

// The default button's caption in bold: laid out and drawn with a bold
// copy of the font, then the normal layout is back.  The control's font
// object is never changed, so nothing is left bold if anything fails.
void Painter::BoldCaption(std::uint8_t code) {
    if (!f_.isDefault) {
        Caption(code);
        return;
    }
    LOGFONTA lf{};
    if (!f_.font || !GetObjectA(f_.font, sizeof lf, &lf)) {
        Caption(code);
        return;
    }
    lf.lfWeight = FW_BOLD;
    OwnedFont bold(CreateFontIndirectA(&lf));
    const GlimButtonFace normal = f_;
    {
        SelectGuard sel(dc_, bold.get());
        f_.font = bold.get();
        GlimButton_LayoutCaption(dc_, f_);
        Caption(code);
    }
    const std::uint8_t drawnCode = f_.lastCaptionCode;
    f_ = normal;
    f_.lastCaptionCode = drawnCode;
}

void Painter::Skin(short cell) const {
    if (!f_.sheet) return;
    const PictureClip& pc = *f_.sheet;
    const int SW = W, SH = H;
    const int right = (SW - 3) - 6;
    const int midH = static_cast<short>(SH - 6);
    pc.DrawCell(dc_, cell, 0, 0, 9, 3, 0, 0, 9, 3);
    pc.DrawCell(dc_, cell, right, 0, 9, 3, 9, 0, 9, 3);
    pc.DrawCell(dc_, cell, right, SH - 3, 9, 3, 9, 18, 9, 3);
    pc.DrawCell(dc_, cell, 0, SH - 3, 9, 3, 0, 18, 9, 3);
    pc.DrawCell(dc_, cell, 9, 0, SW - 15, 3, 9, 0, 1, 3);
    pc.DrawCell(dc_, cell, right, 3, 9, midH, 9, 3, 9, 15);
    pc.DrawCell(dc_, cell, 0, 3, 9, midH, 0, 3, 9, 15);
    pc.DrawCell(dc_, cell, 9, SH - 3, SW - 15, 3, 9, 18, 1, 3);
    pc.DrawCell(dc_, cell, 9, 3, SW - 15, midH, 9, 3, 1, 15);
}

void Painter::PictureEffect(int o, IPictureDisp* pic) const {
    if (f_.SpecialEffect <= cbNone) return;
    COLORREF base = p_.face;
    if (f_.ButtonType == kLookWinXP)
        base = p_.xpFace;
    else if (o == -1 && f_.ColorScheme != kCustom)
        base = p_.accentLight;
    const bool engraved = f_.SpecialEffect == cbEngraved;
    Blit(pic, f_.picX + o + 1, f_.picY + o + 1, S(base, engraved ? 40 : -40));
    if (f_.SpecialEffect >= cbShadowed) return;
    Blit(pic, f_.picX + o - 1, f_.picY + o - 1, S(base, engraved ? -40 : 40));
}

void Painter::Picture(std::uint8_t code) {
    IPictureDisp* normal = f_.PictureNormal.get();
    IPictureDisp* over = f_.PictureOver.get();
    if (!normal) return;
    const long type = f_.ButtonType;
    const int x = f_.picX, y = f_.picY;
    switch (code) {
    case 0:
        if (f_.mouseIsOver && type == kLookOfficeXP) {
            PictureEffect(-1, normal);
            Blit(normal, x + 1, y + 1, p_.shadow);
            Blit(normal, x - 1, y - 1);
        } else if (f_.mouseIsOver && over) {
            PictureEffect(0, over);
            Blit(over, x, y);
        } else if (f_.mouseIsOver) {
            PictureEffect(0, normal);
            Blit(normal, x, y);
        } else {
            PictureEffect(0, normal);
            Blit(normal, x, y, -1, false, f_.UseGreyscale, type == kLookOfficeXP);
        }
        break;
    case 1:
        if (over && type != kLookOfficeXP) {
            if (type == kLookJavaMetal)
                Blit(over, x, y);
            else
                Blit(over, x + 1, y + 1);
        } else if (type != kLookJavaMetal && type != kLookOfficeXP) {
            PictureEffect(1, normal);
            Blit(normal, x + 1, y + 1);
        } else {
            PictureEffect(0, normal);
            Blit(normal, x, y);
        }
        break;
    case 2:
        if (type == kLookWinXP) {
            Blit(normal, x + 1, y + 1, -1, false, true);
        } else if (type == kLookJavaMetal || type == kLookNetscape6) {
            Blit(normal, x, y, p_.shadow, true);
        } else if (type == kLookOfficeXP) {
            Blit(normal, x, y, S(p_.shadow, 13), true);
        } else {
            Blit(normal, x + 1, y + 1, p_.highlight, true);
            Blit(normal, x, y, p_.shadow, true);
        }
        break;
    default:
        return;
    }
    if (f_.PicturePosition == cbBackground) Caption(f_.lastCaptionCode);
}

void Painter::LookGlimButton(int state) {
    if (state == 0) {
        if (f_.mouseIsOver) {
            Skin(1);
            Caption(1);
        } else if (FocusOrDefault()) {
            Skin(4);
            Caption(1);
        } else {
            Skin(0);
            Caption(0);
        }
        Focus();
    } else if (state == 2) {
        Skin(2);
        Caption(2);
    } else {
        Skin(3);
        Caption(3);
    }
}

void Painter::LookWin32(int state) {
    const bool marked = f_.ShowFocusRect && f_.isDefault;
    if (state == 0) {
        Caption(HoverCode());
        if (marked) {
            Bevel(p_.highlight, p_.darkShadow, p_.light, p_.shadow, -1, false);
            Focus();
            Frame(0, 0, W, H, p_.darkShadow);
        } else {
            Bevel(p_.highlight, p_.darkShadow, p_.light, p_.shadow, 0, false);
        }
    } else if (state == 2) {
        Caption(2);
        if (marked) {
            Frame(0, 0, W, H, p_.darkShadow);
            Frame(1, 1, W - 2, H - 2, p_.shadow);
            Focus();
        } else {
            Bevel(p_.darkShadow, p_.highlight, p_.shadow, p_.light, 0, false);
        }
    } else {
        Caption(3);
        Bevel(p_.highlight, p_.darkShadow, p_.light, p_.shadow, 0, false);
    }
}

void Painter::LookXPPressed() {
    const COLORREF base = SP(p_.xpFace, -32);
    Gradient(base, 25, true, true);
    Caption(2);
    Frame(0, 0, W, H, kXPBorder);
    Corners(1, kXPCorner);
    Line(2, H - 2, W - 2, H - 2, SP(base, 16));
    Line(1, H - 3, W - 2, H - 3, SP(base, 10));
    Line(W - 2, 2, W - 2, H - 2, SP(base, 5));
    Line(W - 3, 3, W - 3, H - 3, p_.xpFace);
    Line(2, 1, W - 2, 1, SP(base, -32));
    Line(1, 2, W - 2, 2, SP(base, -24));
    Line(1, 2, 1, H - 2, SP(base, -32));
    Line(2, 2, 2, H - 2, SP(base, -22));
}

void Painter::LookXP(int state) {
    if (state == 1) {
        // Disabled.
        Fill(0, 0, W, H, SP(p_.xpFace, -24));
        Caption(5);
        Frame(0, 0, W, H, SP(p_.xpFace, -84));
        Corners(1, SP(p_.xpFace, -72));
        return;
    }
    if (state == 2 || f_.ButtonType == kLookWinXPPress) {
        LookXPPressed();
        return;
    }
    Gradient(p_.xpFace, 25, true, false);
    Caption(HoverCode());
    Frame(0, 0, W, H, kXPBorder);
    Corners(1, kXPCorner);
    struct Rim {
        COLORREF frame, bottom, top, second, left, right;
    };
    static constexpr Rim kHover{0x31B2FF, 0x0096E7, 0xCEF3FF, 0x8CDBFF, 0x6BCBFF, 0x6BCBFF};
    static constexpr Rim kFocus{0xE7AE8C, 0xEF826B, 0xFFE7CE, 0xF7D7BD, 0xF0D1B5, 0xF0D1B5};
    if (f_.mouseIsOver || FocusOrDefault()) {
        const Rim& r = f_.mouseIsOver ? kHover : kFocus;
        Frame(1, 2, W - 2, H - 4, r.frame);
        Line(2, H - 2, W - 2, H - 2, r.bottom);
        Line(2, 1, W - 2, 1, r.top);
        Line(1, 2, W - 1, 2, r.second);
        Line(2, 3, 2, H - 3, r.left);
        Line(W - 3, 3, W - 3, H - 3, r.right);
        return;
    }
    const COLORREF xp = p_.xpFace;
    Line(2, H - 2, W - 2, H - 2, SP(xp, -48));
    Line(1, H - 3, W - 2, H - 3, SP(xp, -32));
    Line(W - 2, 2, W - 2, H - 2, SP(xp, -36));
    Line(W - 3, 3, W - 3, H - 3, SP(xp, -24));
    Line(2, 1, W - 2, 1, SP(xp, 16));
    Line(1, 2, W - 2, 2, SP(xp, 10));
    Line(1, 2, 1, H - 2, SP(xp, -5));
    Line(2, 3, 2, H - 3, SP(xp, -10));
}

void Painter::LookMac(int state) {
    if (state == 2) {
        const COLORREF s16 = S(p_.shadow, -16), s32 = S(p_.shadow, -32), s64 = S(p_.shadow, -64);
        Fill(1, 1, W - 2, H - 2, s16);
        // The caption effect works on the pressed fill.
        p_.xpFace = s16;
        Caption(2);
        p_.xpFace = S(p_.face, 48);
        Frame(0, 0, W, H, p_.darkShadow);
        Frame(1, 1, W - 2, H - 2, s64);
        Frame(2, 2, W - 4, H - 4, s32);
        Pixel(2, 2, s64);
        Pixel(3, 3, s32);
        Corners(1, p_.darkShadow);
        Line(W - 3, 1, W - 3, H - 3, p_.shadow);
        Line(1, H - 3, W - 2, H - 3, p_.shadow);
        Pixel(W - 4, H - 4, p_.shadow);
        Line(W - 2, 3, W - 2, H - 2, s16);
        Line(3, H - 2, W - 2, H - 2, s16);
        Line(W - 2, H - 3, W - 4, H - 1, s32);
        Pixel(2, H - 2, s32);
        Pixel(W - 2, 2, s32);
        return;
    }
    Fill(1, 1, W - 2, H - 2, p_.light);
    Caption(state == 0 ? HoverCode() : 3);
    Frame(0, 0, W, H, p_.darkShadow);
    Corners(1, p_.darkShadow);
    Line(1, 2, 2, 0, p_.face);
    Line(3, 2, W - 3, 2, p_.highlight);
    Line(2, 2, 2, H - 3, p_.highlight);
    Pixel(3, 3, p_.highlight);
    Line(W - 3, 1, W - 3, H - 3, p_.face);
    Line(1, H - 3, W - 3, H - 3, p_.face);
    Pixel(W - 4, H - 4, p_.face);
    Line(W - 2, 2, W - 2, H - 2, p_.shadow);
    Line(2, H - 2, W - 2, H - 2, p_.shadow);
    Pixel(W - 3, H - 3, p_.shadow);
}

void Painter::LookJava(int state) {
    auto focusBox = [&] {
        if (f_.hasFocus && f_.ShowFocusRect)
            Frame(f_.captionRect.left - 2, f_.captionRect.top - 1, f_.captionWidth + 4, f_.captionHeight + 2,
                  kJavaFocus);
    };
    if (state == 0) {
        Fill(1, 1, W - 1, H - 1, S(p_.face, 12));
        Caption(HoverCode());
        Frame(1, 1, W - 1, H - 1, p_.highlight);
        Frame(0, 0, W - 1, H - 1, S(p_.shadow, -26));
        Pixel(1, H - 2, S(p_.shadow, 26));
        Pixel(W - 2, 1, S(p_.shadow, 26));
        focusBox();
    } else if (state == 2) {
        Fill(1, 1, W - 2, H - 2, S(p_.shadow, 16));
        Frame(0, 0, W - 1, H - 1, S(p_.shadow, -26));
        Line(W - 1, 1, W - 1, H, p_.highlight);
        Line(1, H - 1, W - 1, H - 1, p_.highlight);
        // Drawn directly: no pressed offset, no effect, no white skin rule.
        SetTextColor(dc_, p_.textOver);
        Text(f_.captionRect);
        focusBox();
    } else {
        Caption(4);
        Frame(0, 0, W, H, p_.shadow);
    }
}

void Painter::LookNetscape(int state) {
    const COLORREF l8 = S(p_.light, 8);
    if (state == 0) {
        Caption(HoverCode());
        Bevel(l8, p_.shadow, l8, p_.shadow, 0, false);
        Focus();
    } else if (state == 2) {
        Caption(2);
        Bevel(p_.shadow, l8, p_.shadow, l8, 0, false);
        Focus();
    } else {
        Caption(4);
        Bevel(l8, p_.shadow, l8, p_.shadow, 0, false);
    }
}

// Simple Flat, Flat Highlight and 3D Hover.
void Painter::LookFlat(int state) {
    const long type = f_.ButtonType;
    if (state == 0) {
        Caption(HoverCode());
        if (type == kLookSimpleFlat)
            Fill(1, 1, 1, 1, 0x000000);
        else if (type == kLookFlatHighlight && f_.mouseIsOver)
            Bevel(p_.highlight, p_.shadow, 0, 0, 0, true);
        else if (type == kLook3DHover && f_.mouseIsOver)
            Bevel(p_.highlight, p_.darkShadow, p_.light, p_.shadow, 0, false);
        Focus();
    } else if (state == 2) {
        Caption(2);
        if (type == kLook3DHover)
            Bevel(p_.darkShadow, p_.highlight, p_.shadow, p_.light, 0, false);
        else
            Bevel(p_.shadow, p_.highlight, 0, 0, 0, true);
        Focus();
    } else {
        Caption(3);
        if (type == kLookSimpleFlat) Bevel(p_.highlight, p_.shadow, 0, 0, 0, true);
    }
}

void Painter::LookOfficeXP(int state) {
    if (state == 0) {
        if (f_.mouseIsOver) Fill(1, 1, W, H, p_.accentLight);
        Caption(HoverCode());
        if (f_.mouseIsOver) Frame(0, 0, W, H, p_.accent);
        Focus();
    } else if (state == 2) {
        if (f_.mouseIsOver)
            Fill(0, 0, W, H,
                 f_.ColorScheme != kCustom ? GlimButton_TintColor(p_.accent, 128) : S(p_.accentLight, -32));
        Caption(2);
        Frame(0, 0, W, H, p_.accent);
        Focus();
    } else {
        Caption(4);
    }
}

void Painter::LookMacOSX(int state) {
    if (state != 0) return;
    if (f_.mouseIsOver)
        Fill(0, 0, W, H, p_.light);
    else
        Gradient(p_.highlight, 58, false, false);
    BoldCaption(HoverCode());
    Frame(0, 0, W, H, 0x000000);
    Frame(1, 1, W - 2, H - 2, 0x000000);
    Fill(2, 2, W - 4, 2, p_.highlight);
    Fill(3, 3, 2, H - 6, p_.highlight);
    Fill(2, 4, 5, H - 2, p_.highlight);
    Focus();
}

void Painter::LookTransparent(int state) {
    if (f_.bgDC) BitBlt(dc_, 0, 0, W, H, f_.bgDC, 0, 0, SRCCOPY);
    Caption(state == 0 ? HoverCode() : state == 2 ? 2 : 3);
    if (state != 1) Focus();
}

void Painter::LookOval(int state) {
    if (state == 0) {
        Ellipse(0, 0, W, H, f_.mouseIsOver ? p_.shadow : p_.face, p_.face);
        Caption(HoverCode());
    } else if (state == 2) {
        Ellipse(0, 0, W, H, p_.darkShadow, S(p_.face, -32));
        Caption(2);
    } else {
        Caption(3);
    }
}

void Painter::LookKDE(int state) {
    if (state == 2) {
        Fill(1, 1, W, H, S(p_.face, -9));
        Frame(0, 0, W, H, S(p_.shadow, -48));
        Line(2, H - 2, W - 2, H - 2, p_.highlight);
        Line(W - 2, 2, W - 2, H - 1, p_.highlight);
        Caption(7);
        Focus();
        return;
    }
    if (state == 0 && f_.mouseIsOver)
        Fill(0, 0, W, H, p_.light);
    else
        Gradient(p_.highlight, 58, false, false);
    if (state == 0) BoldCaption(HoverCode());
    Frame(0, 0, W, H, S(p_.shadow, -50));
    Frame(1, 1, W - 2, H - 2, S(p_.face, -9));
    Fill(2, 2, W - 4, 2, p_.highlight);
    Fill(2, 4, 2, H - 6, p_.highlight);
    if (state == 0)
        Focus();
    else
        Caption(6);
}

// state: 0 up, 2 pressed, 1 here means disabled.
void Painter::Paint(int state) {
    curState_ = state;
    Fill(0, 0, W, H, p_.face);
    int look = state;
    std::uint8_t pictureCode = 0;
    if (!f_.Enabled) {
        look = 1;
        pictureCode = 2;
    } else if (state == 2) {
        pictureCode = 1;
    } else if (state != 0) {
        return;
    }
    switch (f_.ButtonType) {
    case kLookGlimButton:
        LookGlimButton(look);
        break;
    case kLookWin32:
        LookWin32(look);
        break;
    case kLookWinXP:
    case kLookWinXPPress:
        LookXP(look);
        break;
    case kLookMac:
        LookMac(look);
        break;
    case kLookJavaMetal:
        LookJava(look);
        break;
    case kLookNetscape6:
        LookNetscape(look);
        break;
    case kLookSimpleFlat:
    case kLookFlatHighlight:
    case kLook3DHover:
        LookFlat(look);
        break;
    case kLookOfficeXP:
        LookOfficeXP(look);
        break;
    case kLookMacOSX:
        LookMacOSX(look);
        break;
    case kLookTransparent:
        LookTransparent(look);
        break;
    case kLookOvalFlat:
        LookOval(look);
        break;
    case kLookKDE2:
        LookKDE(look);
        break;
    default:
        break;
    }
    Picture(pictureCode);
}

} // namespace

COLORREF GlimButton_ShiftColor(COLORREF c, long d, bool proportional, bool softBevel) {
    if (softBevel) d /= 2;
    const long r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    long rs = r + d, gs = g + d, bs = proportional ? b + (b * d) / 192 : b + d;
    auto clamp = [d](long& v) {
        if (d > 0 && v > 255) v = 255;
        if (d < 0 && v < 0) v = 0;
    };
    clamp(rs);
    clamp(gs);
    clamp(bs);
    return static_cast<COLORREF>(rs + gs * 0x100 + bs * 0x10000);
}

COLORREF GlimButton_TintColor(COLORREF c, long k) {
    auto tint = [k](long ch) {
        const long v = k + ((255 - k) * ch) / 255;
        return v > 255 ? 255 : v;
    };
    return static_cast<COLORREF>(tint(GetRValue(c)) + tint(GetGValue(c)) * 0x100 +
                                 tint(GetBValue(c)) * 0x10000);
}

GlimButtonPalette GlimButton_ComputeColors(const GlimButtonFace& f, HWND parent) {
    GlimButtonPalette p;
    auto S = [&](COLORREF c, long d) { return GlimButton_ShiftColor(c, d, false, f.SoftBevel); };
    switch (f.ColorScheme) {
    case kCustom:
        // A custom colour that cannot be translated paints black.
        p.face = TranslateColor(f.BackColor).value_or(0);
        p.text = TranslateColor(f.ForeColor).value_or(0);
        p.textOver = TranslateColor(f.ForeOver).value_or(0);
        p.shadow = S(p.face, -64);
        p.light = S(p.face, 31);
        p.highlight = S(p.face, 47);
        p.darkShadow = S(p.face, -192);
        p.accent = S(p.face, -128);
        p.accentLight = p.face;
        break;
    case kForceStandard:
        p.face = 0xE0E0E0;
        p.text = p.textOver = 0x000000;
        p.shadow = 0x808080;
        p.light = 0xDFDFDF;
        p.highlight = 0xFFFFFF;
        p.darkShadow = 0x000000;
        p.accent = 0x800000;
        p.accentLight = 0xD1ADAD;
        break;
    case kUseContainer: {
        p.face = 0xE0E0E0;
        WindowDC dc(parent);
        p.text = p.textOver = dc.get() ? GetTextColor(dc.get()) : 0;
        p.shadow = S(p.face, -64);
        p.light = S(p.face, 31);
        p.highlight = S(p.face, 47);
        p.darkShadow = S(p.face, -192);
        p.accent = GetSysColor(COLOR_HIGHLIGHT);
        p.accentLight = GlimButton_TintColor(p.accent, 176);
        break;
    }
    default:
        p.face = 0xE0E0E0;
        p.text = p.textOver = GetSysColor(COLOR_BTNTEXT);
        p.shadow = GetSysColor(COLOR_BTNSHADOW);
        p.light = GetSysColor(COLOR_3DLIGHT);
        p.highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        p.darkShadow = GetSysColor(COLOR_3DDKSHADOW);
        p.accent = GetSysColor(COLOR_HIGHLIGHT);
        p.accentLight = GlimButton_TintColor(p.accent, 176);
        break;
    }
    p.mask = TranslateColor(f.MaskColor).value_or(0);
    p.xpFace = GlimButton_ShiftColor(p.face, 48, f.ButtonType == kLookWinXP, f.SoftBevel);
    return p;
}

int GlimButton_AnsiLength(const std::string& ansiText) {
    return static_cast<int>(ansiText.size());
}

void GlimButton_MeasurePicture(GlimButtonFace& f) {
    if (!f.PictureNormal) {
        f.picWidth = f.picHeight = 0;
        return;
    }
    const SIZE hm = PictureSizeHimetric(f.PictureNormal.get());
    f.picWidth = RoundToLong(Surface::ScaleX(hm.cx, kScaleHimetric, kScalePixels));
    f.picHeight = RoundToLong(Surface::ScaleY(hm.cy, kScaleHimetric, kScalePixels));
}

namespace {

std::string Trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The face's layout of its caption in area with dc's font, measured now
// unless one of its last two is that.
std::shared_ptr<GlimButtonCaption> KeptCaption(HDC dc, GlimButtonFace& f, const RECT& area) {
    if (!f.measured) f.measured = std::make_shared<GlimButtonCaptions>();
    std::shared_ptr<GlimButtonCaption>* kept = f.measured->kept;
    const LOGFONTA font = CurrentFont(dc);
    for (int i = 0; i < 2; ++i)
        if (kept[i] && kept[i]->caption == f.caption && EqualRect(&kept[i]->area, &area) &&
            SameFont(kept[i]->font, font))
            return kept[i];
    auto c = std::make_shared<GlimButtonCaption>();
    c->caption = f.caption;
    c->font = font;
    c->area = area;
    c->measured = area;
    DrawTextA(dc, c->caption.data(), GlimButton_AnsiLength(c->caption), &c->measured,
              DT_CALCRECT | DT_WORDBREAK);
    kept[1] = std::move(kept[0]);
    kept[0] = c;
    return c;
}

void PlacePicture(GlimButtonFace& f) {
    if (!f.PictureNormal && !f.PictureOver) return;
    const int W = f.clientWidth, H = f.clientHeight;
    if (!Trimmed(f.caption).empty() && f.PicturePosition != cbBackground) {
        switch (f.PicturePosition) {
        case cbLeft:
            f.picX = f.captionRect.left - f.picWidth - 4;
            f.picY = (H - f.picHeight) / 2;
            break;
        case cbRight:
            f.picX = f.captionRect.right + 4;
            f.picY = (H - f.picHeight) / 2;
            break;
        case cbTop:
            f.picX = (W - f.picWidth) / 2;
            f.picY = f.captionRect.top - f.picHeight - 2;
            break;
        case cbBottom:
            f.picX = (W - f.picWidth) / 2;
            f.picY = f.captionRect.bottom + 2;
            break;
        default:
            break;
        }
        return;
    }
    f.picX = (W - f.picWidth) / 2;
    f.picY = (H - f.picHeight) / 2;
}

} // namespace

void GlimButton_LayoutCaption(HDC dc, GlimButtonFace& f) {
    const int W = f.clientWidth, H = f.clientHeight, pw = f.picWidth, ph = f.picHeight;
    RECT& area = f.pressedCaptionRect;
    switch (f.PicturePosition) {
    case cbLeft:
        area = RECT{pw + 1, 1, W - 2, H - 2};
        break;
    case cbRight:
        area = RECT{1, 1, W - 2 - pw, H - 2};
        break;
    case cbTop:
        area = RECT{1, ph + 1, W - 2, H - 2};
        break;
    case cbBottom:
        area = RECT{1, 1, W - 2, H - 2 - ph};
        break;
    case cbBackground:
        area = RECT{1, 1, W - 2, H - 2};
        break;
    default:
        break; // the area of the last layout
    }
    RECT r = area;
    if (f.caption.empty()) {
        r.right = r.left;
        r.bottom = r.top;
        f.layout.reset();
    } else {
        SelectGuard sel(dc, f.font);
        f.layout = KeptCaption(dc, f, area);
        r = f.layout->measured;
    }
    f.captionRect = r;
    f.captionWidth = r.right - r.left;
    f.captionHeight = r.bottom - r.top;
    int dx = 0, dy = 0;
    switch (f.PicturePosition) {
    case cbRight:
        dx = (W - r.right - pw - 4) / 2;
        dy = (H - r.bottom) / 2;
        break;
    case cbBottom:
        dx = (W - r.right) / 2;
        dy = (H - r.bottom - ph - 4) / 2;
        break;
    case cbLeft:
    case cbTop:
    case cbBackground:
        dx = (W - r.right) / 2;
        dy = (H - r.bottom) / 2;
        break;
    default:
        break;
    }
    OffsetRect(&f.captionRect, dx, dy);
    f.pressedCaptionRect = f.captionRect;
    OffsetRect(&f.pressedCaptionRect, 1, 1);
    PlacePicture(f);
}

void GlimButton_PaintFace(HDC dc, GlimButtonFace& f, int state) {
    // Custom hover paints with BackOver as the face; the face's own state
    // is never changed, so nothing is left swapped if a step fails.
    const GlimButtonPalette kept = f.palette;
    if (f.mouseIsOver && f.ColorScheme == kCustom) {
        GlimButtonFace hover = f;
        hover.BackColor = f.BackOver;
        f.palette = GlimButton_ComputeColors(hover, nullptr);
    }
    struct RestorePalette {
        GlimButtonFace& f;
        const GlimButtonPalette& p;
        ~RestorePalette() { f.palette = p; }
    } restore{f, kept};
    SelectGuard font(dc, f.font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    Painter(dc, f).Paint(state);
    SetBkMode(dc, oldMode);
}

OwnedRegion GlimButton_MakeRegion(long buttonType, int w, int h) {
    if (buttonType == kLookOvalFlat) return OwnedRegion(CreateEllipticRgn(0, 0, w, h));
    OwnedRegion rgn(CreateRectRgn(0, 0, w, h));
    auto cut = [&](int x, int y, int cw) {
        OwnedRegion piece(CreateRectRgn(x, y, x + cw, y + 1));
        CombineRgn(rgn.get(), rgn.get(), piece.get(), RGN_DIFF);
    };
    switch (buttonType) {
    case kLookGlimButton:
    case kLookKDE2:
        cut(0, 0, 1);
        cut(w - 1, 0, 1);
        cut(0, h - 1, 1);
        cut(w - 1, h - 1, 1);
        break;
    case kLookJavaMetal:
        cut(0, h - 1, 1);
        cut(w - 1, 0, 1);
        break;
    case kLookWinXP:
    case kLookMac:
        cut(0, 0, 2);
        cut(0, 1, 1);
        cut(w - 2, 0, 2);
        cut(w - 1, 1, 1);
        cut(0, h - 1, 2);
        cut(0, h - 2, 1);
        cut(w - 2, h - 1, 2);
        cut(w - 1, h - 2, 1);
        break;
    default:
        break;
    }
    return rgn;
}

void GlimButton_BlitPicture(HDC dc, int x, int y, int w, int h, IPictureDisp* P, COLORREF maskColour,
                            long solid, bool skipBright, bool greyscale, bool blend, bool useMaskColor) {
    if (w == 0 || h == 0 || !P) return;
    const SIZE natural = PictureSizePixels(P);
    if (w < 0) w = natural.cx;
    if (h < 0) h = natural.cy;
    if (w <= 0 || h <= 0) return;
    // Both copies are DIB sections, read through their own bits: no bitmap
    // is read while another DC holds it.
    std::uint32_t* dst = nullptr;
    std::uint32_t* pic = nullptr;
    OwnedBitmap dstBmp = CreateTopDownDib(w, h, &dst);
    OwnedBitmap picBmp = CreateTopDownDib(w, h, &pic);
    OwnedDC dstDC(CreateCompatibleDC(dc));
    OwnedDC picDC(CreateCompatibleDC(dc));
    SelectGuard selDst(dstDC.get(), dstBmp.get());
    SelectGuard selPic(picDC.get(), picBmp.get());
    BitBlt(dstDC.get(), 0, 0, w, h, dc, x, y, SRCCOPY);
    {
        OwnedBrush mask(CreateSolidBrush(maskColour));
        RECT all{0, 0, w, h};
        FillRect(picDC.get(), &all, mask.get());
    }
    // Any kind of picture at its own size; what it leaves uncovered stays the mask colour.
    DrawPictureAt(picDC.get(), P, 0, 0, natural.cx, natural.cy);
    GdiFlush();
    const std::uint32_t solidPixel =
        solid >= 0 ? ((solid & 0xFF) << 16) | (solid & 0xFF00) | ((solid >> 16) & 0xFF) : 0;
    for (int i = 0, n = w * h; i < n; ++i) {
        const std::uint32_t s = pic[i] & 0xFFFFFF;
        const long R = (s >> 16) & 0xFF, G = (s >> 8) & 0xFF, B = s & 0xFF;
        const COLORREF p = static_cast<COLORREF>(R + G * 0x100 + B * 0x10000);
        if (useMaskColor && p == maskColour) continue;
        if (solid >= 0) {
            if (skipBright && R + G + B > 384) continue;
            dst[i] = solidPixel;
        } else if (greyscale) {
            const long v = RoundToLong(static_cast<double>(RoundToLong(R * 0.3)) + G * 0.59 + B * 0.11);
            dst[i] = static_cast<std::uint32_t>((v << 16) | (v << 8) | v);
        } else if (blend) {
            const std::uint32_t d = dst[i];
            const long dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
            dst[i] = static_cast<std::uint32_t>((((2 * R + dr) / 3) << 16) | (((2 * G + dg) / 3) << 8) |
                                                ((2 * B + db) / 3));
        } else {
            dst[i] = s;
        }
    }
    BitBlt(dc, x, y, w, h, dstDC.get(), 0, 0, SRCCOPY);
}

} // namespace glim
