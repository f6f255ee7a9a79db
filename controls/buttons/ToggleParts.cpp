#include "ToggleParts.h"

#include "Conversions.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Text.h"

#include <cmath>

namespace glim {

namespace {

constexpr int kSheetCount = 24;

constexpr OLE_COLOR kWindowBackground = 0x80000005;
constexpr OLE_COLOR kWindowText = 0x80000008;
constexpr UINT kPollMs = 10;

} // namespace

GlyphSheets::GlyphSheets(int firstResource, short rows, short cols)
    : first_(firstResource), rows_(rows), cols_(cols) {}

bool GlyphSheets::HasSheet(long skin) {
    return skin >= 0 && skin < kSheetCount;
}

ComPtr<IPictureDisp> GlyphSheets::Cell(long skin, int cell) {
    if (!HasSheet(skin)) return {};
    std::unique_ptr<PictureClip>& pc = pc_[static_cast<size_t>(skin)];
    if (!pc) {
        auto clip = std::make_unique<PictureClip>();
        clip->SetPicture(LoadResPicture(first_ + static_cast<int>(skin), kResBitmap).get());
        clip->SetRows(rows_);
        clip->SetCols(cols_);
        pc = std::move(clip);
    }
    return pc->GraphicCell(static_cast<short>(cell));
}

ToggleParts::ToggleParts(SurfaceWindow& control, int firstSheet, short rows, short cols)
    : control_(control), parts_(control), lbl_(parts_), sheets_(firstSheet, rows, cols) {}

void ToggleParts::Attach() {
    parts_.Attach();
    lbl_.SetBackStyle(0);
    lbl_.SetBackColor(kWindowBackground);
    lbl_.SetForeColor(kWindowText);
    timer_.SetInterval(kPollMs);
    timer_.SetEnabled(true);
}

ComPtr<IPictureDisp> ToggleParts::ChangedCell(short skin, int cell) {
    if (cell == shownCell_ && skin == shownSkin_) return {};
    ComPtr<IPictureDisp> pic = sheets_.Cell(skin, cell);
    if (pic) {
        shownCell_ = cell;
        shownSkin_ = skin;
    }
    return pic;
}

bool ToggleParts::PointerInside() const {
    POINT pt{};
    if (!GetCursorPos(&pt) || !ScreenToClient(control_.hWnd(), &pt)) return false;
    RECT client{};
    GetClientRect(control_.hWnd(), &client);
    // The right and bottom edges count as inside.
    return pt.x >= 0 && pt.y >= 0 && pt.x <= client.right && pt.y <= client.bottom;
}

} // namespace glim
