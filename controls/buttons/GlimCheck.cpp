#include "GlimCheck.h"

#include "LayoutScale.h"
#include "SkinResourceIds.h"

namespace glim {

namespace {

constexpr OLE_COLOR kDesignBackColor = 0xE0E0E0;
constexpr OLE_COLOR kGlyphBoxBack = 0x80000005;
constexpr short kSheetRows = 12;
constexpr short kSheetCols = 1;

} // namespace

const ControlClass GlimCheck::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::Check), SIZE{120, 13});

const std::array<Binding<GlimCheck>, 7> GlimCheck::kBindings = Rows({"Value", &GlimCheck::Value});

GlimCheck::GlimCheck()
    : ToggleControl(kClass, kBindings, skinres::CheckSheet(0), kSheetRows, kSheetCols), p(parts.Parts()) {}

void GlimCheck::OnInitialize() {
    Canvas().SetBackColor(kDesignBackColor);
    parts.Attach();
    p.SetBackColor(kGlyphBoxBack);
    p.SetAutoSize(true);
    parts.Label().SetCaption("Check1");
    HookParts(p, false, [this] { PollPointer(); });
    DrawState();
    Layout();
    // The back colour is not set yet at creation: black until the properties come.
    Canvas().SetBackColor(0);
}

void GlimCheck::Layout() {
    LayoutOnce([&] {
        Canvas().SetScaleMode(kScaleTwips);
        p.Move(0, 0);
        // The layout's twips are 15 to a pixel; the scale's and the size's the screen's.
        const double glyphW = LayoutTwipsX(p.Width());
        const double glyphH = LayoutTwipsY(p.Height());
        parts.Label().Move(ScreenTwipsX(glyphW + 50), ScreenTwipsY(glyphH / 2 - 100), Width(),
                           ScreenTwipsY(LayoutTwipsY(Height()) + 100));
        if (Height() != static_cast<long>(p.Height())) SetHeight(static_cast<long>(p.Height()));
    });
}

void GlimCheck::ShowCell(GlyphState state) {
    if (Value < 0 || Value > 2) return;
    if (ComPtr<IPictureDisp> pic = parts.ChangedCell(Style, 4 * static_cast<int>(Value) + state))
        p.SetPicture(pic.get());
}

void GlimCheck::OnClick() {
    RaiseEvent(toggle_events::Click);
    // Mixed goes to Unchecked; a click never makes Mixed.
    if (Value == 1 || Value == 2)
        PutMember(dispid::GlimCheck::Value, *Variant::Long(0));
    else if (Value == 0)
        PutMember(dispid::GlimCheck::Value, *Variant::Long(1));
    DrawState();
}

void GlimCheck::OnMouseMove(short button, short shift, float x, float y) {
    parts.WatchPointer();
    // The real pointer decides: the coordinates passed on come in mixed units.
    if (Enabled() && parts.PointerInside()) ShowCell(button == kLeftButton ? kGlyphPressed : kGlyphHover);
    RaiseEvent(toggle_events::MouseMove, button, shift, x, y);
}

void GlimCheck::PollPointer() {
    if (parts.PointerInside()) return;
    DrawState();
    parts.Timer().SetEnabled(false);
    RaiseEvent(toggle_events::MouseOut);
}

} // namespace glim
