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

constexpr OLE_COLOR kDefaultBackColor = 0x009BFFFF;
constexpr const wchar_t* kDefaultTipText = L"This is the tip!";
constexpr const wchar_t* kDefaultTitleText = L"Title";
constexpr long kDefaultIcon = 2;

// Read in this order; written in the same order without "Ctrl_hWnd".
constexpr PersistedKey kBackColorKey{"BackColor", VT_I4};
constexpr PersistedKey kFontKey{"Font", VT_DISPATCH};
constexpr PersistedKey kFrameColorKey{"FrameColor", VT_I4};
constexpr PersistedKey kTipTextKey{"TipText", VT_BSTR};
constexpr PersistedKey kTitleTextKey{"TitleText", VT_BSTR};
constexpr PersistedKey kIconKey{"Icon", VT_I4};
constexpr PersistedKey kCtrlHwndKey{"Ctrl_hWnd", VT_I4};
constexpr PersistedKey kTitleColorKey{"TitleColor", VT_I4};
constexpr PersistedKey kTipColorKey{"TipColor", VT_I4};

Variant Color(OLE_COLOR c) {
    return Variant::I4(static_cast<long>(c));
}

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

void GlimToolTip::OnInitProperties() {
    TitleColor = 0;
    TipColor = 0;
    Ctrl_hWnd = 0;
    BackColor = kDefaultBackColor;
    Font = AmbientFont();
    FrameColor = 0;
    TipText = Narrow(kDefaultTipText);
    TitleText = Narrow(kDefaultTitleText);
    Icon = kDefaultIcon;
}

void GlimToolTip::OnReadProperties(const PropertyBag& bag) {
    const auto color = [&](const PersistedKey& key, OLE_COLOR dflt) {
        return static_cast<OLE_COLOR>(ToLong(*bag.Read(key, *Color(dflt))));
    };
    BackColor = color(kBackColorKey, kDefaultBackColor);
    ComPtr<IFontDisp> ambient = AmbientFont();
    Variant font = bag.Read(kFontKey, *Variant::Object(ambient.get()));
    Font.reset();
    if (font.vt() == VT_DISPATCH && V_DISPATCH(font.get()))
        V_DISPATCH(font.get())->QueryInterface(IID_IFontDisp, Font.put_void());
    FrameColor = color(kFrameColorKey, 0);
    TipText = ToText(*bag.Read(kTipTextKey, *Variant::Str(kDefaultTipText)));
    TitleText = ToText(*bag.Read(kTitleTextKey, *Variant::Str(kDefaultTitleText)));
    Icon = ToLong(*bag.Read(kIconKey, *Variant::I4(kDefaultIcon)));
    Ctrl_hWnd = ToLong(*bag.Read(kCtrlHwndKey, *Variant::I4(0)));
    TitleColor = color(kTitleColorKey, 0);
    TipColor = color(kTipColorKey, 0);
}

void GlimToolTip::OnWriteProperties(const PropertyBag& bag) {
    // The bound window is never written: a loaded tip starts unbound.
    bag.Write(kBackColorKey, *Color(BackColor), *Color(kDefaultBackColor));
    bag.Write(kFontKey, *Variant::Object(Font.get()));
    bag.Write(kFrameColorKey, *Color(FrameColor), *Color(0));
    bag.Write(kTipTextKey, *Variant::Str(Widen(TipText).c_str()), *Variant::Str(kDefaultTipText));
    bag.Write(kTitleTextKey, *Variant::Str(Widen(TitleText).c_str()), *Variant::Str(kDefaultTitleText));
    bag.Write(kIconKey, *Variant::I4(Icon), *Variant::I4(kDefaultIcon));
    bag.Write(kTitleColorKey, *Color(TitleColor), *Color(0));
    bag.Write(kTipColorKey, *Color(TipColor), *Color(0));
}

void GlimToolTip::OnResize() {
    if (resizing) return;
    resizing = true;
    try {
        SetSize(kFixedWidth, kFixedHeight);
    } catch (...) {
        resizing = false;
        throw;
    }
    resizing = false;
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

HRESULT GlimToolTip::PutColor(OLE_COLOR& field, OLE_COLOR value, const char* name) {
    return Member([&] {
        field = value;
        PropertyChanged(name);
    });
}

HRESULT GlimToolTip::PutText(std::string& field, BSTR value, const char* name) {
    return Member([&] {
        field = NarrowBstr(value);
        PropertyChanged(name);
    });
}

STDMETHODIMP GlimToolTip::get_BackColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = BackColor;
    return S_OK;
}
STDMETHODIMP GlimToolTip::put_BackColor(OLE_COLOR New_BackColor) {
    return PutColor(BackColor, New_BackColor, "BackColor");
}
STDMETHODIMP GlimToolTip::get_FrameColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = FrameColor;
    return S_OK;
}
STDMETHODIMP GlimToolTip::put_FrameColor(OLE_COLOR New_FrameColor) {
    return PutColor(FrameColor, New_FrameColor, "FrameColor");
}
STDMETHODIMP GlimToolTip::get_TitleColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = TitleColor;
    return S_OK;
}
STDMETHODIMP GlimToolTip::put_TitleColor(OLE_COLOR New_TitleColor) {
    return PutColor(TitleColor, New_TitleColor, "TitleColor");
}
STDMETHODIMP GlimToolTip::get_TipColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = TipColor;
    return S_OK;
}
STDMETHODIMP GlimToolTip::put_TipColor(OLE_COLOR New_TipColor) {
    return PutColor(TipColor, New_TipColor, "TipColor");
}

STDMETHODIMP GlimToolTip::get_Font(IFontDisp** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Font.get();
    if (*pVal) (*pVal)->AddRef();
    return S_OK;
}

STDMETHODIMP GlimToolTip::putref_Font(IFontDisp* New_Font) {
    return Member([&] {
        Font = New_Font;
        // The face reaches the balloon at once; the size waits for ShowTip.
        if (Font) TipState().gTipFontName = FontName(Font.get());
        PropertyChanged("Font");
    });
}

STDMETHODIMP GlimToolTip::get_TipText(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Member([&] { *pVal = AllocBstr(TipText); });
}
STDMETHODIMP GlimToolTip::put_TipText(BSTR New_TipText) {
    return PutText(TipText, New_TipText, "TipText");
}
STDMETHODIMP GlimToolTip::get_TitleText(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Member([&] { *pVal = AllocBstr(TitleText); });
}
STDMETHODIMP GlimToolTip::put_TitleText(BSTR New_TitleText) {
    return PutText(TitleText, New_TitleText, "TitleText");
}

STDMETHODIMP GlimToolTip::get_Icon(IconMode* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<IconMode>(Icon);
    return S_OK;
}
STDMETHODIMP GlimToolTip::put_Icon(IconMode New_Icon) {
    return Member([&] {
        Icon = New_Icon;
        PropertyChanged("Icon");
    });
}

STDMETHODIMP GlimToolTip::get_Ctrl_hWnd(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Ctrl_hWnd;
    return S_OK;
}
STDMETHODIMP GlimToolTip::put_Ctrl_hWnd(long New_Ctrl_hWnd) {
    return Member([&] {
        Ctrl_hWnd = New_Ctrl_hWnd;
        PropertyChanged("Ctrl_hWnd");
    });
}

} // namespace glim
