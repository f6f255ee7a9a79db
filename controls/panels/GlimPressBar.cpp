#include "GlimPressBar.h"

#include "Conversions.h"
#include "Pictures.h"
#include "SkinResourceIds.h"

#include <string>

namespace glim {

namespace {

// Design of the constituents, twips.
constexpr short kRoundedRectangle = 4;
constexpr OLE_COLOR kShapeFillColor = 0xE0E0E0;
constexpr short kShapeFillStyle = 3; // vertical lines
constexpr OLE_COLOR kShapeBorderColor = 0x80000001;
constexpr OLE_COLOR kLabelForeColor = 0xFFFFFF;
constexpr double kFillInset = 15; // the fill starts one pixel inside the frame
constexpr double kLabelWidth = 855;
constexpr double kLabelHeight = 195;
constexpr const char* kLabelCaption = "0%";

// The fill strip of a skin; the identifier is 16-bit arithmetic.
ComPtr<IPictureDisp> FillPicture(short style) {
    if (skinres::Fill(0) + style > 32767) RaiseError(kErrOverflow);
    return LoadResPicture(skinres::Fill(style), kResBitmap);
}

} // namespace

const ControlClass GlimPressBar::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::PressBar), SIZE{160, 21});

const Binding<GlimPressBar> GlimPressBar::kBindings[] = {
    {"Value", &GlimPressBar::Value, &GlimPressBar::CheckValue, &GlimPressBar::ValueChanged},
    {"Max", &GlimPressBar::Max},
    {"Min", &GlimPressBar::Min},
    {"BackColor", &GlimPressBar::BackColor, nullptr, &GlimPressBar::BackColorChanged},
    {"Style", &GlimPressBar::Style, nullptr, &GlimPressBar::StyleChanged},
    {"BorderStyle", &GlimPressBar::BorderStyle, &GlimPressBar::PassBorderStyle},
    {"BackStyle", &GlimPressBar::BackStyle, &GlimPressBar::PassBackStyle},
    {"BorderColor", &GlimPressBar::BorderColor, &GlimPressBar::PassBorderColor},
    {"BorderWidth", &GlimPressBar::BorderWidth, &GlimPressBar::PassBorderWidth},
    {"FillColor", &GlimPressBar::FillColor, &GlimPressBar::PassFillColor},
    {"FillStyle", &GlimPressBar::FillStyle, &GlimPressBar::PassFillStyle},
    {"Shape", &GlimPressBar::Shape},
    {"ForeColor", &GlimPressBar::ForeColor, &GlimPressBar::PassForeColor},
};

GlimPressBar::GlimPressBar() : Control(kClass, kBindings), parts(*this), Sh(parts), PF(parts), Lt(parts) {}

GlimPressBar::~GlimPressBar() = default;

void GlimPressBar::OnInitialize() {
    parts.Attach();
    Sh.SetShape(kRoundedRectangle);
    Sh.SetFillColor(kShapeFillColor);
    Sh.SetFillStyle(kShapeFillStyle);
    Sh.SetBorderColor(kShapeBorderColor);
    Sh.Move(0, 0);
    PF.SetStretch(true);
    PF.Move(kFillInset, kFillInset, 0);
    // The design strip; a library without it still makes a bar.
    try {
        PF.SetPicture(LoadResPicture(skinres::kFillDesign, kResBitmap).get());
    } catch (const Error&) {
    }
    Lt.SetBackStyle(0);
    Lt.SetForeColor(kLabelForeColor);
    Lt.SetAlignment(2);
    Lt.Move(0, 0, kLabelWidth, kLabelHeight);
    Lt.SetCaption(kLabelCaption);
}

void GlimPressBar::OnInitProperties() {
    // The frame keeps its design fill colour, which is not the persisted default.
    FillColor = kShapeFillColor;
}

void GlimPressBar::OnReadProperties(const PropertyBag&) {
    // The runtime has read every key; the frame and the label take theirs.
    BackColorChanged();
    Sh.SetBorderStyle(BorderStyle);
    Sh.SetBackStyle(BackStyle);
    Sh.SetBorderColor(BorderColor);
    Sh.SetBorderWidth(BorderWidth);
    Sh.SetFillColor(FillColor);
    Sh.SetFillStyle(FillStyle);
    Sh.SetShape(Shape);
    Lt.SetForeColor(ForeColor);
    // A stored skin without a fill strip must not cost the whole form its
    // load: the bar keeps its design strip and every other key.
    if (Style >= 0 && Style < skinres::kSkinCount) PF.SetPicture(FillPicture(Style).get());
}

void GlimPressBar::BackColorChanged() {
    Canvas().SetBackColor(BackColor);
    Invalidate();
}

void GlimPressBar::OnResize() {
    const double w = Width(), h = Height();
    // A bar lower than the frame's two pixels has no room for a fill.
    PF.Move(kFillInset, kFillInset, 0, h > 2 * kFillInset ? h - 2 * kFillInset : 0);
    Sh.Move(0, 0, w, h);
    Lt.Move(w / 2 - Lt.Width() / 2, h / 2 - Lt.Height() / 2);
}

void GlimPressBar::CheckValue(long) {
    if (Max == 0) RaiseError(kErrDivisionByZero);
}

// A fill that does not fit, or a negative one, fails after the value was kept.
void GlimPressBar::ValueChanged() {
    Unit = RoundToLong(static_cast<double>(Width()) / Max);
    const long long fill = static_cast<long long>(Unit) * Value;
    if (fill < -2147483647LL - 1 || fill > 2147483647LL) RaiseError(kErrOverflow);
    PF.SetWidth(static_cast<double>(fill));
    Lt.SetCaption(std::to_string(Value) + "%");
}

// A skin without a strip, or an identifier beyond 16 bits, fails after the skin was kept.
void GlimPressBar::StyleChanged() {
    PF.SetPicture(FillPicture(Style).get());
}

} // namespace glim
