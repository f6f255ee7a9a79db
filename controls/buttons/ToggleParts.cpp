#include "ToggleParts.h"

#include "Conversions.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Text.h"

#include <cmath>

namespace glim {

namespace {

constexpr int kSheetCount = 24;
// A skin index with no sheet: the lookup of a control array element that does not exist.
constexpr long kErrNoSheet = 340;

constexpr OLE_COLOR kInitialBackColor = 0xE0E0E0;
constexpr OLE_COLOR kInitialForeColor = 0;
constexpr OLE_COLOR kWindowBackground = 0x80000005;
constexpr OLE_COLOR kWindowText = 0x80000008;
constexpr UINT kPollMs = 10;

constexpr PersistedKey kCaptionKey{"Caption", VT_BSTR};
constexpr PersistedKey kEnabledKey{"Enabled", VT_BOOL};
constexpr PersistedKey kFontKey{"Font", VT_DISPATCH};
constexpr PersistedKey kBackColorKey{"BackColor", VT_I4};
constexpr PersistedKey kForeColorKey{"ForeColor", VT_I4};
constexpr PersistedKey kSkinIdxKey{"SkinIdx", VT_I2};

} // namespace

double SnapToPixel(double twips) {
    return RoundToLong(twips / kTwipsPerPixel) * kTwipsPerPixel;
}

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

ToggleParts::ToggleParts(ControlBase& control, Owner& owner, int firstSheet, short rows, short cols)
    : control_(control), owner_(owner), parts_(control), lbl_(parts_), sheets_(firstSheet, rows, cols) {}

void ToggleParts::Attach() {
    parts_.Attach();
    lbl_.SetBackStyle(0);
    lbl_.SetBackColor(kWindowBackground);
    lbl_.SetForeColor(kWindowText);
    timer_.SetInterval(kPollMs);
    timer_.SetEnabled(true);
}

ComPtr<IPictureDisp> ToggleParts::ChangedCell(int cell) {
    if (cell == shownCell_ && skinIdx_ == shownSkin_) return {};
    ComPtr<IPictureDisp> pic = sheets_.Cell(skinIdx_, cell);
    if (pic) {
        shownCell_ = cell;
        shownSkin_ = skinIdx_;
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

void ToggleParts::ShowCaptionColour() {
    lbl_.SetForeColor(control_.Enabled() ? foreColor_ : kDisabledCaption);
}

void ToggleParts::PutEnabled(bool enabled) {
    control_.SetEnabled(enabled);
    owner_.DrawState();
    ShowCaptionColour();
}

void ToggleParts::PutCaption(const std::string& caption) {
    lbl_.SetCaption(caption);
    owner_.Layout();
    control_.PropertyChanged("Caption");
}

void ToggleParts::PutRefFont(IFontDisp* font) {
    font_ = font;
    control_.Canvas().SetFont(font);
    lbl_.SetFont(font);
    owner_.Layout();
    control_.PropertyChanged("Font");
}

void ToggleParts::PutBackColor(OLE_COLOR c) {
    TranslateOleColor(c);
    backColor_ = c;
    control_.PropertyChanged("BackColor");
    PaintBackground();
}

void ToggleParts::PaintBackground() {
    control_.Canvas().SetBackColor(backColor_);
    control_.Invalidate();
}

void ToggleParts::PutForeColor(OLE_COLOR c) {
    TranslateOleColor(c);
    foreColor_ = c;
    control_.PropertyChanged("ForeColor");
    ShowCaptionColour();
}

void ToggleParts::PutStyle(long style) {
    if (style < -32768 || style > 32767) RaiseError(kErrOverflow);
    skinIdx_ = static_cast<short>(style);
    owner_.DrawState();
    // Kept, so it persists; drawing leaves the glyph alone until a skin with a sheet comes.
    if (!HasSheet())
        RaiseError(kErrNoSheet, "Control array element '" + std::to_string(style) + "' doesn't exist");
    control_.PropertyChanged("SkinIdx");
}

void ToggleParts::InitProperties(const std::function<void()>& putValue) {
    PutCaption(control_.AmbientDisplayName());
    PutEnabled(true);
    putValue();
    PutRefFont(control_.AmbientFont().get());
    PutBackColor(kInitialBackColor);
    PutForeColor(kInitialForeColor);
    skinIdx_ = 0;
}

void ToggleParts::ReadProperties(const PropertyBag& bag, const std::function<void()>& readValue) {
    readValue();
    PutCaption(ToText(*bag.Read(kCaptionKey, *Variant::Str(Widen(control_.AmbientDisplayName()).c_str()))));
    PutEnabled(ToBool(*bag.Read(kEnabledKey, *Variant::Bool(true))));
    Variant font = bag.Read(kFontKey, *Variant::Object(nullptr));
    ComPtr<IFontDisp> f;
    if (font.vt() == VT_DISPATCH && V_DISPATCH(font.get()))
        V_DISPATCH(font.get())->QueryInterface(IID_IFontDisp, f.put_void());
    PutRefFont(f ? f.get() : control_.AmbientFont().get());
    PutBackColor(static_cast<OLE_COLOR>(ToLong(*bag.Read(kBackColorKey, *Variant::I4(kInitialBackColor)))));
    PutForeColor(static_cast<OLE_COLOR>(ToLong(*bag.Read(kForeColorKey, *Variant::I4(kInitialForeColor)))));
    // Stored as it is: a saved index without a sheet loads and simply draws nothing.
    skinIdx_ = ToShort(*bag.Read(kSkinIdxKey, *Variant::I2(0)));
    owner_.DrawState();
}

void ToggleParts::WriteProperties(const PropertyBag& bag, const std::function<void()>& writeValue) {
    bag.Write(kFontKey, *Variant::Object(font_.get()), *Variant::Object(control_.AmbientFont().get()));
    writeValue();
    bag.Write(kCaptionKey, *Variant::Str(Widen(lbl_.Caption()).c_str()),
              *Variant::Str(Widen(control_.AmbientDisplayName()).c_str()));
    bag.Write(kEnabledKey, *Variant::Bool(control_.Enabled()), *Variant::Bool(true));
    bag.Write(kBackColorKey, *Variant::I4(static_cast<long>(backColor_)), *Variant::I4(kInitialBackColor));
    bag.Write(kForeColorKey, *Variant::I4(static_cast<long>(foreColor_)), *Variant::I4(kInitialForeColor));
    bag.Write(kSkinIdxKey, *Variant::I2(skinIdx_), *Variant::I2(0));
}

void ToggleParts::RaiseMouse(DISPID id, short button, short shift, float x, float y) {
    control_.RaiseEvent(id, button, shift, x, y);
}

void ToggleParts::RaiseKey(DISPID id, short& keyCode, short shift) {
    control_.RaiseEvent(id, keyCode, shift);
}

void ToggleParts::RaiseKeyPress(short& keyAscii) {
    control_.RaiseEvent(toggle_events::KeyPress, keyAscii);
}

} // namespace glim
