#include "GlimSlider.h"

#include "Conversions.h"
#include "Pictures.h"
#include "SkinResourceIds.h"
#include "frmValueTip.h"

#include <string>

namespace glim {

namespace {

namespace id = dispid::GlimSlider;

constexpr OLE_COLOR kDesignBackColor = 0x00E0E0E0;

// Range as the setters keep it: a difference of two 16-bit fields that
// must itself fit 16 bits.
long CheckedRange(long max, long min) {
    const long range = max - min;
    if (range > 32767 || range < -32768) RaiseError(kErrOverflow);
    return range;
}

// The thumb stored with the control's design.
Variant DesignThumb() {
    return Variant::Object(LoadResPicture(skinres::kThumbDesign, kResBitmap).get());
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

ComPtr<IPictureDisp> GlimSlider::PictureHolder::Picture() const {
    return ObjectAs<IPictureDisp>(*owner->Value(key));
}

double GlimSlider::PictureHolder::Width() const {
    return PictureSizePixels(Picture().get()).cx;
}

double GlimSlider::PictureHolder::Height() const {
    return PictureSizePixels(Picture().get()).cy;
}

bool GlimSlider::PictureHolder::Holds() const {
    ComPtr<IPictureDisp> picture = Picture();
    return picture && PictureHandle(picture.get()) != 0;
}

void GlimSlider::OnInitialize() {
    Canvas().SetScaleMode(kScalePixels);
    Canvas().SetBackColor(kDesignBackColor);
    SetValue(Slider.key, *DesignThumb());
}

void GlimSlider::OnTerminate() {
    // A slider that goes in the middle of a drag takes its tip with it.
    if (Dragging) frmValueTip::UnloadTip();
    Dragging = false;
}

SliderSizes GlimSlider::Sizes() {
    return SliderSizes{Orientation(),
                       static_cast<double>(Canvas().PixelWidth()),
                       static_cast<double>(Canvas().PixelHeight()),
                       Slider.Width(),
                       Slider.Height(),
                       RailStyle() == kRailPictureStyle && iRailPicture.Holds(),
                       iRailPicture.Width(),
                       iRailPicture.Height()};
}

// ---- persistence ----

void GlimSlider::OnInitProperties() {
    // The runtime set the defaults; the design thumb stays.
    SetValue(Slider.key, *DesignThumb());
    Range = Max() - Min();
    ResetThumb();
}

void GlimSlider::OnReadProperties(const PropertyBag&) {
    Canvas().SetBackColor(static_cast<OLE_COLOR>(ToLong(*Value("BackColor"))));
    // A bag without a usable thumb keeps the design thumb: a thumb of no
    // size would collapse the control.
    ComPtr<IPictureDisp> thumb = Slider.Picture();
    if (!thumb || PictureHandle(thumb.get()) == 0 || PictureSizePixels(thumb.get()).cx <= 0 ||
        PictureSizePixels(thumb.get()).cy <= 0)
        SetValue(Slider.key, *DesignThumb());
    // Nothing read is checked, but a stored range that does not fit 16 bits
    // must still load: held in 32 bits here.
    Range = static_cast<long>(Max()) - Min();
    const SliderSizes s = Sizes();
    Slider.Left = static_cast<float>(ThumbLeftFor(s, Current(), Min(), Range));
    Slider.Top = static_cast<float>(ThumbTopFor(s, Current(), Min(), Range));
}

// ---- value, range and thumb ----

void GlimSlider::PlaceThumb(long v) {
    const SliderSizes s = Sizes();
    if (Orientation() == kSliderHorizontal)
        Slider.Left = static_cast<float>(ThumbLeftFor(s, v, Min(), Range));
    else if (Orientation() == kSliderVertical)
        Slider.Top = static_cast<float>(ThumbTopFor(s, v, Min(), Range));
}

void GlimSlider::PutValue(long v) {
    if (v > Max() || v < Min()) RaiseError(kErrInvalidPropertyValue);
    SetValue(id::Value, *Variant::Long(v));
    if (Current() != LastValue) {
        // While dragging the pointer places the thumb.
        if (!Dragging) PlaceThumb(v);
        DrawSlider();
        LastValue = Current();
        RaiseEvent(dispid::GlimSlider_events::Change);
        if (Current() == Max()) RaiseEvent(dispid::GlimSlider_events::ArrivedLast);
        if (Current() == Min()) RaiseEvent(dispid::GlimSlider_events::ArrivedFirst);
    }
    PropertyChanged("Value");
}

void GlimSlider::ResetThumb() {
    if (Orientation() == kSliderHorizontal) {
        Slider.Left = 0;
        Slider.Top = 0;
    } else if (Orientation() == kSliderVertical) {
        Slider.Left = 0;
        Slider.Top = static_cast<float>(Canvas().PixelHeight() - Slider.Height());
    }
}

void GlimSlider::LoadThumb() {
    const long long id =
        (Orientation() == kSliderVertical ? skinres::VerticalThumb(0) : skinres::HorizontalThumb(0)) +
        static_cast<long long>(Style());
    if (id <= 0 || id > 0xFFFF) RaiseError(kErrResourceNotFound);
    SetValue(Slider.key, *Variant::Object(LoadResPicture(static_cast<int>(id), kResBitmap).get()));
}

std::optional<short> GlimSlider::ThumbToValue() {
    const SliderSizes s = Sizes();
    const bool vertical = Orientation() == kSliderVertical;
    const std::optional<short> v = ValueAtThumb(s, vertical ? Slider.Top : Slider.Left, Min(), Range);
    if (!v) return v;
    // The thumb snaps to the value's own position.
    if (Orientation() == kSliderHorizontal)
        Slider.Left = static_cast<float>(ThumbLeftFor(s, *v, Min(), Range));
    else if (vertical)
        Slider.Top = static_cast<float>(ThumbTopFor(s, *v, Min(), Range));
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
        if (Orientation() == kSliderHorizontal) {
            Slider.Top = static_cast<float>(ThumbCrossPosition(s));
            Slider.Left = static_cast<float>(ThumbLeftFor(s, Current(), Min(), Range));
        } else if (Orientation() == kSliderVertical) {
            Slider.Left = static_cast<float>(ThumbCrossPosition(s));
            Slider.Top = static_cast<float>(ThumbTopFor(s, Current(), Min(), Range));
        }
    });
    if (auto groove = glim::GrooveRect(s)) GrooveRect = *groove;
    DrawSlider();
    --layoutDepth;
}

void GlimSlider::DrawSlider() {
    const SliderSizes s = Sizes();
    Step([&] { Canvas().Cls(); });
    if (RailStyle() == kRailPictureStyle) {
        Step([&] {
            if (!iRailPicture.Holds()) return;
            const PointF at = RailOrigin(s);
            Canvas().PaintPicture(iRailPicture.Picture().get(), at.x, at.y);
        });
    } else if (auto edge = GrooveEdge(RailStyle())) {
        RECT r = GrooveRect;
        DrawEdge(hDC(), &r, *edge, BF_RECT);
    }
    Step([&] {
        if (Slider.Holds()) Canvas().PaintPicture(Slider.Picture().get(), Slider.Left, Slider.Top);
    });
    Invalidate();
    if (ShowsValueTip() && Dragging) ShowTip();
}

void GlimSlider::ShowTip() {
    RECT rc{};
    GetWindowRect(hWnd(), &rc);
    frmValueTip* tip = nullptr;
    Step([&] { tip = &frmValueTip::Instance(); });
    if (!tip) return;
    Step([&] {
        tip->Load();
        tip->SetText(std::to_string(Current()));
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

void GlimSlider::MoveThumb(float x, float y) {
    const SliderSizes s = Sizes();
    if (Orientation() == kSliderHorizontal)
        Slider.Left = static_cast<float>(ClampToTrack(s, x - GrabX));
    else if (Orientation() == kSliderVertical)
        Slider.Top = static_cast<float>(ClampToTrack(s, y - GrabY));
    // A track of no length has no value to give, and a mouse action never
    // raises: a value outside a stored odd range is not set.
    const std::optional<short> v = ThumbToValue();
    if (!v || *v < Min() || *v > Max()) return;
    PutValue(*v);
}

void GlimSlider::OnMouseDown(short button, short shift, float x, float y) {
    if (!IsEnabled() || button != kLeftButton) return;
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
    if (ShowsValueTip()) ShowTip();
    RaiseEvent(dispid::GlimSlider_events::MouseDown, shift);
}

void GlimSlider::OnMouseMove(short, short, float x, float y) {
    if (!Dragging) return;
    MoveThumb(x, y);
}

void GlimSlider::OnMouseUp(short button, short shift, float x, float y) {
    if (x >= 0 && x < Canvas().PixelWidth() && y >= 0 && y < Canvas().PixelHeight() && button == kLeftButton)
        RaiseEvent(dispid::GlimSlider_events::Click);
    EndDrag(shift);
}

void GlimSlider::OnCaptureLost() {
    // Left dragging, the thumb would follow the pointer with no button held.
    EndDrag(ShiftNow());
}

void GlimSlider::EndDrag(short shift) {
    if (Dragging) RaiseEvent(dispid::GlimSlider_events::MouseUp, shift);
    Dragging = false;
    frmValueTip::UnloadTip();
}

// ---- properties ----

STDMETHODIMP GlimSlider::put_Max(long New_Max) {
    return Member([&] {
        if (New_Max <= Min()) RaiseError(kErrInvalidPropertyValue);
        const short max = ToShort(New_Max);
        // Checked before anything is stored, so a form is never saved with
        // a range it cannot load.
        const long range = CheckedRange(max, Min());
        SetValue(id::Max, *Variant::Integer(max));
        Range = range;
        PropertyChanged("Max");
    });
}

STDMETHODIMP GlimSlider::put_Min(long New_Min) {
    return Member([&] {
        if (New_Min >= Max()) RaiseError(kErrInvalidPropertyValue);
        const short min = ToShort(New_Min);
        const long range = CheckedRange(Max(), min);
        SetValue(id::Min, *Variant::Integer(min));
        // The thumb's placement divides by the new range.
        Range = range;
        PutValue(min);
        PropertyChanged("Min");
    });
}

STDMETHODIMP GlimSlider::put_Value(long New_Value) {
    return Member([&] { PutValue(New_Value); });
}

STDMETHODIMP GlimSlider::put_Orientation(sOrientationConstants New_Orientation) {
    return Member([&] {
        SetValue(id::Orientation, *Variant::Long(New_Orientation));
        LoadThumb();
        ResetThumb();
        Layout();
        PropertyChanged("Orientation");
    });
}

STDMETHODIMP GlimSlider::put_RailStyle(sRailStyleConstants New_RailStyle) {
    return Member([&] {
        SetValue(id::RailStyle, *Variant::Long(New_RailStyle));
        Layout();
        PropertyChanged("RailStyle");
    });
}

STDMETHODIMP GlimSlider::put_Style(MnuStyle New_Style) {
    return Member([&] {
        SetValue(id::Style, *Variant::Long(New_Style));
        LoadThumb();
        Layout();
        PropertyChanged("Style");
    });
}

} // namespace glim
