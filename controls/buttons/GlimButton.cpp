#include "GlimButton.h"

#include "Conversions.h"
#include "Fonts.h"
#include "LateBound.h"
#include "Pictures.h"
#include "SkinResourceIds.h"
#include "Text.h"

namespace glim {

namespace {

namespace ev = dispid::GlimButton_events;

constexpr long kHoverPollMs = 3;
constexpr long kSheetCells = 5;
constexpr const char* kVersion = "2.0.6";
// The caption of a new instance: the design text of its label.
constexpr const char* kDesignCaption = "GlimButton";
constexpr short kArrowPointer = 1;
constexpr int kSkinCount = skinres::kSkinCount;
// Posted to ourselves by the arrow keys: wParam TRUE for the next tab stop.
constexpr UINT kMoveFocusMessage = WM_APP + 0x4B1;

namespace id = dispid::GlimButton;

VARIANT_BOOL VB(bool b) {
    return ToVariantBool(b);
}

ComPtr<IFont> FontOf(IFontDisp* f) {
    ComPtr<IFont> r;
    if (f) f->QueryInterface(IID_IFont, r.put_void());
    return r;
}

} // namespace

const ControlClass GlimButton::kClass = {
    "GlimButton",
    &CLSID_GlimButton,
    &IID__GlimButton,
    &DIID___GlimButton,
    skinres::Toolbox(skinres::ToolboxImage::Button),
    SIZE{80, 24},
    &ModuleTypeInfo,
    &GlimButton::CreateInstance,
};

GlimButton::GlimButton() : Control(kClass) {}

ComPtr<IPictureDisp> GlimButton::HandCursor() {
    try {
        return LoadResPicture(skinres::kHandCursor, kResCursor);
    } catch (const Error&) {
        // A module without the cursor still gets a hand: the platform's own.
    }
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = CopyIcon(LoadCursor(nullptr, IDC_HAND));
    ComPtr<IPictureDisp> pic;
    if (!desc.icon.hicon || FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, pic.put_void()))) {
        if (desc.icon.hicon) DestroyIcon(desc.icon.hicon);
        RaiseError(kErrOutOfMemory);
    }
    return pic;
}

GlimButton::~GlimButton() {
    OverTimer.SetEnabled(false);
    DestroyBackground();
}

// ---- life cycle -----------------------------------------------------------

void GlimButton::OnInitialize() {
    isShown = true;
    Store(id::Caption, *Variant::String(Widen(kDesignCaption).c_str()));
    pc.SetCols(kSheetCells);
    pc.SetRows(1);
    pc.SetPicture(LoadResPicture(skinres::kButtonDesign, kResBitmap).get());
    face.sheet = &pc;
    Canvas().SetScaleMode(kScalePixels);
    SetFont(CloneFont(DefaultGuiFont().get()).get());
    OverTimer.SetEnabled(false);
    OverTimer.SetInterval(kHoverPollMs);
    OverTimer.Timer = [this] { OverTimerTick(); };
}

void GlimButton::OnInitProperties() {
    // The runtime set Enabled, ShowFocusRect, UseMaskColor, ColorScheme,
    // MaskColor and Style to their defaults; the label keeps its design text.
    Store(id::Caption, *Variant::String(Widen(kDesignCaption).c_str()));
    ComPtr<IFontDisp> ambient = AmbientFont();
    SetFont(CloneFont(ambient ? ambient.get() : DefaultGuiFont().get()).get());
    SetButtonType(kLookGlimButton);
    PropertyChanged("BTYPE");
    GlimButton_ComputeColors();
    const Variant faceColor = Variant::Long(static_cast<long>(face.palette.face));
    const Variant textColor = Variant::Long(static_cast<long>(face.palette.text));
    for (DISPID m : {id::BackColor, id::BackOver})
        Store(m, *faceColor);
    for (DISPID m : {id::ForeColor, id::ForeOver})
        Store(m, *textColor);
    GlimButton_LayoutCaption();
    GlimButton_LoadSheet(1);
    GlimButton_DrawButton(0, false);
}

void GlimButton::OnReadProperties(const PropertyBag&) {
    // The runtime has read every key; the font becomes our own copy, since
    // the bag's may be shared with the host and other controls.
    if (font) SetFont(CloneFont(font.get()).get());
    GlimButton_MeasurePicture(face);
    // A stored skin that is no number or names no sheet must not fail the
    // form's load: the button keeps its design sheet.
    try {
        GlimButton_LoadSheet(StyleNumber());
    } catch (const Error&) {
    }
    GlimButton_SetAccessKey();
    GlimButton_LayoutCaption();
}

// The painter reads the kept values from the face.
void GlimButton::TakeValues() {
    const auto number = [this](DISPID m) { return ToLong(*Value(m)); };
    const auto colour = [this](DISPID m) { return static_cast<OLE_COLOR>(ToLong(*Value(m))); };
    const auto flag = [this](DISPID m) { return ToBool(*Value(m)); };
    face.ButtonType = number(id::ButtonType);
    face.ColorScheme = number(id::ColorScheme);
    face.PicturePosition = number(id::PicturePosition);
    face.SpecialEffect = number(id::SpecialEffect);
    face.BackColor = colour(id::BackColor);
    face.BackOver = colour(id::BackOver);
    face.ForeColor = colour(id::ForeColor);
    face.ForeOver = colour(id::ForeOver);
    face.MaskColor = colour(id::MaskColor);
    face.UseMaskColor = flag(id::UseMaskColor);
    face.UseGreyscale = flag(id::UseGreyscale);
    PictureNormal = ObjectAs<IPictureDisp>(*Value(id::PictureNormal));
    face.PictureNormal = PictureNormal.get();
    PictureOver = ObjectAs<IPictureDisp>(*Value(id::PictureOver));
    face.PictureOver = PictureOver.get();
    face.Enabled = flag(id::Enabled);
    face.SoftBevel = flag(id::SoftBevel);
    face.ShowFocusRect = flag(id::ShowFocusRect);
    face.CheckBoxBehaviour = flag(id::CheckBoxBehaviour);
    face.Value = flag(id::Value);
    // A skin kept as text that is no number picks no white captions.
    try {
        face.Style = StyleNumber();
    } catch (const Error&) {
        face.Style = -1;
    }
    face.caption = ToText(*Value(id::Caption));
    font = ObjectAs<IFontDisp>(*Value(id::Font));
    face.font = FontHandle(font.get());
}

void GlimButton::Store(DISPID member, const VARIANT& value) {
    SetValue(member, value);
    TakeValues();
}

void GlimButton::OnTerminate() {
    terminated = true;
    isShown = false;
    OverTimer.SetEnabled(false);
    DestroyBackground();
}

void GlimButton::OnShow() {
    if (face.ButtonType == kLookTransparent) {
        if (!bg) CreateBackground();
        GlimButton_CaptureBackground();
    }
    isShown = true;
    GlimButton_ComputeColors();
    GlimButton_DrawButton(0, true);
}

void GlimButton::OnHide() {
    isShown = false;
}

void GlimButton::OnResize() {
    if (resizeLock || !hWnd()) return;
    RECT r{};
    GetClientRect(hWnd(), &r);
    face.focusRect = r;
    face.clientHeight = r.bottom;
    face.clientWidth = r.right;
    const long t = face.ButtonType;
    if (t >= kLookSimpleFlat && t <= kLookOvalFlat) {
        InflateRect(&face.focusRect, -3, -3);
    } else if (t == kLookKDE2) {
        InflateRect(&face.focusRect, -5, -5);
        OffsetRect(&face.focusRect, 1, 1);
    } else {
        InflateRect(&face.focusRect, -4, -4);
    }
    // The background follows the size, so the transparent look never shows a stale copy.
    if (bg && (bg->Width() != face.clientWidth || bg->Height() != face.clientHeight)) CreateBackground();
    GlimButton_LayoutCaption();
    OwnedRegion rgn = GlimButton_MakeRegion(face.ButtonType, face.clientWidth, face.clientHeight);
    // The window owns the region from here on.
    if (rgn && SetWindowRgn(hWnd(), rgn.get(), TRUE)) btnRegion = rgn.release();
    if (face.clientHeight != 0) GlimButton_DrawButton(0, true);
}

// ---- painting -------------------------------------------------------------

void GlimButton::GlimButton_DrawButton(int state, bool force) {
    if (face.CheckBoxBehaviour && face.Value) state = 2;
    if (!force && face.caption == lastCaption && state == curState) return;
    if (face.clientHeight == 0 || !isShown || !hWnd()) return;
    curState = static_cast<std::uint8_t>(state);
    lastCaption = face.caption;
    Canvas().Cls();
    face.isDefault = AmbientDisplayAsDefault();
    face.font = FontHandle(font.get());
    GlimButton_PaintFace(hDC(), face, state);
    Invalidate();
}

void GlimButton::GlimButton_ComputeColors() {
    face.palette = glim::GlimButton_ComputeColors(face, hWnd() ? GetParent(hWnd()) : nullptr);
}

void GlimButton::GlimButton_LayoutCaption() {
    face.font = FontHandle(font.get());
    glim::GlimButton_LayoutCaption(hDC(), face);
}

void GlimButton::GlimButton_SetAccessKey() {
    const char key = GlimButton_AccessKeyOf(face.caption);
    SetAccessKeys(key ? std::string(1, key) : std::string());
}

void GlimButton::GlimButton_LoadSheet(long style) {
    // Bitmap 4000 + style; anything outside the 24 sheets raises as a missing resource would.
    if (style < 0 || style >= kSkinCount)
        RaiseError(kErrResourceNotFound,
                   "Resource with identifier '" + std::to_string(skinres::Button(0) + style) + "' not found");
    pc.SetPicture(LoadResPicture(skinres::Button(static_cast<int>(style)), kResBitmap).get());
}

long GlimButton::StyleNumber() {
    const Variant style = Value(id::Style);
    if (style.vt() == VT_EMPTY) return 0;
    return ToLong(*style);
}

void GlimButton::CreateBackground() {
    DestroyBackground();
    const int w = face.clientWidth, h = face.clientHeight;
    // Nothing is made until there is a size.
    if (w <= 0 || h <= 0) return;
    auto made = std::make_unique<cMemDC>();
    made->SetWidth(w);
    made->SetHeight(h);
    if (!made->hDC()) return;
    bg = std::move(made);
    face.bgDC = bg->hDC();
}

void GlimButton::DestroyBackground() {
    face.bgDC = nullptr;
    bg.reset();
}

// Copies what the container shows under the button.  The button is made 0
// high so the container repaints that place, and the thread's messages are
// pumped meanwhile: anything may happen there, this button's end included.
void GlimButton::GlimButton_CaptureBackground() {
    if (capturing || terminated || !hWnd()) return; // one capture at a time
    ComPtr<IUnknown> alive(Unknown());              // the pump may drop every other reference
    capturing = true;
    resizeLock = true;
    const int w = face.clientWidth, h = face.clientHeight;
    try {
        SetHeight(0);
    } catch (const Error&) {
    }
    MSG msg;
    while (!terminated && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (!terminated && hWnd() && bg) {
        const HWND parent = GetParent(hWnd());
        // Where the button really lies in the parent, in the parent's pixels.
        RECT r{};
        GetWindowRect(hWnd(), &r);
        POINT pt{r.left, r.top};
        ScreenToClient(parent, &pt);
        WindowDC parentDC(parent);
        if (parentDC.get()) BitBlt(bg->hDC(), 0, 0, w, h, parentDC.get(), pt.x, pt.y, SRCCOPY);
    }
    if (!terminated) {
        try {
            SetHeight(RoundToLong(Surface::ScaleY(h, kScalePixels, kScaleTwips)));
        } catch (const Error&) {
        }
    }
    resizeLock = false;
    capturing = false;
}

bool GlimButton::GlimButton_IsMouseOver() const {
    POINT pt{};
    GetCursorPos(&pt);
    return hWnd() && WindowFromPoint(pt) == hWnd();
}

// ---- input ----------------------------------------------------------------

void GlimButton::OnMouseDown(short button, short shift, float x, float y) {
    RaiseEvent(ev::MouseDown, button, shift, x, y);
    lastButton = static_cast<std::uint8_t>(button);
    if (button != kRightButton) GlimButton_DrawButton(2, false);
}

void GlimButton::OnMouseUp(short button, short shift, float x, float y) {
    RaiseEvent(ev::MouseUp, button, shift, x, y);
    if (button != kRightButton) GlimButton_DrawButton(0, false);
}

void GlimButton::OnMouseMove(short button, short shift, float x, float y) {
    RaiseEvent(ev::MouseMove, button, shift, x, y);
    if (button >= kRightButton) return;
    if (GlimButton_IsMouseOver()) {
        if (button == 0 && !face.mouseIsOver) {
            OverTimer.SetEnabled(true);
            face.mouseIsOver = true;
            GlimButton_DrawButton(0, true);
            RaiseEvent(ev::MouseOver);
        } else if (button == kLeftButton) {
            face.mouseIsOver = true;
            GlimButton_DrawButton(2, false);
            face.mouseIsOver = false;
        }
    } else {
        GlimButton_DrawButton(0, false);
    }
}

void GlimButton::OverTimerTick() {
    if (GlimButton_IsMouseOver()) return;
    OverTimer.SetEnabled(false);
    face.mouseIsOver = false;
    GlimButton_DrawButton(0, true);
    RaiseEvent(ev::MouseOut);
}

void GlimButton::ClickNow() {
    GlimButton_DrawButton(0, true);
    SurfaceWindow::Refresh();
    RaiseEvent(ev::Click);
}

void GlimButton::OnClick() {
    if (lastButton != kLeftButton || !face.Enabled) return;
    if (face.CheckBoxBehaviour) Store(id::Value, *Variant::Bool(!face.Value));
    ClickNow();
}

void GlimButton::OnDblClick() {
    if (lastButton != kLeftButton) return;
    // The runtime holds the capture until the release, as for any press.
    OnMouseDown(kLeftButton, 0, 0, 0);
}

void GlimButton::OnAccessKeyPress(short /*keyAscii*/) {
    lastButton = kLeftButton;
    OnClick();
}

void GlimButton::OnKeyDown(short& keyCode, short shift) {
    RaiseEvent(ev::KeyDown, keyCode, shift);
    lastKey = static_cast<std::uint8_t>(keyCode);
    switch (keyCode) {
    case VK_SPACE:
        GlimButton_DrawButton(2, false);
        break;
    case VK_LEFT:
    case VK_UP:
        // Asynchronous as key sending is, but only ever inside our own container.
        PostMessageA(hWnd(), kMoveFocusMessage, FALSE, 0);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        PostMessageA(hWnd(), kMoveFocusMessage, TRUE, 0);
        break;
    default:
        break;
    }
}

LRESULT GlimButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kMoveFocusMessage) {
        if (!terminated) TabToNextControl(wp != FALSE);
        return 0;
    }
    return Control::WindowProc(msg, wp, lp);
}

void GlimButton::OnKeyPress(short& keyAscii) {
    RaiseEvent(ev::KeyPress, keyAscii);
}

void GlimButton::OnKeyUp(short& keyCode, short shift) {
    RaiseEvent(ev::KeyUp, keyCode, shift);
    if (lastKey != VK_SPACE || keyCode != VK_SPACE) return;
    if (face.CheckBoxBehaviour) Store(id::Value, *Variant::Bool(!face.Value));
    GlimButton_DrawButton(0, false);
    SurfaceWindow::Refresh();
    RaiseEvent(ev::Click);
}

void GlimButton::OnGotFocus() {
    face.hasFocus = true;
    GlimButton_DrawButton(curState, true);
}

void GlimButton::OnLostFocus() {
    face.hasFocus = false;
    GlimButton_DrawButton(curState, true);
}

void GlimButton::OnAmbientChanged(DISPID /*id*/) {
    if (face.ColorScheme == kCustom) return;
    GlimButton_ComputeColors();
    GlimButton_DrawButton(curState, true);
}

// ---- properties -----------------------------------------------------------

STDMETHODIMP GlimButton::put_BackColor(OLE_COLOR v) {
    return Member([&] {
        const Variant c = Variant::Long(static_cast<long>(v));
        Store(id::BackColor, *c);
        if (!AmbientUserMode()) Store(id::BackOver, *c);
        GlimButton_ComputeColors();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("BCOL");
    });
}
STDMETHODIMP GlimButton::put_BackOver(OLE_COLOR v) {
    return Member([&] {
        Store(id::BackOver, *Variant::Long(static_cast<long>(v)));
        GlimButton_ComputeColors();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("BCOLO");
    });
}
STDMETHODIMP GlimButton::put_ForeColor(OLE_COLOR v) {
    return Member([&] {
        const Variant c = Variant::Long(static_cast<long>(v));
        Store(id::ForeColor, *c);
        if (!AmbientUserMode()) Store(id::ForeOver, *c);
        GlimButton_ComputeColors();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("FCOL");
    });
}
STDMETHODIMP GlimButton::put_ForeOver(OLE_COLOR v) {
    return Member([&] {
        Store(id::ForeOver, *Variant::Long(static_cast<long>(v)));
        GlimButton_ComputeColors();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("FCOLO");
    });
}
STDMETHODIMP GlimButton::put_MaskColor(OLE_COLOR v) {
    return Member([&] {
        Store(id::MaskColor, *Variant::Long(static_cast<long>(v)));
        GlimButton_ComputeColors();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("MCOL");
    });
}

void GlimButton::SetButtonType(long value) {
    Store(id::ButtonType, *Variant::Long(value));
    if (value == kLookJavaMetal && !AmbientUserMode()) {
        if (ComPtr<IFont> f = FontOf(font.get())) f->put_Bold(TRUE);
    } else if (value == kLookTransparent && isShown) {
        GlimButton_CaptureBackground();
    }
    // The Windows XP face is shaded differently from the others.
    GlimButton_ComputeColors();
    OnResize();
}
STDMETHODIMP GlimButton::put_ButtonType(ButtonTypes v) {
    return Member([&] {
        SetButtonType(v);
        PropertyChanged("BTYPE");
    });
}

STDMETHODIMP GlimButton::put_Enabled(VARIANT_BOOL v) {
    return Member([&] {
        // The window takes the new state as it is kept.
        Store(DISPID_ENABLED, *Variant::Bool(v != VARIANT_FALSE));
        GlimButton_DrawButton(0, true);
        PropertyChanged("ENAB");
    });
}

void GlimButton::SetFont(IFontDisp* f) {
    Store(id::Font, *Variant::Object(f));
}
void GlimButton::FontChanged() {
    GlimButton_LayoutCaption();
    GlimButton_DrawButton(0, true);
}
STDMETHODIMP GlimButton::putref_Font(IFontDisp* v) {
    return Member([&] {
        // Our own copy: a bold caption must never change the host's font.
        SetFont(v ? CloneFont(v).get() : CloneFont(DefaultGuiFont().get()).get());
        FontChanged();
        PropertyChanged("FONT");
    });
}

namespace {
template <class Get>
HRESULT FontGet(IFontDisp* f, Get&& get) {
    ComPtr<IFont> p = FontOf(f);
    if (!p) return E_UNEXPECTED;
    return get(p.get());
}
} // namespace

STDMETHODIMP GlimButton::get_FontBold(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    return FontGet(font.get(), [&](IFont* f) {
        BOOL b = FALSE;
        const HRESULT hr = f->get_Bold(&b);
        *pVal = VB(b != FALSE);
        return hr;
    });
}
STDMETHODIMP GlimButton::put_FontBold(VARIANT_BOOL v) {
    return Member([&] {
        if (ComPtr<IFont> f = FontOf(font.get())) f->put_Bold(v != VARIANT_FALSE);
        FontChanged();
    });
}
STDMETHODIMP GlimButton::get_FontItalic(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    return FontGet(font.get(), [&](IFont* f) {
        BOOL b = FALSE;
        const HRESULT hr = f->get_Italic(&b);
        *pVal = VB(b != FALSE);
        return hr;
    });
}
STDMETHODIMP GlimButton::put_FontItalic(VARIANT_BOOL v) {
    return Member([&] {
        if (ComPtr<IFont> f = FontOf(font.get())) f->put_Italic(v != VARIANT_FALSE);
        FontChanged();
    });
}
STDMETHODIMP GlimButton::get_FontUnderline(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    return FontGet(font.get(), [&](IFont* f) {
        BOOL b = FALSE;
        const HRESULT hr = f->get_Underline(&b);
        *pVal = VB(b != FALSE);
        return hr;
    });
}
STDMETHODIMP GlimButton::put_FontUnderline(VARIANT_BOOL v) {
    return Member([&] {
        if (ComPtr<IFont> f = FontOf(font.get())) f->put_Underline(v != VARIANT_FALSE);
        FontChanged();
    });
}
STDMETHODIMP GlimButton::get_FontSize(short* pVal) {
    if (!pVal) return E_POINTER;
    return Member([&] {
        ComPtr<IFont> f = FontOf(font.get());
        CY size{};
        if (f) f->get_Size(&size);
        *pVal = RoundToShort(static_cast<double>(size.int64) / 10000.0);
    });
}
STDMETHODIMP GlimButton::put_FontSize(short v) {
    return Member([&] {
        if (ComPtr<IFont> f = FontOf(font.get())) {
            CY size{};
            size.int64 = static_cast<LONGLONG>(v) * 10000;
            f->put_Size(size);
        }
        FontChanged();
    });
}
STDMETHODIMP GlimButton::get_FontName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return FontGet(font.get(), [&](IFont* f) { return f->get_Name(pVal); });
}
STDMETHODIMP GlimButton::put_FontName(BSTR v) {
    return Member([&] {
        if (ComPtr<IFont> f = FontOf(font.get())) {
            const HRESULT hr = f->put_Name(v);
            if (FAILED(hr)) throw ErrorFromCom(hr);
        }
        FontChanged();
    });
}

STDMETHODIMP GlimButton::put_ColorScheme(ColorTypes v) {
    return Member([&] {
        Store(id::ColorScheme, *Variant::Long(v));
        GlimButton_ComputeColors();
        GlimButton_DrawButton(0, true);
        PropertyChanged("COLTYPE");
    });
}
STDMETHODIMP GlimButton::put_ShowFocusRect(VARIANT_BOOL v) {
    return Member([&] {
        Store(id::ShowFocusRect, *Variant::Bool(v != VARIANT_FALSE));
        GlimButton_DrawButton(curState, true);
        PropertyChanged("FOCUSR");
    });
}
STDMETHODIMP GlimButton::put_MousePointer(long v) {
    return Member([&] {
        // Kept as 16 bits: overflow before anything is set.
        Store(id::MousePointer, *Variant::Long(v));
        PropertyChanged("MPTR");
    });
}
STDMETHODIMP GlimButton::putref_MouseIcon(IPictureDisp* v) {
    return Member([&] {
        try {
            Store(id::MouseIcon, *Variant::Object(v));
        } catch (const Error&) {
        }
        PropertyChanged("MICON");
    });
}
void GlimButton::SetHandPointer(bool value) {
    Store(id::HandPointer, *Variant::Bool(value));
    Store(id::MouseIcon, *Variant::Object(value ? HandCursor().get() : nullptr));
    Store(id::MousePointer, *Variant::Integer(value ? kCustomPointer : kArrowPointer));
}
STDMETHODIMP GlimButton::put_HandPointer(VARIANT_BOOL v) {
    return Member([&] {
        SetHandPointer(v != VARIANT_FALSE);
        PropertyChanged("HAND");
    });
}
STDMETHODIMP GlimButton::put_SoftBevel(VARIANT_BOOL v) {
    return Member([&] {
        Store(id::SoftBevel, *Variant::Bool(v != VARIANT_FALSE));
        GlimButton_ComputeColors();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("SOFT");
    });
}
STDMETHODIMP GlimButton::putref_PictureNormal(IPictureDisp* v) {
    return Member([&] {
        Store(id::PictureNormal, *Variant::Object(v));
        GlimButton_MeasurePicture(face);
        GlimButton_LayoutCaption();
        GlimButton_DrawButton(curState, true);
        PropertyChanged("PICN");
    });
}
STDMETHODIMP GlimButton::putref_PictureOver(IPictureDisp* v) {
    return Member([&] {
        Store(id::PictureOver, *Variant::Object(v));
        if (face.mouseIsOver) GlimButton_DrawButton(curState, true);
        PropertyChanged("PICO");
    });
}
STDMETHODIMP GlimButton::put_PicturePosition(PicPositions v) {
    return Member([&] {
        Store(id::PicturePosition, *Variant::Long(v));
        PropertyChanged("PICPOS");
        GlimButton_LayoutCaption();
        GlimButton_DrawButton(curState, true);
    });
}
STDMETHODIMP GlimButton::put_UseMaskColor(VARIANT_BOOL v) {
    return Member([&] {
        Store(id::UseMaskColor, *Variant::Bool(v != VARIANT_FALSE));
        if (PictureNormal) GlimButton_DrawButton(curState, true);
        PropertyChanged("UMCOL");
    });
}
STDMETHODIMP GlimButton::put_UseGreyscale(VARIANT_BOOL v) {
    return Member([&] {
        Store(id::UseGreyscale, *Variant::Bool(v != VARIANT_FALSE));
        if (PictureNormal) GlimButton_DrawButton(curState, true);
        PropertyChanged("NGREY");
    });
}
STDMETHODIMP GlimButton::put_SpecialEffect(fx v) {
    return Member([&] {
        Store(id::SpecialEffect, *Variant::Long(v));
        GlimButton_DrawButton(curState, true);
        PropertyChanged("FX");
    });
}
STDMETHODIMP GlimButton::put_CheckBoxBehaviour(VARIANT_BOOL v) {
    return Member([&] {
        Store(id::CheckBoxBehaviour, *Variant::Bool(v != VARIANT_FALSE));
        GlimButton_DrawButton(curState, true);
        PropertyChanged("CHECK");
    });
}
STDMETHODIMP GlimButton::put_Value(VARIANT_BOOL v) {
    return Member([&] {
        Store(id::Value, *Variant::Bool(v != VARIANT_FALSE));
        if (face.CheckBoxBehaviour) GlimButton_DrawButton(0, true);
        PropertyChanged("VALUE");
    });
}
STDMETHODIMP GlimButton::get_Version(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = AllocBstr(kVersion);
    return S_OK;
}
STDMETHODIMP GlimButton::DisableRefresh() {
    isShown = false;
    return S_OK;
}
STDMETHODIMP GlimButton::Refresh() {
    return Member([&] {
        if (face.ButtonType == kLookTransparent) GlimButton_CaptureBackground();
        GlimButton_ComputeColors();
        GlimButton_LayoutCaption();
        isShown = true;
        GlimButton_DrawButton(curState, true);
    });
}
STDMETHODIMP GlimButton::put_Style(MnuStyle v) {
    return Member([&] {
        Store(id::Style, *Variant::Long(v));
        GlimButton_LoadSheet(v);
        GlimButton_DrawButton(0, true);
        PropertyChanged("Style");
    });
}
STDMETHODIMP GlimButton::put_Caption(BSTR v) {
    return Member([&] {
        VARIANT text; // borrowed: the kept value is a copy
        V_VT(&text) = VT_BSTR;
        V_BSTR(&text) = v;
        Store(id::Caption, text);
        GlimButton_SetAccessKey();
        GlimButton_LayoutCaption();
        GlimButton_DrawButton(0, true);
        PropertyChanged("TX");
        PropertyChanged("Caption");
    });
}

} // namespace glim
