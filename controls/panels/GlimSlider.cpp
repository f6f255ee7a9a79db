#include "GlimSlider.h"

#include "Conversions.h"
#include "LayoutScale.h"
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
ComPtr<IPictureDisp> DesignThumb() {
    return LoadResPicture(skinres::kThumbDesign, kResBitmap);
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

// A new instance is 1260 x 1680 twips; the layout fits the height to the thumb.
const ControlClass GlimSlider::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::Slider), SIZE{84, 112});

// The back colour and the pictures have no member: they are only loaded and saved.
const Binding<GlimSlider> GlimSlider::kBindings[] = {
    {"BackColor", &GlimSlider::BackColor},
    {"Enabled", &GlimSlider::OwnEnabled},
    {"SliderIcon", &GlimSlider::SliderIcon},
    {"Orientation", &GlimSlider::Orientation, nullptr, &GlimSlider::OrientationChanged},
    {"RailPicture", &GlimSlider::RailPicture},
    {"RailStyle", &GlimSlider::RailStyle, nullptr, &GlimSlider::Layout},
    {"ShowValueTip", &GlimSlider::ShowValueTip},
    {"Min", &GlimSlider::Min, &GlimSlider::CheckMin, &GlimSlider::MinChanged},
    {"Max", &GlimSlider::Max, &GlimSlider::CheckMax, &GlimSlider::MaxChanged},
    {"Value", &GlimSlider::Value, &GlimSlider::CheckValue, &GlimSlider::ValueChanged},
    {"Style", &GlimSlider::Style, nullptr, &GlimSlider::StyleChanged},
};

GlimSlider::GlimSlider() : Control(kClass, kBindings) {}

GlimSlider::~GlimSlider() = default;

double GlimSlider::PictureHolder::Width() const {
    return PictureSizePixels(Picture.get()).cx;
}

double GlimSlider::PictureHolder::Height() const {
    return PictureSizePixels(Picture.get()).cy;
}

bool GlimSlider::PictureHolder::Holds() const {
    return Picture && PictureHandle(Picture.get()) != 0;
}

void GlimSlider::OnInitialize() {
    Canvas().SetScaleMode(kScalePixels);
    Canvas().SetBackColor(kDesignBackColor);
    SliderIcon = DesignThumb();
}

void GlimSlider::OnTerminate() {
    // A slider that goes in the middle of a drag takes its tip with it.
    if (Dragging) frmValueTip::UnloadTip();
    Dragging = false;
}

SliderSizes GlimSlider::Sizes() {
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
    // The runtime set the defaults; the design thumb stays.
    SliderIcon = DesignThumb();
    Range = Max - Min;
    ResetThumb();
}

void GlimSlider::OnReadProperties(const PropertyBag&) {
    Canvas().SetBackColor(BackColor);
    // A bag without a usable thumb keeps the design thumb: a thumb of no
    // size would collapse the control.
    if (!Slider.Holds() || Slider.Width() <= 0 || Slider.Height() <= 0) SliderIcon = DesignThumb();
    // Nothing read is checked, but a stored range that does not fit 16 bits
    // must still load: held in 32 bits here.
    Range = static_cast<long>(Max) - Min;
    const SliderSizes s = Sizes();
    Slider.Left = static_cast<float>(ThumbLeftFor(s, Value, Min, Range));
    Slider.Top = static_cast<float>(ThumbTopFor(s, Value, Min, Range));
}

// ---- value, range and thumb ----

void GlimSlider::PlaceThumb(long v) {
    const SliderSizes s = Sizes();
    if (Orientation == kSliderHorizontal)
        Slider.Left = static_cast<float>(ThumbLeftFor(s, v, Min, Range));
    else if (Orientation == kSliderVertical)
        Slider.Top = static_cast<float>(ThumbTopFor(s, v, Min, Range));
}

void GlimSlider::CheckValue(long v) {
    if (v > Max || v < Min) RaiseError(kErrInvalidPropertyValue);
}

void GlimSlider::ValueChanged() {
    if (Value == LastValue) return;
    // While dragging the pointer places the thumb.
    if (!Dragging) PlaceThumb(Value);
    DrawSlider();
    LastValue = Value;
    RaiseEvent(dispid::GlimSlider_events::Change);
    if (Value == Max) RaiseEvent(dispid::GlimSlider_events::ArrivedLast);
    if (Value == Min) RaiseEvent(dispid::GlimSlider_events::ArrivedFirst);
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
    SliderIcon = LoadResPicture(static_cast<int>(id), kResBitmap);
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
            // The fit works in twips at 15 to a pixel; the control's size is in the screen's.
            if (auto want = FittedOuterSize(before, RoundToLong(LayoutTwipsX(Width())),
                                            RoundToLong(LayoutTwipsY(Height()))))
                SetSize(RoundToLong(ScreenTwipsX(want->width)), RoundToLong(ScreenTwipsY(want->height)));
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
            Canvas().PaintPicture(RailPicture.get(), at.x, at.y);
        });
    } else if (auto edge = GrooveEdge(RailStyle)) {
        RECT r = GrooveRect;
        DrawEdge(hDC(), &r, *edge, BF_RECT);
    }
    Step([&] {
        if (Slider.Holds()) Canvas().PaintPicture(SliderIcon.get(), Slider.Left, Slider.Top);
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
        // The tip's place is on the screen: the form takes it in the screen's twips.
        const double tx = Surface::ScaleX(1, kScalePixels, kScaleTwips);
        const double ty = Surface::ScaleY(1, kScalePixels, kScaleTwips);
        tip->Move(r->left * tx, r->top * ty, (r->right - r->left) * tx, (r->bottom - r->top) * ty);
    });
    if (HWND w = tip->hWnd())
        SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// ---- dragging ----

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
    PutMember(id::Value, *Variant::Long(*v));
}

void GlimSlider::OnMouseDown(short button, short shift, float x, float y) {
    if (!OwnEnabled || button != kLeftButton) return;
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

void GlimSlider::CheckMax(long v) {
    if (v <= Min) RaiseError(kErrInvalidPropertyValue);
    // So a form is never saved with a range it cannot load.
    CheckedRange(ToShort(v), Min);
}

void GlimSlider::MaxChanged() {
    Range = Max - Min;
}

void GlimSlider::CheckMin(long v) {
    if (v >= Max) RaiseError(kErrInvalidPropertyValue);
    CheckedRange(Max, ToShort(v));
}

void GlimSlider::MinChanged() {
    // The thumb's placement divides by the new range.
    Range = Max - Min;
    PutMember(id::Value, *Variant::Long(Min));
}

void GlimSlider::OrientationChanged() {
    LoadThumb();
    ResetThumb();
    Layout();
}

void GlimSlider::StyleChanged() {
    LoadThumb();
    Layout();
}

} // namespace glim
