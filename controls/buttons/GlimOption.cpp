#include "GlimOption.h"

#include "LateBound.h"
#include "LayoutScale.h"
#include "SkinResourceIds.h"
#include "Text.h"

namespace glim {

namespace {

constexpr OLE_COLOR kDesignBackColor = 0xE0E0E0;
constexpr short kSheetRows = 2;
constexpr short kSheetCols = 4;
// The glyph area, 16 x 16 pixels; the 13 x 13 cell sits in its top-left corner.
constexpr double kGlyphArea = 240;

} // namespace

const ControlClass GlimOption::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::Option), SIZE{120, 16});

const std::array<Binding<GlimOption>, 7> GlimOption::kBindings = Rows({"Value", &GlimOption::Value});

GlimOption::GlimOption()
    : ToggleControl(kClass, kBindings, skinres::OptionSheet(0), kSheetRows, kSheetCols), p(parts.Parts()) {}

void GlimOption::OnInitialize() {
    Canvas().SetBackColor(kDesignBackColor);
    parts.Attach();
    ConstituentLabel& lbl = parts.Label();
    lbl.SetAutoSize(true);
    lbl.SetCaption("Label1");
    HookParts(p, true, [this] { PollPointer(); });
    Layout();
    // The back colour is not set yet at creation: black until the properties come.
    Canvas().SetBackColor(0);
    DrawState();
}

void GlimOption::Layout() {
    LayoutOnce([&] {
        Canvas().SetScaleMode(kScaleTwips);
        p.Move(0, 0);
        ConstituentLabel& lbl = parts.Label();
        // The layout's twips are 15 to a pixel; the scale's and the size's the screen's.
        lbl.Move(ScreenTwipsX(kGlyphArea + 50),
                 ScreenTwipsY(kGlyphArea / 2 - LayoutTwipsY(lbl.Height()) / 2 - 20));
        const long height = RoundToLong(ScreenTwipsY(kGlyphArea));
        if (Height() != height) SetHeight(height);
    });
}

int GlimOption::Row() {
    return Value == VARIANT_TRUE ? 1 : Value == VARIANT_FALSE ? 0 : -1;
}

void GlimOption::ShowCell(GlyphState state) {
    if (Row() < 0) return;
    if (ComPtr<IPictureDisp> pic = parts.ChangedCell(Style, 4 * Row() + state)) p.SetPicture(pic.get());
}

void GlimOption::ClearGroup() {
    // Without a form to walk (another container, a control made by script)
    // the option is a group of its own.
    ComPtr<IDispatch> ext = Extender();
    if (!ext) return;
    std::vector<ComPtr<IDispatch>> members;
    try {
        Variant parent = GetProperty(ext.get(), "Parent");
        if (parent.vt() != VT_DISPATCH || !V_DISPATCH(parent.get())) return;
        members = CollectionItems(ObjectOf(*GetProperty(V_DISPATCH(parent.get()), "Controls")).get());
    } catch (const Error&) {
        return;
    }
    for (const ComPtr<IDispatch>& member : members) {
        ComPtr<IUnknown> option;
        if (FAILED(member->QueryInterface(IID__GlimOption, option.put_void()))) continue;
        // One option refusing its put leaves the rest of the group to clear.
        try {
            PutProperty(member.get(), "Value", *Variant::Bool(false));
        } catch (const Error&) {
        }
        // A notification handler may have unloaded the form under us.
        if (!Extender()) return;
    }
}

void GlimOption::OnClick() {
    RaiseEvent(toggle_events::Click);
    ClearGroup();
    PutMember(dispid::GlimOption::Value, *Variant::Bool(true));
    DrawState();
}

void GlimOption::OnMouseMove(short button, short shift, float x, float y) {
    parts.WatchPointer();
    // The real pointer decides: the coordinates passed on come in mixed units.
    if (!parts.PointerInside()) return;
    RaiseEvent(toggle_events::MouseMove, button, shift, x, y);
    if (Enabled()) ShowCell(button == kLeftButton ? kGlyphPressed : kGlyphHover);
}

void GlimOption::PollPointer() {
    if (parts.PointerInside()) return;
    parts.Timer().SetEnabled(false);
    RaiseEvent(toggle_events::MouseOut);
    DrawState();
}

} // namespace glim
