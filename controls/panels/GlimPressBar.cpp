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

namespace id = dispid::GlimPressBar;

// The fill strip of a skin; the identifier is 16-bit arithmetic.
ComPtr<IPictureDisp> FillPicture(short style) {
    if (skinres::Fill(0) + style > 32767) RaiseError(kErrOverflow);
    return LoadResPicture(skinres::Fill(style), kResBitmap);
}

} // namespace

const ControlClass GlimPressBar::kClass = {
    "GlimPressBar",
    &CLSID_GlimPressBar,
    &IID__GlimPressBar,
    &DIID___GlimPressBar,
    skinres::Toolbox(skinres::ToolboxImage::PressBar),
    SIZE{160, 21},
    &ModuleTypeInfo,
    &GlimPressBar::CreateInstance,
};

GlimPressBar::GlimPressBar() : Control(kClass), parts(*this), Sh(parts), PF(parts), Lt(parts) {}

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

long GlimPressBar::Stored(DISPID member) {
    return ToLong(*Value(member));
}

void GlimPressBar::OnInitProperties() {
    // The frame keeps its design fill colour, which is not the persisted default.
    SetValue(id::FillColor, *Variant::Long(static_cast<long>(kShapeFillColor)));
}

void GlimPressBar::OnReadProperties(const PropertyBag&) {
    // The runtime has read every key; the frame and the label take theirs.
    OnRepaint();
    Sh.SetBorderStyle(ToShort(Stored(id::BorderStyle)));
    Sh.SetBackStyle(ToShort(Stored(id::BackStyle)));
    Sh.SetBorderColor(static_cast<OLE_COLOR>(Stored(id::BorderColor)));
    Sh.SetBorderWidth(ToShort(Stored(id::BorderWidth)));
    Sh.SetFillColor(static_cast<OLE_COLOR>(Stored(id::FillColor)));
    Sh.SetFillStyle(ToShort(Stored(id::FillStyle)));
    Sh.SetShape(ToShort(ToLong(*Value("Shape"))));
    Lt.SetForeColor(static_cast<OLE_COLOR>(Stored(id::ForeColor)));
    // A stored skin without a fill strip must not cost the whole form its
    // load: the bar keeps its design strip and every other key.
    const long style = Stored(id::Style);
    if (style >= 0 && style < skinres::kSkinCount)
        PF.SetPicture(FillPicture(static_cast<short>(style)).get());
}

void GlimPressBar::OnRepaint() {
    Canvas().SetBackColor(static_cast<OLE_COLOR>(Stored(id::BackColor)));
    Invalidate();
}

void GlimPressBar::OnResize() {
    const double w = Width(), h = Height();
    // A bar lower than the frame's two pixels has no room for a fill.
    PF.Move(kFillInset, kFillInset, 0, h > 2 * kFillInset ? h - 2 * kFillInset : 0);
    Sh.Move(0, 0, w, h);
    Lt.Move(w / 2 - Lt.Width() / 2, h / 2 - Lt.Height() / 2);
}

STDMETHODIMP GlimPressBar::get_Value(long* pVal) {
    if (!pVal) return E_POINTER;
    return Member([&] { *pVal = Stored(id::Value); });
}

STDMETHODIMP GlimPressBar::put_Value(long New_Value) {
    return Member([&] {
        const long max = Stored(id::Max);
        if (max == 0) RaiseError(kErrDivisionByZero);
        Unit = RoundToLong(static_cast<double>(Width()) / max);
        SetValue(id::Value, *Variant::Long(New_Value));
        const long long fill = static_cast<long long>(Unit) * New_Value;
        if (fill < -2147483647LL - 1 || fill > 2147483647LL) RaiseError(kErrOverflow);
        PF.SetWidth(static_cast<double>(fill));
        Lt.SetCaption(std::to_string(New_Value) + "%");
        PropertyChanged("Value");
    });
}

STDMETHODIMP GlimPressBar::get_Style(MnuStyle* pVal) {
    if (!pVal) return E_POINTER;
    return Member([&] { *pVal = static_cast<MnuStyle>(Stored(id::Style)); });
}

STDMETHODIMP GlimPressBar::put_Style(MnuStyle New_Style) {
    return Member([&] {
        const short style = ToShort(static_cast<long>(New_Style));
        SetValue(id::Style, *Variant::Integer(style));
        PF.SetPicture(FillPicture(style).get());
        PropertyChanged("Style");
    });
}

template <class F>
HRESULT GlimPressBar::PassOn(DISPID member, const char* name, long value, F&& set) {
    return Member([&] {
        set();
        SetValue(member, *Variant::Long(value));
        PropertyChanged(name);
    });
}

STDMETHODIMP GlimPressBar::get_BorderStyle(BdStyle* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<BdStyle>(Sh.BorderStyle());
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BorderStyle(BdStyle New_BorderStyle) {
    return PassOn(id::BorderStyle, "BorderStyle", New_BorderStyle,
                  [&] { Sh.SetBorderStyle(ToShort(static_cast<long>(New_BorderStyle))); });
}

STDMETHODIMP GlimPressBar::get_BackStyle(BackStyles* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<BackStyles>(Sh.BackStyle());
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BackStyle(BackStyles New_BackStyle) {
    return PassOn(id::BackStyle, "BackStyle", New_BackStyle,
                  [&] { Sh.SetBackStyle(ToShort(static_cast<long>(New_BackStyle))); });
}

STDMETHODIMP GlimPressBar::get_BorderColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Sh.BorderColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BorderColor(OLE_COLOR New_BorderColor) {
    return PassOn(id::BorderColor, "BorderColor", static_cast<long>(New_BorderColor),
                  [&] { Sh.SetBorderColor(New_BorderColor); });
}

STDMETHODIMP GlimPressBar::get_BorderWidth(short* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Sh.BorderWidth();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BorderWidth(short New_BorderWidth) {
    return PassOn(id::BorderWidth, "BorderWidth", New_BorderWidth,
                  [&] { Sh.SetBorderWidth(New_BorderWidth); });
}

STDMETHODIMP GlimPressBar::get_FillColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Sh.FillColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_FillColor(OLE_COLOR New_FillColor) {
    return PassOn(id::FillColor, "FillColor", static_cast<long>(New_FillColor),
                  [&] { Sh.SetFillColor(New_FillColor); });
}

STDMETHODIMP GlimPressBar::get_FillStyle(FillStyleS* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<FillStyleS>(Sh.FillStyle());
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_FillStyle(FillStyleS New_FillStyle) {
    return PassOn(id::FillStyle, "FillStyle", New_FillStyle,
                  [&] { Sh.SetFillStyle(ToShort(static_cast<long>(New_FillStyle))); });
}

STDMETHODIMP GlimPressBar::get_ForeColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Lt.ForeColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_ForeColor(OLE_COLOR New_ForeColor) {
    return PassOn(id::ForeColor, "ForeColor", static_cast<long>(New_ForeColor),
                  [&] { Lt.SetForeColor(New_ForeColor); });
}

} // namespace glim
