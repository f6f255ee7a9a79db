#include "GlimButton.h"

#include "Conversions.h"
#include "Fonts.h"
#include "Interaction.h"
#include "Pictures.h"
#include "SkinResourceIds.h"
#include "Text.h"

namespace glim {

namespace {

namespace ev = dispid::GlimButton_events;

constexpr long kHoverPollMs = 3;
constexpr long kSheetCells = 5;
// The caption of a new instance: the design text of its label.
constexpr const char* kDesignCaption = "GlimButton";
constexpr short kArrowPointer = 1;
constexpr int kSkinCount = skinres::kSkinCount;
// Posted to ourselves by the arrow keys: wParam TRUE for the next tab stop.
constexpr UINT kMoveFocusMessage = WM_APP + 0x4B1;

ComPtr<IFont> FontOf(IFontDisp* f) {
    ComPtr<IFont> r;
    if (f) f->QueryInterface(IID_IFont, r.put_void());
    return r;
}

} // namespace

const ControlClass GlimButton::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::Button), SIZE{80, 24});

ComPtr<IPictureDisp> GlimButton::HandCursor() {
    try {
        return LoadResPicture(skinres::kHandCursor, kResCursor);
    } catch (const Error&) {
        // A module without the cursor still gets a hand: the platform's own.
    }
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND); // shared: the picture only shows it
    if (!hand) RaiseError(kErrOutOfMemory);
    return PictureFromIcon(hand, false);
}

GlimButton::~GlimButton() {
    OverTimer.SetEnabled(false);
    DestroyBackground();
}

// ---- life cycle -----------------------------------------------------------

void GlimButton::OnInitialize() {
    isShown = true;
    caption = kDesignCaption;
    pc.SetCols(kSheetCells);
    pc.SetRows(1);
    pc.SetPicture(LoadResPicture(skinres::kButtonDesign, kResBitmap).get());
    sheet = &pc;
    Canvas().SetScaleMode(kScalePixels);
    Font = CloneFont(DefaultGuiFont().get());
    OverTimer.SetEnabled(false);
    OverTimer.SetInterval(kHoverPollMs);
    OverTimer.Timer = [this] { OverTimerTick(); };
}

void GlimButton::OnInitProperties() {
    // The runtime set Enabled, ShowFocusRect, UseMaskColor, ColorScheme,
    // MaskColor and Style to their defaults; the label keeps its design text.
    caption = kDesignCaption;
    ComPtr<IFontDisp> ambient = AmbientFont();
    Font = CloneFont(ambient ? ambient.get() : DefaultGuiFont().get());
    ButtonType = kLookGlimButton;
    ButtonTypeChanged();
    PropertyChanged("BTYPE");
    GlimButton_ComputeColors();
    BackColor = BackOver = palette.face;
    ForeColor = ForeOver = palette.text;
    GlimButton_LayoutCaption();
    GlimButton_LoadSheet(1);
    GlimButton_DrawButton(0, false);
}

void GlimButton::OnReadProperties(const PropertyBag&) {
    // The runtime has read every key; the font becomes our own copy, since
    // the bag's may be shared with the host and other controls.
    if (Font) Font = CloneFont(Font.get());
    TakeStyle();
    GlimButton_MeasurePicture(*this);
    // A stored skin that is no number or names no sheet must not fail the
    // form's load: the button keeps its design sheet.
    try {
        GlimButton_LoadSheet(StyleNumber());
    } catch (const Error&) {
    }
    GlimButton_SetAccessKey();
    // Loaded at the size it was made with, no resize follows: lay out as one would.
    OnResize();
}

void GlimButton::OnTerminate() {
    terminated = true;
    isShown = false;
    OverTimer.SetEnabled(false);
    DestroyBackground();
}

void GlimButton::OnShow() {
    if (ButtonType == kLookTransparent) {
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
    focusRect = r;
    clientHeight = r.bottom;
    clientWidth = r.right;
    const long t = ButtonType;
    if (t >= kLookSimpleFlat && t <= kLookOvalFlat) {
        InflateRect(&focusRect, -3, -3);
    } else if (t == kLookKDE2) {
        InflateRect(&focusRect, -5, -5);
        OffsetRect(&focusRect, 1, 1);
    } else {
        InflateRect(&focusRect, -4, -4);
    }
    // A new size makes the background again and takes it again, so the
    // transparent look shows neither black nor a stale copy; after a size of
    // none, the next real size does.
    if (bg && (clientWidth <= 0 || clientHeight <= 0)) {
        bgStale = true;
    } else if (bg && (bgStale || bg->Width() != clientWidth || bg->Height() != clientHeight)) {
        bgStale = false;
        CreateBackground();
        if (isShown && ButtonType == kLookTransparent) GlimButton_CaptureBackground();
    }
    GlimButton_LayoutCaption();
    // Loading lays out more than once at one size: each region handed over
    // is a round trip to the server and a redraw, so an equal one is not.
    if (ButtonType != regionType || clientWidth != regionSize.cx || clientHeight != regionSize.cy) {
        OwnedRegion rgn = GlimButton_MakeRegion(ButtonType, clientWidth, clientHeight);
        // The window owns the region from here on.
        if (rgn && SetWindowRgn(hWnd(), rgn.get(), TRUE)) {
            rgn.release();
            regionType = ButtonType;
            regionSize = SIZE{clientWidth, clientHeight};
        }
    }
    if (clientHeight != 0) GlimButton_DrawButton(0, true);
}

// ---- painting -------------------------------------------------------------

void GlimButton::GlimButton_DrawButton(int state, bool force) {
    if (CheckBoxBehaviour && Value) state = 2;
    if (!force && caption == lastCaption && state == curState) return;
    if (clientHeight == 0 || !isShown || !hWnd()) return;
    curState = static_cast<std::uint8_t>(state);
    lastCaption = caption;
    Canvas().Cls();
    isDefault = AmbientDisplayAsDefault();
    font = FontHandle(Font.get());
    GlimButton_PaintFace(hDC(), *this, state);
    Invalidate();
}

void GlimButton::GlimButton_ComputeColors() {
    palette = glim::GlimButton_ComputeColors(*this, hWnd() ? GetParent(hWnd()) : nullptr);
}

void GlimButton::GlimButton_LayoutCaption() {
    font = FontHandle(Font.get());
    glim::GlimButton_LayoutCaption(hDC(), *this);
}

void GlimButton::GlimButton_SetAccessKey() {
    // Only the first two ampersands count: "&&a&&b&c" has no key.
    SetAccessKeys(AccessKeyOf(caption, 2));
}

void GlimButton::GlimButton_LoadSheet(long style) {
    // Bitmap 4000 + style; anything outside the 24 sheets raises as a missing resource would.
    if (style < 0 || style >= kSkinCount)
        RaiseError(kErrResourceNotFound,
                   "Resource with identifier '" + std::to_string(skinres::Button(0) + style) + "' not found");
    pc.SetPicture(LoadResPicture(skinres::Button(static_cast<int>(style)), kResBitmap).get());
}

long GlimButton::StyleNumber() {
    if (StyleSetting.vt() == VT_EMPTY) return 0;
    return ToLong(*StyleSetting);
}

void GlimButton::TakeStyle() {
    // A skin kept as text that is no number picks no white captions.
    try {
        Style = StyleNumber();
    } catch (const Error&) {
        Style = -1;
    }
}

void GlimButton::CreateBackground() {
    DestroyBackground();
    const int w = clientWidth, h = clientHeight;
    // Nothing is made until there is a size.
    if (w <= 0 || h <= 0) return;
    auto made = std::make_unique<cMemDC>();
    made->SetWidth(w);
    made->SetHeight(h);
    if (!made->hDC()) return;
    bg = std::move(made);
    bgDC = bg->hDC();
}

void GlimButton::DestroyBackground() {
    bgDC = nullptr;
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
    const int w = clientWidth, h = clientHeight;
    try {
        SetHeight(0);
    } catch (const Error&) {
    }
    DoEvents(&terminated);
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
        if (button == 0 && !mouseIsOver) {
            OverTimer.SetEnabled(true);
            mouseIsOver = true;
            GlimButton_DrawButton(0, true);
            RaiseEvent(ev::MouseOver);
        } else if (button == kLeftButton) {
            mouseIsOver = true;
            GlimButton_DrawButton(2, false);
            mouseIsOver = false;
        }
    } else {
        GlimButton_DrawButton(0, false);
    }
}

void GlimButton::OverTimerTick() {
    if (GlimButton_IsMouseOver()) return;
    OverTimer.SetEnabled(false);
    mouseIsOver = false;
    GlimButton_DrawButton(0, true);
    RaiseEvent(ev::MouseOut);
}

void GlimButton::ClickNow() {
    GlimButton_DrawButton(0, true);
    SurfaceWindow::Refresh();
    RaiseEvent(ev::Click);
}

void GlimButton::OnClick() {
    if (lastButton != kLeftButton || !Enabled) return;
    if (CheckBoxBehaviour) Value = !Value;
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
    if (CheckBoxBehaviour) Value = !Value;
    GlimButton_DrawButton(0, false);
    SurfaceWindow::Refresh();
    RaiseEvent(ev::Click);
}

void GlimButton::OnGotFocus() {
    hasFocus = true;
    GlimButton_DrawButton(curState, true);
}

void GlimButton::OnLostFocus() {
    hasFocus = false;
    GlimButton_DrawButton(curState, true);
}

void GlimButton::OnAmbientChanged(DISPID /*id*/) {
    if (ColorScheme == kCustom) return;
    GlimButton_ComputeColors();
    GlimButton_DrawButton(curState, true);
}

// ---- properties -----------------------------------------------------------

// Every key is told under its own name; the font's facets tell no one.
const Binding<GlimButton> GlimButton::kBindings[] = {
    {"BackColor", &GlimButton::BackColor, nullptr, &GlimButton::BackColorChanged},
    {"BackOver", &GlimButton::BackOver, nullptr, &GlimButton::Recolour},
    {"ForeColor", &GlimButton::ForeColor, nullptr, &GlimButton::ForeColorChanged},
    {"ForeOver", &GlimButton::ForeOver, nullptr, &GlimButton::Recolour},
    {"MaskColor", &GlimButton::MaskColor, nullptr, &GlimButton::Recolour},
    {"ButtonType", &GlimButton::ButtonType, nullptr, &GlimButton::ButtonTypeChanged},
    {"Enabled", &GlimButton::Enabled, nullptr, &GlimButton::RepaintUp},
    {"Font", &GlimButton::Font, nullptr, &GlimButton::FontPut},
    {"FontBold", Facet(DISPID_FONT_BOLD), nullptr, &GlimButton::FontChanged, kQuiet},
    {"FontItalic", Facet(DISPID_FONT_ITALIC), nullptr, &GlimButton::FontChanged, kQuiet},
    {"FontUnderline", Facet(DISPID_FONT_UNDER), nullptr, &GlimButton::FontChanged, kQuiet},
    {"FontSize", Facet(DISPID_FONT_SIZE), nullptr, &GlimButton::FontChanged, kQuiet},
    {"FontName", Facet(DISPID_FONT_NAME), nullptr, &GlimButton::FontChanged, kQuiet},
    {"ColorScheme", &GlimButton::ColorScheme, nullptr, &GlimButton::RecolourUp},
    {"ShowFocusRect", &GlimButton::ShowFocusRect, nullptr, &GlimButton::Repaint},
    {"MousePointer"},
    {"MouseIcon"},
    {"HandPointer", &GlimButton::HandPointer, nullptr, &GlimButton::HandPointerChanged, kLoadsAsPut},
    {"SoftBevel", &GlimButton::SoftBevel, nullptr, &GlimButton::Recolour},
    {"PictureNormal", &GlimButton::PictureNormal, nullptr, &GlimButton::PictureNormalChanged},
    {"PictureOver", &GlimButton::PictureOver, nullptr, &GlimButton::PictureOverChanged},
    {"PicturePosition", &GlimButton::PicturePosition, nullptr, &GlimButton::Relayout, kTellFirst},
    {"UseMaskColor", &GlimButton::UseMaskColor, nullptr, &GlimButton::RepaintPicture},
    {"UseGreyscale", &GlimButton::UseGreyscale, nullptr, &GlimButton::RepaintPicture},
    {"SpecialEffect", &GlimButton::SpecialEffect, nullptr, &GlimButton::Repaint},
    {"CheckBoxBehaviour", &GlimButton::CheckBoxBehaviour, nullptr, &GlimButton::Repaint},
    {"Value", &GlimButton::Value, nullptr, &GlimButton::ValueChanged},
    {"Version", &GlimButton::Version},
    {"Style", &GlimButton::StyleSetting, nullptr, &GlimButton::StyleChanged},
    {"Caption", &GlimButton::caption, nullptr, &GlimButton::CaptionChanged},
};

GlimButton::GlimButton() : Control(kClass, kBindings) {}

FontFacet<GlimButton> GlimButton::Facet(DISPID facet) {
    return {&GlimButton::Font, facet};
}

void GlimButton::Recolour() {
    GlimButton_ComputeColors();
    Repaint();
}

void GlimButton::RecolourUp() {
    GlimButton_ComputeColors();
    RepaintUp();
}

void GlimButton::Repaint() {
    GlimButton_DrawButton(curState, true);
}

void GlimButton::RepaintUp() {
    GlimButton_DrawButton(0, true);
}

// At design time the hover colour follows the colour set.
void GlimButton::BackColorChanged() {
    if (!AmbientUserMode()) BackOver = BackColor;
    Recolour();
}

void GlimButton::ForeColorChanged() {
    if (!AmbientUserMode()) ForeOver = ForeColor;
    Recolour();
}

void GlimButton::ButtonTypeChanged() {
    if (ButtonType == kLookJavaMetal && !AmbientUserMode()) {
        if (ComPtr<IFont> f = FontOf(Font.get())) f->put_Bold(TRUE);
    } else if (ButtonType == kLookTransparent && isShown) {
        GlimButton_CaptureBackground();
    }
    // The Windows XP face is shaded differently from the others.
    GlimButton_ComputeColors();
    OnResize();
}

// Our own copy: a bold caption must never change the host's font.
void GlimButton::FontPut() {
    Font = CloneFont(Font ? Font.get() : DefaultGuiFont().get());
    FontChanged();
}

void GlimButton::FontChanged() {
    GlimButton_LayoutCaption();
    RepaintUp();
}

void GlimButton::HandPointerChanged() {
    SetMouseIcon(HandPointer ? HandCursor().get() : nullptr);
    SetMousePointer(HandPointer ? kCustomPointer : kArrowPointer);
}

void GlimButton::PictureNormalChanged() {
    GlimButton_MeasurePicture(*this);
    Relayout();
}

void GlimButton::PictureOverChanged() {
    if (mouseIsOver) Repaint();
}

void GlimButton::Relayout() {
    GlimButton_LayoutCaption();
    Repaint();
}

void GlimButton::RepaintPicture() {
    if (PictureNormal) Repaint();
}

void GlimButton::ValueChanged() {
    if (CheckBoxBehaviour) RepaintUp();
}

// A skin without a sheet fails after it was kept.
void GlimButton::StyleChanged() {
    TakeStyle();
    GlimButton_LoadSheet(StyleNumber());
    RepaintUp();
}

void GlimButton::CaptionChanged() {
    GlimButton_SetAccessKey();
    GlimButton_LayoutCaption();
    RepaintUp();
    PropertyChanged("TX");
}

STDMETHODIMP GlimButton::DisableRefresh() {
    isShown = false;
    return S_OK;
}

STDMETHODIMP GlimButton::Refresh() {
    return Member([&] {
        if (ButtonType == kLookTransparent) GlimButton_CaptureBackground();
        GlimButton_ComputeColors();
        GlimButton_LayoutCaption();
        isShown = true;
        GlimButton_DrawButton(curState, true);
    });
}

} // namespace glim
