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
constexpr double kFillInset = 15; // the fill starts one pixel inside the frame
constexpr double kLabelWidth = 855;
constexpr double kLabelHeight = 195;
constexpr const char* kLabelCaption = "0%";

// Persisted keys, read and written in this order, with their defaults.
constexpr PersistedKey kValueKey{"Value", VT_I4};
constexpr PersistedKey kMaxKey{"Max", VT_I4};
constexpr PersistedKey kMinKey{"Min", VT_I4};
constexpr PersistedKey kBackColorKey{"BackColor", VT_I4};
constexpr PersistedKey kStyleKey{"Style", VT_I2};
constexpr PersistedKey kBorderStyleKey{"BorderStyle", VT_I2};
constexpr PersistedKey kBackStyleKey{"BackStyle", VT_I2};
constexpr PersistedKey kBorderColorKey{"BorderColor", VT_I4};
constexpr PersistedKey kBorderWidthKey{"BorderWidth", VT_I2};
constexpr PersistedKey kFillColorKey{"FillColor", VT_I4};
constexpr PersistedKey kFillStyleKey{"FillStyle", VT_I2};
constexpr PersistedKey kShapeKey{"Shape", VT_I2};
constexpr PersistedKey kForeColorKey{"ForeColor", VT_I4};

constexpr long kDefaultValue = 0;
constexpr long kDefaultMax = 100;
constexpr long kDefaultMin = 0;
constexpr OLE_COLOR kDefaultBackColor = 0x8000000F;
constexpr short kDefaultStyle = 0;
constexpr short kDefaultBorderStyle = 1;
constexpr short kDefaultBackStyle = 0;
constexpr OLE_COLOR kDefaultBorderColor = 0x80000001;
constexpr short kDefaultBorderWidth = 1;
constexpr OLE_COLOR kDefaultFillColor = 0;
constexpr short kDefaultFillStyle = 3;
constexpr short kDefaultShape = 4;
constexpr OLE_COLOR kDefaultForeColor = 0xFFFFFF;

Variant Color(OLE_COLOR c) {
    return Variant::I4(static_cast<long>(c));
}

OLE_COLOR ReadColor(const PropertyBag& bag, const PersistedKey& key, OLE_COLOR dflt) {
    return static_cast<OLE_COLOR>(ToLong(*bag.Read(key, *Color(dflt))));
}

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
    Sh.SetFillStyle(kDefaultFillStyle);
    Sh.SetBorderColor(kDefaultBorderColor);
    Sh.Move(0, 0);
    PF.SetStretch(true);
    PF.Move(kFillInset, kFillInset, 0);
    // The design strip; a library without it still makes a bar.
    try {
        PF.SetPicture(LoadResPicture(skinres::kFillDesign, kResBitmap).get());
    } catch (const Error&) {
    }
    Lt.SetBackStyle(0);
    Lt.SetForeColor(kDefaultForeColor);
    Lt.SetAlignment(2);
    Lt.Move(0, 0, kLabelWidth, kLabelHeight);
    Lt.SetCaption(kLabelCaption);
}

void GlimPressBar::OnInitProperties() {
    Max = kDefaultMax;
    Value = kDefaultValue;
    Min = kDefaultMin;
    Style = kDefaultStyle;
}

void GlimPressBar::OnReadProperties(const PropertyBag& bag) {
    Value = ToLong(*bag.Read(kValueKey, *Variant::I4(kDefaultValue)));
    Max = ToLong(*bag.Read(kMaxKey, *Variant::I4(kDefaultMax)));
    Min = ToLong(*bag.Read(kMinKey, *Variant::I4(kDefaultMin)));
    Canvas().SetBackColor(ReadColor(bag, kBackColorKey, kDefaultBackColor));
    Style = ToShort(*bag.Read(kStyleKey, *Variant::I2(kDefaultStyle)));
    Sh.SetBorderStyle(ToShort(*bag.Read(kBorderStyleKey, *Variant::I2(kDefaultBorderStyle))));
    Sh.SetBackStyle(ToShort(*bag.Read(kBackStyleKey, *Variant::I2(kDefaultBackStyle))));
    Sh.SetBorderColor(ReadColor(bag, kBorderColorKey, kDefaultBorderColor));
    Sh.SetBorderWidth(ToShort(*bag.Read(kBorderWidthKey, *Variant::I2(kDefaultBorderWidth))));
    Sh.SetFillColor(ReadColor(bag, kFillColorKey, kDefaultFillColor));
    Sh.SetFillStyle(ToShort(*bag.Read(kFillStyleKey, *Variant::I2(kDefaultFillStyle))));
    Sh.SetShape(ToShort(*bag.Read(kShapeKey, *Variant::I2(kDefaultShape))));
    Lt.SetForeColor(ReadColor(bag, kForeColorKey, kDefaultForeColor));
    // A stored skin without a fill strip must not cost the whole form its
    // load: the bar keeps its design strip and every other key.
    if (Style >= 0 && Style < skinres::kSkinCount) PF.SetPicture(FillPicture(Style).get());
}

void GlimPressBar::OnWriteProperties(const PropertyBag& bag) {
    bag.Write(kValueKey, *Variant::I4(Value), *Variant::I4(kDefaultValue));
    bag.Write(kMaxKey, *Variant::I4(Max), *Variant::I4(kDefaultMax));
    bag.Write(kMinKey, *Variant::I4(Min), *Variant::I4(kDefaultMin));
    bag.Write(kBackColorKey, *Color(Canvas().BackColor()), *Color(kDefaultBackColor));
    bag.Write(kStyleKey, *Variant::I2(Style), *Variant::I2(kDefaultStyle));
    bag.Write(kBorderStyleKey, *Variant::I2(Sh.BorderStyle()), *Variant::I2(kDefaultBorderStyle));
    bag.Write(kBackStyleKey, *Variant::I2(Sh.BackStyle()), *Variant::I2(kDefaultBackStyle));
    bag.Write(kBorderColorKey, *Color(Sh.BorderColor()), *Color(kDefaultBorderColor));
    bag.Write(kBorderWidthKey, *Variant::I2(Sh.BorderWidth()), *Variant::I2(kDefaultBorderWidth));
    bag.Write(kFillColorKey, *Color(Sh.FillColor()), *Color(kDefaultFillColor));
    bag.Write(kFillStyleKey, *Variant::I2(Sh.FillStyle()), *Variant::I2(kDefaultFillStyle));
    bag.Write(kShapeKey, *Variant::I2(Sh.Shape()), *Variant::I2(kDefaultShape));
    bag.Write(kForeColorKey, *Color(Lt.ForeColor()), *Color(kDefaultForeColor));
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
    *pVal = Value;
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_Value(long New_Value) {
    return Member([&] {
        if (Max == 0) RaiseError(kErrDivisionByZero);
        Unit = RoundToLong(static_cast<double>(Width()) / Max);
        Value = New_Value;
        const long long fill = static_cast<long long>(Unit) * Value;
        if (fill < -2147483647LL - 1 || fill > 2147483647LL) RaiseError(kErrOverflow);
        PF.SetWidth(static_cast<double>(fill));
        Lt.SetCaption(std::to_string(Value) + "%");
        PropertyChanged("Value");
    });
}

STDMETHODIMP GlimPressBar::get_Max(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Max;
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_Max(long New_Max) {
    return Member([&] {
        Max = New_Max;
        PropertyChanged("Max");
    });
}

STDMETHODIMP GlimPressBar::get_Min(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Min;
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_Min(long New_Min) {
    return Member([&] {
        Min = New_Min;
        PropertyChanged("Min");
    });
}

STDMETHODIMP GlimPressBar::get_BackColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Canvas().BackColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BackColor(OLE_COLOR New_BackColor) {
    return Member([&] {
        Canvas().SetBackColor(New_BackColor);
        Invalidate();
        PropertyChanged("BackColor");
    });
}

STDMETHODIMP GlimPressBar::get_Style(MnuStyle* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<MnuStyle>(Style);
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_Style(MnuStyle New_Style) {
    return Member([&] {
        Style = ToShort(static_cast<long>(New_Style));
        PF.SetPicture(FillPicture(Style).get());
        PropertyChanged("Style");
    });
}

template <class F>
HRESULT GlimPressBar::PassOn(const char* name, F&& set) {
    return Member([&] {
        set();
        PropertyChanged(name);
    });
}

STDMETHODIMP GlimPressBar::get_BorderStyle(BdStyle* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<BdStyle>(Sh.BorderStyle());
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BorderStyle(BdStyle New_BorderStyle) {
    return PassOn("BorderStyle", [&] { Sh.SetBorderStyle(ToShort(static_cast<long>(New_BorderStyle))); });
}

STDMETHODIMP GlimPressBar::get_BackStyle(BackStyles* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<BackStyles>(Sh.BackStyle());
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BackStyle(BackStyles New_BackStyle) {
    return PassOn("BackStyle", [&] { Sh.SetBackStyle(ToShort(static_cast<long>(New_BackStyle))); });
}

STDMETHODIMP GlimPressBar::get_BorderColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Sh.BorderColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BorderColor(OLE_COLOR New_BorderColor) {
    return PassOn("BorderColor", [&] { Sh.SetBorderColor(New_BorderColor); });
}

STDMETHODIMP GlimPressBar::get_BorderWidth(short* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Sh.BorderWidth();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_BorderWidth(short New_BorderWidth) {
    return PassOn("BorderWidth", [&] { Sh.SetBorderWidth(New_BorderWidth); });
}

STDMETHODIMP GlimPressBar::get_FillColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Sh.FillColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_FillColor(OLE_COLOR New_FillColor) {
    return PassOn("FillColor", [&] { Sh.SetFillColor(New_FillColor); });
}

STDMETHODIMP GlimPressBar::get_FillStyle(FillStyleS* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<FillStyleS>(Sh.FillStyle());
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_FillStyle(FillStyleS New_FillStyle) {
    return PassOn("FillStyle", [&] { Sh.SetFillStyle(ToShort(static_cast<long>(New_FillStyle))); });
}

STDMETHODIMP GlimPressBar::get_ForeColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Lt.ForeColor();
    return S_OK;
}

STDMETHODIMP GlimPressBar::put_ForeColor(OLE_COLOR New_ForeColor) {
    return PassOn("ForeColor", [&] { Lt.SetForeColor(New_ForeColor); });
}

} // namespace glim
