#include "GlimToolTip.h"

#include "Conversions.h"
#include "Fonts.h"
#include "LateBound.h"
#include "LayoutScale.h"
#include "Pictures.h"
#include "SkinResourceIds.h"
#include "Text.h"
#include "frmToolTip.h"

namespace glim {

namespace {

// Every Resize sets this size (twips).
constexpr long kFixedWidth = 555;
constexpr long kFixedHeight = 495;
constexpr long kIconCount = 4;

// A font's face by dispatch (name is identifier 0), as the balloon reads it.
std::wstring FontName(IFontDisp* font) {
    Variant name = GetProperty(font, DISPID_FONT_NAME);
    if (name.vt() != VT_BSTR) RaiseError(kErrTypeMismatch);
    BSTR b = V_BSTR(name.get());
    return std::wstring(b ? b : L"", SysStringLen(b));
}

CY FontSize(IFontDisp* font) {
    Variant size = GetProperty(font, DISPID_FONT_SIZE);
    Variant cy;
    if (FAILED(VariantChangeType(cy.get(), size.get(), 0, VT_CY))) RaiseError(kErrTypeMismatch);
    return V_CY(cy.get());
}

} // namespace

const ControlClass GlimToolTip::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::ToolTip), SIZE{37, 33});

const Binding<GlimToolTip> GlimToolTip::kBindings[] = {
    {"BackColor", &GlimToolTip::BackColor},
    {"Font", &GlimToolTip::Font, nullptr, &GlimToolTip::FontChanged},
    {"FrameColor", &GlimToolTip::FrameColor},
    {"TipText", &GlimToolTip::TipText},
    {"TitleText", &GlimToolTip::TitleText},
    {"Icon", &GlimToolTip::Icon},
    {"Ctrl_hWnd", &GlimToolTip::Ctrl_hWnd},
    {"TitleColor", &GlimToolTip::TitleColor},
    {"TipColor", &GlimToolTip::TipColor},
};

GlimToolTip::GlimToolTip() : Control(kClass, kBindings) {}

void GlimToolTip::OnInitialize() {
    Image1 = LoadResPicture(skinres::kToolTipDesign, kResBitmap);
    ShowPicture(Image1.get());
}

void GlimToolTip::OnResize() {
    KeepSize(RoundToLong(ScreenTwipsX(kFixedWidth)), RoundToLong(ScreenTwipsY(kFixedHeight)));
}

STDMETHODIMP GlimToolTip::ShowTip() {
    return Member([&] {
        // An icon the balloon has no picture for is refused before anything
        // changes, so no half-built balloon is left behind.
        if (Icon < 0 || Icon >= kIconCount) RaiseError(kErrInvalidPropertyValue);
        POINT pt{};
        GetCursorPos(&pt);
        const HWND h = WindowFromPoint(pt);
        if (Ctrl_hWnd == 0)
            Ctrl_hWnd = HandleToLong(h);
        else if (HandleToLong(h) != Ctrl_hWnd)
            return;
        // A host that gives no font gets the runtime's default one.
        ComPtr<IFontDisp> font = Font ? Font : DefaultGuiFont();
        std::wstring fontName = FontName(font.get());
        const CY fontSize = FontSize(font.get());
        TipShared& t = TipState();
        t.gTipHwnd = h;
        t.gTipFontName = std::move(fontName);
        t.gTipFontSize = fontSize;
        t.gTipIcon = static_cast<short>(Icon);
        t.gTipBackColor = BackColor;
        t.gTipFrameColor = FrameColor;
        t.gTipText = TipText;
        t.gTipTitle = TitleText;
        t.gTipTextColor = TipColor;
        t.gTipTitleColor = TitleColor;
        frmToolTip::Instance().Load();
    });
}

void GlimToolTip::FontChanged() {
    if (Font) TipState().gTipFontName = FontName(Font.get());
}

} // namespace glim
