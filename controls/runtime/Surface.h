#pragma once
// The persistent drawing surface of a control or form: a memory bitmap the
// window shows on every paint, so whatever is drawn survives being covered.
// Coordinates are in the surface's scale (twips or pixels).
#include "ComPtr.h"
#include "NonCopyable.h"
#include "Handles.h"
#include "OleColor.h"

#include <olectl.h>

#include <optional>
#include <string>

namespace glim {

// Scale modes hosts use: 1 twips, 3 pixels.
enum ScaleModes : short { kScaleTwips = 1, kScalePixels = 3, kScaleHimetric = 8 };

class Surface : NonCopyable {
  public:
    Surface();
    ~Surface();

    // Grows the bitmap to at least w x h pixels, keeping what is drawn and
    // filling new parts with the back colour; visible size follows w x h.
    void SetSize(int w, int h);
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }

    HDC hDC() const { return dc_.get(); }
    void Cls();
    // Copies the visible part into dc at (0, 0).
    void Show(HDC dc, const RECT& area) const;

    short ScaleMode() const { return scaleMode_; }
    void SetScaleMode(short mode);
    double ScaleWidth() const { return FromPixelsX(width_); }
    double ScaleHeight() const { return FromPixelsY(height_); }
    // Converts between the scale modes (1, 3, 8 and 0 for the current one).
    static double ScaleX(double value, short from, short to);
    static double ScaleY(double value, short from, short to);
    double ToPixelsX(double v) const { return ScaleX(v, scaleMode_, kScalePixels); }
    double ToPixelsY(double v) const { return ScaleY(v, scaleMode_, kScalePixels); }
    double FromPixelsX(double v) const { return ScaleX(v, kScalePixels, scaleMode_); }
    double FromPixelsY(double v) const { return ScaleY(v, kScalePixels, scaleMode_); }

    OLE_COLOR BackColor() const { return backColor_; }
    // A new back colour clears the surface, as hosts expect.
    void SetBackColor(OLE_COLOR c);
    OLE_COLOR ForeColor() const { return foreColor_; }
    void SetForeColor(OLE_COLOR c) { foreColor_ = c; }
    IFontDisp* Font() const { return font_.get(); }
    void SetFont(IFontDisp* font);
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }

    // Line from (x1, y1) to (x2, y2) in colour (the fore colour when absent).
    void Line(double x1, double y1, double x2, double y2, std::optional<OLE_COLOR> color = {});
    // Rectangle outline, or filled when fill is true.
    void Box(double x1, double y1, double x2, double y2, std::optional<OLE_COLOR> color = {},
             bool fill = false);
    // Draws a picture at (x, y), optionally stretched to w x h and cut from
    // the source part (sx, sy, sw, sh), all in the surface's scale.
    void PaintPicture(IUnknown* picture, double x, double y, std::optional<double> w = {},
                      std::optional<double> h = {}, std::optional<double> sx = {},
                      std::optional<double> sy = {}, std::optional<double> sw = {},
                      std::optional<double> sh = {}, DWORD rop = SRCCOPY);
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text) const;
    // Draws text at the current position and moves it down one line.
    void Print(const std::string& text);

  private:
    SIZE MeasureText(const std::string& text) const;

    OwnedDC dc_;                  // memory DC the surface draws into
    OwnedBitmap bitmap_;          // bitmap selected into dc_
    HGDIOBJ oldBitmap_ = nullptr; // dc_'s own bitmap, put back before deletion
    int width_ = 0;               // visible size in pixels
    int height_ = 0;
    int capWidth_ = 0; // bitmap size in pixels (never shrinks)
    int capHeight_ = 0;
    short scaleMode_ = kScaleTwips;
    OLE_COLOR backColor_ = 0x8000000F; // button face
    OLE_COLOR foreColor_ = 0x80000012; // button text
    ComPtr<IFontDisp> font_;           // text font; the default GUI font until set
    double currentX_ = 0;
    double currentY_ = 0;
};

// The RGB value of a colour a property holds or is given; one that cannot be
// translated raises 380, so a put refuses it before storing.
COLORREF TranslateColorOrRaise(OLE_COLOR c);

} // namespace glim
