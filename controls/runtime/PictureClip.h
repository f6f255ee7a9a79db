#pragma once
// Cuts a picture into a grid of equal cells, numbered from 0 row by row.
// The sheet is copied once into a DIB section kept in a memory DC, so a
// cell can be drawn straight from memory without a picture object per cell.
#include "ComPtr.h"
#include "Handles.h"

#include <olectl.h>

#include <cstdint>

namespace glim {

class PictureClip : NonCopyable {
  public:
    PictureClip() = default;
    ~PictureClip();

    // The grid; at least one row and one column (380 otherwise).
    short Rows() const { return rows_; }
    void SetRows(short rows);
    short Cols() const { return cols_; }
    void SetCols(short cols);

    // The whole sheet.  Nothing empties the clip; a picture that cannot be
    // drawn raises 481 and keeps the sheet held before.
    IPictureDisp* Picture() const { return picture_.get(); }
    void SetPicture(IPictureDisp* picture);

    // Sheet and cell sizes in pixels (0 without a sheet).
    int Width() const { return width_; }
    int Height() const { return height_; }
    int CellWidth() const { return width_ / cols_; }
    int CellHeight() const { return height_ / rows_; }
    short CellCount() const { return static_cast<short>(rows_ * cols_); }

    // The picture of one cell, a bitmap of its own; raises 380 for an index
    // outside the grid and 481 without a sheet.
    ComPtr<IPictureDisp> GraphicCell(short index) const;

    // Copies the part (sx, sy, sw, sh) of cell index, stretched, to
    // (x, y, w, h) of dc; a negative w or h mirrors, 0 draws nothing.
    void DrawCell(HDC dc, short index, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const;
    // A pixel of the sheet (0x00BBGGRR), for readers of the artwork.
    COLORREF Pixel(int x, int y) const;

  private:
    POINT CellOrigin(short index) const;
    void Clear();

    short rows_ = 1;
    short cols_ = 1;
    ComPtr<IPictureDisp> picture_;  // the sheet as it was given
    OwnedDC dc_;                    // memory DC holding the copy
    OwnedBitmap bitmap_;            // the copy, selected into dc_
    HGDIOBJ oldBitmap_ = nullptr;   // dc_'s own bitmap, put back before deletion
    std::uint32_t* bits_ = nullptr; // pixels of bitmap_
    int width_ = 0;                 // sheet size in pixels
    int height_ = 0;
};

} // namespace glim
