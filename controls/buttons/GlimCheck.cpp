#include "GlimCheck.h"

#include "Conversions.h"
#include "SkinResourceIds.h"
#include "Text.h"

namespace glim {

namespace {

constexpr PersistedKey kValueKey{"Value", VT_I4};
constexpr OLE_COLOR kDesignBackColor = 0xE0E0E0;
constexpr OLE_COLOR kGlyphBoxBack = 0x80000005;
constexpr short kSheetRows = 12;
constexpr short kSheetCols = 1;

} // namespace

const ControlClass GlimCheck::kClass = {
    "GlimCheck",
    &CLSID_GlimCheck,
    &IID__GlimCheck,
    &DIID___GlimCheck,
    skinres::Toolbox(skinres::ToolboxImage::Check),
    SIZE{120, 13},
    &ModuleTypeInfo,
    &GlimCheck::CreateInstance,
};

GlimCheck::GlimCheck()
    : ToggleControl(kClass, skinres::CheckSheet(0), kSheetRows, kSheetCols), p(parts.Parts()) {}

void GlimCheck::OnInitialize() {
    Canvas().SetBackColor(kDesignBackColor);
    parts.Attach();
    p.SetBackColor(kGlyphBoxBack);
    p.SetAutoSize(true);
    parts.Label().SetCaption("Check1");
    HookParts(p, false, [this] { PollPointer(); });
    DrawState();
    Layout();
    parts.PaintBackground();
}

void GlimCheck::OnInitProperties() {
    parts.InitProperties([this] { PutValue(0); });
}

void GlimCheck::OnReadProperties(const PropertyBag& bag) {
    parts.ReadProperties(bag, [&] { PutValue(ToLong(*bag.Read(kValueKey, *Variant::I4(0)))); });
}

void GlimCheck::OnWriteProperties(const PropertyBag& bag) {
    parts.WriteProperties(bag, [&] { bag.Write(kValueKey, *Variant::I4(value), *Variant::I4(0)); });
}

void GlimCheck::Layout() {
    LayoutOnce([&] {
        Canvas().SetScaleMode(kScaleTwips);
        p.Move(0, 0);
        const double glyphW = p.Width();
        const double glyphH = p.Height();
        parts.Label().Move(SnapToPixel(glyphW + 50), SnapToPixel(glyphH / 2 - 100), SnapToPixel(Width()),
                           SnapToPixel(Height() + 100));
        if (Height() != static_cast<long>(glyphH)) SetHeight(static_cast<long>(glyphH));
    });
}

void GlimCheck::ShowCell(GlyphState state) {
    if (!HasGlyph()) return;
    if (ComPtr<IPictureDisp> pic = parts.ChangedCell(4 * static_cast<int>(value) + state))
        p.SetPicture(pic.get());
}

void GlimCheck::DrawState() {
    if (!Enabled()) return DrawDisabled();
    ShowCell(kGlyphNormal);
}

void GlimCheck::DrawDisabled() {
    ShowCell(kGlyphDisabled);
}

void GlimCheck::PutValue(long v) {
    value = v;
    DrawState();
    PropertyChanged("Value");
}

void GlimCheck::OnClick() {
    ComPtr<IUnknown> keep(Unknown()); // the host's handler may let go of us
    RaiseEvent(toggle_events::Click);
    // Mixed goes to Unchecked; a click never makes Mixed.
    if (value == 1 || value == 2)
        PutValue(0);
    else if (value == 0)
        PutValue(1);
    DrawState();
}

void GlimCheck::OnMouseDown(short button, short shift, float x, float y) {
    if (Enabled()) ShowCell(kGlyphPressed);
    parts.RaiseMouse(toggle_events::MouseDown, button, shift, x, y);
}

void GlimCheck::OnMouseMove(short button, short shift, float x, float y) {
    parts.WatchPointer();
    // The real pointer decides: the coordinates passed on come in mixed units.
    if (Enabled() && parts.PointerInside()) ShowCell(button == kLeftButton ? kGlyphPressed : kGlyphHover);
    parts.RaiseMouse(toggle_events::MouseMove, button, shift, x, y);
}

void GlimCheck::OnMouseUp(short button, short shift, float x, float y) {
    parts.RaiseMouse(toggle_events::MouseUp, button, shift, x, y);
}

void GlimCheck::PollPointer() {
    if (parts.PointerInside()) return;
    ComPtr<IUnknown> keep(Unknown()); // MouseOut's handler may let go of us
    DrawState();
    parts.Timer().SetEnabled(false);
    RaiseEvent(toggle_events::MouseOut);
}

// ---- _GlimCheck ----

STDMETHODIMP GlimCheck::get_Value(State* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<State>(value);
    return S_OK;
}

STDMETHODIMP GlimCheck::put_Value(State New_Value) {
    return Member([&] { PutValue(New_Value); });
}

} // namespace glim
