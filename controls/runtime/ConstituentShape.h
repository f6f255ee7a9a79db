#pragma once
// A windowless shape: rectangle, square, oval, circle or rounded ones, with
// a back colour, a solid or hatched fill and a border.  It takes no mouse
// input.
#include "Constituent.h"

#include <olectl.h>

namespace glim {

class ConstituentShape : public Constituent {
  public:
    explicit ConstituentShape(ConstituentHost& host);

    // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle,
    // 5 rounded square.
    short Shape() const { return shape_; }
    void SetShape(short shape) { StoreInRange(shape_, shape, 0, 5); }
    // 0 transparent, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot,
    // 6 inside solid.
    short BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(short style) { StoreInRange(borderStyle_, style, 0, 6); }
    OLE_COLOR BorderColor() const { return borderColor_; }
    void SetBorderColor(OLE_COLOR c) { StoreColor(borderColor_, c); }
    // Pixels, 1 .. 8192.
    short BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(short width) { StoreInRange(borderWidth_, width, 1, 8192); }
    // 0 transparent, 1 opaque.
    short BackStyle() const { return backStyle_; }
    void SetBackStyle(short style) { StoreInRange(backStyle_, style, 0, 1); }
    OLE_COLOR BackColor() const { return backColor_; }
    void SetBackColor(OLE_COLOR c) { StoreColor(backColor_, c); }
    OLE_COLOR FillColor() const { return fillColor_; }
    void SetFillColor(OLE_COLOR c) { StoreColor(fillColor_, c); }
    // 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 upward diagonal,
    // 5 downward diagonal, 6 cross, 7 diagonal cross.
    short FillStyle() const { return fillStyle_; }
    void SetFillStyle(short style) { StoreInRange(fillStyle_, style, 0, 7); }

  protected:
    void Draw(HDC dc) override;
    bool TakesMouse() const override { return false; }

  private:
    RECT Figure() const;
    void Outline(HDC dc, const RECT& r) const;

    short shape_ = 0;
    short borderStyle_ = 1;
    OLE_COLOR borderColor_ = 0x80000008; // window text
    short borderWidth_ = 1;
    short backStyle_ = 0;
    OLE_COLOR backColor_ = 0x80000005; // window background
    OLE_COLOR fillColor_ = 0;
    short fillStyle_ = 1;
};

} // namespace glim
