#include "GlimToolTip.h"

#include "Conversions.h"
#include "Fonts.h"
#include "LateBound.h"
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

namespace id = dispid::GlimToolTip;

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

const ControlClass GlimToolTip::kClass = {
    "GlimToolTip",
    &CLSID_GlimToolTip,
    &IID__GlimToolTip,
    &DIID___GlimToolTip,
    skinres::Toolbox(skinres::ToolboxImage::ToolTip),
    SIZE{37, 33},
    &ModuleTypeInfo,
    &GlimToolTip::CreateInstance,
};

GlimToolTip::GlimToolTip() : Control(kClass) {}

void GlimToolTip::OnInitialize() {
    Image1 = LoadResPicture(skinres::kToolTipDesign, kResBitmap);
    Canvas().SetScaleMode(kScalePixels);
    Canvas().PaintPicture(Image1.get(), 0, 0);
    Invalidate();
}

void GlimToolTip::OnResize() {
    KeepSize(kFixedWidth, kFixedHeight);
}

STDMETHODIMP GlimToolTip::ShowTip() {
    return Member([&] {
        // An icon the balloon has no picture for is refused before anything
        // changes, so no half-built balloon is left behind.
        const long icon = ToLong(*Value(id::Icon));
        if (icon < 0 || icon >= kIconCount) RaiseError(kErrInvalidPropertyValue);
        POINT pt{};
        GetCursorPos(&pt);
        const HWND h = WindowFromPoint(pt);
        const long bound = ToLong(*Value(id::Ctrl_hWnd));
        if (bound == 0)
            SetValue(id::Ctrl_hWnd, *Variant::Long(HandleToLong(h)));
        else if (HandleToLong(h) != bound)
            return;
        // A host that gives no font gets the runtime's default one.
        ComPtr<IFontDisp> font = ObjectAs<IFontDisp>(*Value(DISPID_FONT));
        if (!font) font = DefaultGuiFont();
        std::wstring fontName = FontName(font.get());
        const CY fontSize = FontSize(font.get());
        TipShared& t = TipState();
        t.gTipHwnd = h;
        t.gTipFontName = std::move(fontName);
        t.gTipFontSize = fontSize;
        t.gTipIcon = static_cast<short>(icon);
        t.gTipBackColor = static_cast<OLE_COLOR>(ToLong(*Value(id::BackColor)));
        t.gTipFrameColor = static_cast<OLE_COLOR>(ToLong(*Value(id::FrameColor)));
        t.gTipText = ToText(*Value(id::TipText));
        t.gTipTitle = ToText(*Value(id::TitleText));
        t.gTipTextColor = static_cast<OLE_COLOR>(ToLong(*Value(id::TipColor)));
        t.gTipTitleColor = static_cast<OLE_COLOR>(ToLong(*Value(id::TitleColor)));
        frmToolTip::Instance().Load();
    });
}

STDMETHODIMP GlimToolTip::get_Font(IFontDisp** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Member([&] { *pVal = ObjectAs<IFontDisp>(*Value(DISPID_FONT)).Detach(); });
}

STDMETHODIMP GlimToolTip::putref_Font(IFontDisp* New_Font) {
    return Member([&] {
        SetValue(DISPID_FONT, *Variant::Object(New_Font));
        // The face reaches the balloon at once; the size waits for ShowTip.
        if (New_Font) TipState().gTipFontName = FontName(New_Font);
        PropertyChanged("Font");
    });
}

} // namespace glim
