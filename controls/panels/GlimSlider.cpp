#include "GlimSlider.h"

#include "Conversions.h"
#include "Pictures.h"
#include "SkinResourceIds.h"
#include "frmValueTip.h"

#include <string>

namespace glim {

namespace {

constexpr OLE_COLOR kDesignBackColor = 0x00E0E0E0;

constexpr PersistedKey kBackColorKey{"BackColor", VT_I4};
constexpr PersistedKey kEnabledKey{"Enabled", VT_BOOL};
constexpr PersistedKey kOrientationKey{"Orientation", VT_I4};
constexpr PersistedKey kRailStyleKey{"RailStyle", VT_I4};
constexpr PersistedKey kShowValueTipKey{"ShowValueTip", VT_BOOL};
constexpr PersistedKey kMinKey{"Min", VT_I2};
constexpr PersistedKey kMaxKey{"Max", VT_I2};
constexpr PersistedKey kValueKey{"Value", VT_I2};
constexpr PersistedKey kSliderIconKey{"SliderIcon", VT_DISPATCH};
constexpr PersistedKey kRailPictureKey{"RailPicture", VT_DISPATCH};
constexpr PersistedKey kStyleKey{"Style", VT_I4};

constexpr long kDefaultOrientation = kSliderHorizontal;
constexpr long kDefaultRailStyle = 3;
constexpr short kDefaultMin = 0;
constexpr short kDefaultMax = 10;
constexpr short kDefaultValue = 0;
constexpr long kDefaultStyle = 0;

// Range as the setters keep it: a difference of two 16-bit fields that
// must itself fit 16 bits.
long CheckedRange(long max, long min) {
    const long range = max - min;
    if (range > 32767 || range < -32768) RaiseError(kErrOverflow);
    return range;
}

ComPtr<IPictureDisp> PictureOf(const Variant& v) {
    ComPtr<IPictureDisp> pic;
    if ((v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN) && V_UNKNOWN(v.get()))
        V_UNKNOWN(v.get())->QueryInterface(IID_IPictureDisp, pic.put_void());
    return pic;
}

// Runs one step of the layout, painting or tip, which skip what fails.
template <class F>
void Step(F&& f) {
    try {
        f();
    } catch (const Error&) {
    } catch (const std::bad_alloc&) {
    }
}

} // namespace

const ControlClass GlimSlider::kClass = {
    "GlimSlider",
    &CLSID_GlimSlider,
    &IID__GlimSlider,
    &DIID___GlimSlider,
    skinres::Toolbox(skinres::ToolboxImage::Slider),
    SIZE{84, 112}, // 1260 x 1680 twips; the layout fits the height to the thumb
    &ModuleTypeInfo,
    &GlimSlider::CreateInstance,
};

GlimSlider::GlimSlider() : Control(kClass) {}

GlimSlider::~GlimSlider() = default;

double GlimSlider::PictureHolder::Width() const {
    return PictureSizePixels(picture.get()).cx;
}

double GlimSlider::PictureHolder::Height() const {
    return PictureSizePixels(picture.get()).cy;
}

bool GlimSlider::PictureHolder::Holds() const {
    return picture && PictureHandle(picture.get()) != 0;
}

void GlimSlider::OnInitialize() {
    Canvas().SetScaleMode(kScalePixels);
    Canvas().SetBackColor(kDesignBackColor);
    Slider.picture = LoadResPicture(skinres::kThumbDesign, kResBitmap);
}

void GlimSlider::OnTerminate() {
    // A slider that goes in the middle of a drag takes its tip with it.
    if (Dragging) frmValueTip::UnloadTip();
    Dragging = false;
}

SliderSizes GlimSlider::Sizes() const {
    return SliderSizes{Orientation,
                       static_cast<double>(Canvas().PixelWidth()),
                       static_cast<double>(Canvas().PixelHeight()),
                       Slider.Width(),
                       Slider.Height(),
                       RailStyle == kRailPictureStyle && iRailPicture.Holds(),
                       iRailPicture.Width(),
                       iRailPicture.Height()};
}

// ---- persistence ----

void GlimSlider::OnInitProperties() {
    Enabled = true;
    Orientation = kDefaultOrientation;
    RailStyle = kDefaultRailStyle;
    ShowValueTip = true;
    Min = kDefaultMin;
    Max = kDefaultMax;
    Value = kDefaultValue;
    Range = Max - Min;
    ResetThumb();
    Style = kDefaultStyle;
}

void GlimSlider::OnReadProperties(const PropertyBag& bag) {
    Canvas().SetBackColor(static_cast<OLE_COLOR>(
        ToLong(*bag.Read(kBackColorKey, *Variant::I4(static_cast<long>(kDesignBackColor))))));
    Enabled = ToBool(*bag.Read(kEnabledKey, *Variant::Bool(true)));
    Orientation = ToLong(*bag.Read(kOrientationKey, *Variant::I4(kDefaultOrientation)));
    RailStyle = ToLong(*bag.Read(kRailStyleKey, *Variant::I4(kDefaultRailStyle)));
    ShowValueTip = ToBool(*bag.Read(kShowValueTipKey, *Variant::Bool(true)));
    Min = ToShort(*bag.Read(kMinKey, *Variant::I2(kDefaultMin)));
    Max = ToShort(*bag.Read(kMaxKey, *Variant::I2(kDefaultMax)));
    Value = ToShort(*bag.Read(kValueKey, *Variant::I2(kDefaultValue)));
    // A bag without a usable thumb keeps the design thumb: a thumb of no
    // size would collapse the control.
    ComPtr<IPictureDisp> thumb = PictureOf(bag.Read(kSliderIconKey, *Variant::Object(nullptr)));
    if (thumb && PictureHandle(thumb.get()) != 0 && PictureSizePixels(thumb.get()).cx > 0 &&
        PictureSizePixels(thumb.get()).cy > 0)
        Slider.picture = thumb;
    iRailPicture.picture = PictureOf(bag.Read(kRailPictureKey, *Variant::Object(nullptr)));
    // Nothing read is checked, but a stored range that does not fit 16 bits
    // must still load: held in 32 bits here.
    Range = static_cast<long>(Max) - Min;
    const SliderSizes s = Sizes();
    Slider.Left = static_cast<float>(ThumbLeftFor(s, Value, Min, Range));
    Slider.Top = static_cast<float>(ThumbTopFor(s, Value, Min, Range));
    Style = ToLong(*bag.Read(kStyleKey, *Variant::I4(kDefaultStyle)));
}

void GlimSlider::OnWriteProperties(const PropertyBag& bag) {
    bag.Write(kBackColorKey, *Variant::I4(static_cast<long>(Canvas().BackColor())),
              *Variant::I4(static_cast<long>(kDesignBackColor)));
    bag.Write(kEnabledKey, *Variant::Bool(Enabled), *Variant::Bool(true));
    bag.Write(kSliderIconKey, *Variant::Object(Slider.picture.get()), *Variant::Object(nullptr));
    bag.Write(kOrientationKey, *Variant::I4(Orientation), *Variant::I4(kDefaultOrientation));
    bag.Write(kRailPictureKey, *Variant::Object(iRailPicture.picture.get()), *Variant::Object(nullptr));
    bag.Write(kRailStyleKey, *Variant::I4(RailStyle), *Variant::I4(kDefaultRailStyle));
    bag.Write(kShowValueTipKey, *Variant::Bool(ShowValueTip), *Variant::Bool(true));
    bag.Write(kMinKey, *Variant::I2(Min), *Variant::I2(kDefaultMin));
    bag.Write(kMaxKey, *Variant::I2(Max), *Variant::I2(kDefaultMax));
    bag.Write(kValueKey, *Variant::I2(Value), *Variant::I2(kDefaultValue));
    bag.Write(kStyleKey, *Variant::I4(Style), *Variant::I4(kDefaultStyle));
}

// ---- value, range and thumb ----

void GlimSlider::PlaceThumb(long v) {
    const SliderSizes s = Sizes();
    if (Orientation == kSliderHorizontal)
        Slider.Left = static_cast<float>(ThumbLeftFor(s, v, Min, Range));
    else if (Orientation == kSliderVertical)
        Slider.Top = static_cast<float>(ThumbTopFor(s, v, Min, Range));
}

void GlimSlider::SetValue(long v) {
    if (v > Max || v < Min) RaiseError(kErrInvalidPropertyValue);
    Value = ToShort(v);
    if (Value != LastValue) {
        // While dragging the pointer places the thumb.
        if (!Dragging) PlaceThumb(v);
        DrawSlider();
        LastValue = Value;
        RaiseEvent(dispid::GlimSlider_events::Change);
        if (Value == Max) RaiseEvent(dispid::GlimSlider_events::ArrivedLast);
        if (Value == Min) RaiseEvent(dispid::GlimSlider_events::ArrivedFirst);
    }
    PropertyChanged("Value");
}

void GlimSlider::ResetThumb() {
    if (Orientation == kSliderHorizontal) {
        Slider.Left = 0;
        Slider.Top = 0;
    } else if (Orientation == kSliderVertical) {
        Slider.Left = 0;
        Slider.Top = static_cast<float>(Canvas().PixelHeight() - Slider.Height());
    }
}

void GlimSlider::LoadThumb() {
    const long long id =
        (Orientation == kSliderVertical ? skinres::VerticalThumb(0) : skinres::HorizontalThumb(0)) +
        static_cast<long long>(Style);
    if (id <= 0 || id > 0xFFFF) RaiseError(kErrResourceNotFound);
    Slider.picture = LoadResPicture(static_cast<int>(id), kResBitmap);
}

std::optional<short> GlimSlider::ThumbToValue() {
    const SliderSizes s = Sizes();
    const bool vertical = Orientation == kSliderVertical;
    const std::optional<short> v = ValueAtThumb(s, vertical ? Slider.Top : Slider.Left, Min, Range);
    if (!v) return v;
    // The thumb snaps to the value's own position.
    if (Orientation == kSliderHorizontal)
        Slider.Left = static_cast<float>(ThumbLeftFor(s, *v, Min, Range));
    else if (vertical)
        Slider.Top = static_cast<float>(ThumbTopFor(s, *v, Min, Range));
    return v;
}

// ---- layout and painting ----

void GlimSlider::OnResize() {
    Layout();
}

void GlimSlider::OnShow() {
    DrawSlider();
}

void GlimSlider::Layout() {
    // The window sizes itself once before the design thumb is there.
    if (!Slider.Holds()) return;
    ++layoutDepth;
    const SliderSizes before = Sizes();
    // Fitting the size re-enters the layout once; that pass only completes.
    if (layoutDepth == 1)
        Step([&] {
            if (auto want = FittedOuterSize(before, Width(), Height())) SetSize(want->width, want->height);
        });
    const SliderSizes s = Sizes();
    // Value - Min is taken in 32 bits: a stored range beyond 16 bits still
    // places the thumb.
    Step([&] {
        if (Orientation == kSliderHorizontal) {
            Slider.Top = static_cast<float>(ThumbCrossPosition(s));
            Slider.Left = static_cast<float>(ThumbLeftFor(s, Value, Min, Range));
        } else if (Orientation == kSliderVertical) {
            Slider.Left = static_cast<float>(ThumbCrossPosition(s));
            Slider.Top = static_cast<float>(ThumbTopFor(s, Value, Min, Range));
        }
    });
    if (auto groove = glim::GrooveRect(s)) GrooveRect = *groove;
    DrawSlider();
    --layoutDepth;
}

void GlimSlider::DrawSlider() {
    const SliderSizes s = Sizes();
    Step([&] { Canvas().Cls(); });
    if (RailStyle == kRailPictureStyle) {
        Step([&] {
            if (!iRailPicture.Holds()) return;
            const PointF at = RailOrigin(s);
            Canvas().PaintPicture(iRailPicture.picture.get(), at.x, at.y);
        });
    } else if (auto edge = GrooveEdge(RailStyle)) {
        RECT r = GrooveRect;
        DrawEdge(hDC(), &r, *edge, BF_RECT);
    }
    Step([&] {
        if (Slider.Holds()) Canvas().PaintPicture(Slider.picture.get(), Slider.Left, Slider.Top);
    });
    Invalidate();
    if (ShowValueTip && Dragging) ShowTip();
}

void GlimSlider::ShowTip() {
    RECT rc{};
    GetWindowRect(hWnd(), &rc);
    frmValueTip* tip = nullptr;
    Step([&] { tip = &frmValueTip::Instance(); });
    if (!tip) return;
    Step([&] {
        tip->Load();
        tip->SetText(std::to_string(Value));
    });
    std::optional<RECT> r;
    Step([&] {
        r = ValueTipRect(Sizes(), POINT{rc.left, rc.top}, Slider.Left, Slider.Top, tip->LabelWidth(),
                         tip->LabelHeight());
    });
    Step([&] {
        if (!r) return;
        const double tx = 15, ty = 15;
        tip->Move(r->left * tx, r->top * ty, (r->right - r->left) * tx, (r->bottom - r->top) * ty);
    });
    if (HWND w = tip->hWnd())
        SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// ---- dragging ----

void GlimSlider::RaiseShiftEvent(DISPID id, short shift) {
    RaiseEvent(id, shift);
}

void GlimSlider::MoveThumb(float x, float y) {
    const SliderSizes s = Sizes();
    if (Orientation == kSliderHorizontal)
        Slider.Left = static_cast<float>(ClampToTrack(s, x - GrabX));
    else if (Orientation == kSliderVertical)
        Slider.Top = static_cast<float>(ClampToTrack(s, y - GrabY));
    // A track of no length has no value to give, and a mouse action never
    // raises: a value outside a stored odd range is not set.
    const std::optional<short> v = ThumbToValue();
    if (!v || *v < Min || *v > Max) return;
    SetValue(*v);
}

void GlimSlider::OnMouseDown(short button, short shift, float x, float y) {
    if (!Enabled || button != kLeftButton) return;
    Dragging = true;
    const bool onThumb = x >= Slider.Left && x < Slider.Left + static_cast<float>(Slider.Width()) &&
                         y >= Slider.Top && y < Slider.Top + static_cast<float>(Slider.Height());
    if (onThumb) {
        GrabX = x - Slider.Left;
        GrabY = y - Slider.Top;
    } else {
        GrabX = static_cast<float>(Slider.Width() / 2);
        GrabY = static_cast<float>(Slider.Height() / 2);
        MoveThumb(x, y);
    }
    if (ShowValueTip) ShowTip();
    RaiseShiftEvent(dispid::GlimSlider_events::MouseDown, shift);
}

void GlimSlider::OnMouseMove(short, short, float x, float y) {
    if (!Dragging) return;
    MoveThumb(x, y);
}

void GlimSlider::OnMouseUp(short button, short shift, float x, float y) {
    if (x >= 0 && x < Canvas().PixelWidth() && y >= 0 && y < Canvas().PixelHeight() && button == kLeftButton)
        RaiseEvent(dispid::GlimSlider_events::Click);
    if (Dragging) RaiseShiftEvent(dispid::GlimSlider_events::MouseUp, shift);
    Dragging = false;
    frmValueTip::UnloadTip();
}

// ---- properties ----

STDMETHODIMP GlimSlider::get_Enabled(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = ToVariantBool(Enabled);
    return S_OK;
}

STDMETHODIMP GlimSlider::put_Enabled(VARIANT_BOOL New_Enabled) {
    return Member([&] {
        Enabled = New_Enabled != VARIANT_FALSE;
        PropertyChanged("Enabled");
    });
}

STDMETHODIMP GlimSlider::get_Max(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Max;
    return S_OK;
}

STDMETHODIMP GlimSlider::put_Max(long New_Max) {
    return Member([&] {
        if (New_Max <= Min) RaiseError(kErrInvalidPropertyValue);
        const short max = ToShort(New_Max);
        // Checked before anything is stored, so a form is never saved with
        // a range it cannot load.
        const long range = CheckedRange(max, Min);
        Max = max;
        Range = range;
        PropertyChanged("Max");
    });
}

STDMETHODIMP GlimSlider::get_Min(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Min;
    return S_OK;
}

STDMETHODIMP GlimSlider::put_Min(long New_Min) {
    return Member([&] {
        if (New_Min >= Max) RaiseError(kErrInvalidPropertyValue);
        const short min = ToShort(New_Min);
        const long range = CheckedRange(Max, min);
        Min = min;
        // The thumb's placement divides by the new range.
        Range = range;
        SetValue(min);
        PropertyChanged("Min");
    });
}

STDMETHODIMP GlimSlider::get_Value(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Value;
    return S_OK;
}

STDMETHODIMP GlimSlider::put_Value(long New_Value) {
    return Member([&] { SetValue(New_Value); });
}

STDMETHODIMP GlimSlider::get_Orientation(sOrientationConstants* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<sOrientationConstants>(Orientation);
    return S_OK;
}

STDMETHODIMP GlimSlider::put_Orientation(sOrientationConstants New_Orientation) {
    return Member([&] {
        Orientation = New_Orientation;
        LoadThumb();
        ResetThumb();
        Layout();
        PropertyChanged("Orientation");
    });
}

STDMETHODIMP GlimSlider::get_RailStyle(sRailStyleConstants* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<sRailStyleConstants>(RailStyle);
    return S_OK;
}

STDMETHODIMP GlimSlider::put_RailStyle(sRailStyleConstants New_RailStyle) {
    return Member([&] {
        RailStyle = New_RailStyle;
        Layout();
        PropertyChanged("RailStyle");
    });
}

STDMETHODIMP GlimSlider::get_ShowValueTip(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = ToVariantBool(ShowValueTip);
    return S_OK;
}

STDMETHODIMP GlimSlider::put_ShowValueTip(VARIANT_BOOL New_ShowValueTip) {
    return Member([&] {
        ShowValueTip = New_ShowValueTip != VARIANT_FALSE;
        PropertyChanged("ShowValueTip");
    });
}

STDMETHODIMP GlimSlider::get_Style(MnuStyle* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<MnuStyle>(Style);
    return S_OK;
}

STDMETHODIMP GlimSlider::put_Style(MnuStyle New_Style) {
    return Member([&] {
        Style = New_Style;
        LoadThumb();
        Layout();
        PropertyChanged("Style");
    });
}

} // namespace glim
