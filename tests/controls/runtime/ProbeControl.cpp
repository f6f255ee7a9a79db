#include "ProbeControl.h"

#include "ServedClass.h"

#include "ComObject.h"
#include "Conversions.h"
#include "Text.h"

#include <algorithm>

namespace glimtest {

namespace {

// The probe's own class identifiers; only this process serves them.
constexpr CLSID kCheckProbe = {0x5be1c1a0, 0x3c1e, 0x4d36, {0x9a, 0x61, 0x27, 0x4e, 0x10, 0xd8, 0x41, 0x01}};
constexpr CLSID kButtonProbe = {0x5be1c1a0, 0x3c1e, 0x4d36, {0x9a, 0x61, 0x27, 0x4e, 0x10, 0xd8, 0x41, 0x02}};
constexpr CLSID kContainerProbe = {
    0x5be1c1a0, 0x3c1e, 0x4d36, {0x9a, 0x61, 0x27, 0x4e, 0x10, 0xd8, 0x41, 0x03}};

} // namespace

const char kStyleRefused[] = "Style refused by the probe";

namespace {

std::vector<ProbeControl*>& Live() {
    static std::vector<ProbeControl*> live;
    return live;
}

// Type information of the library bound into this program; a probe
// class answers for its own CLSID with the coclass it stands in for.
template <const CLSID* Own, const CLSID* Reported>
HRESULT ProbeTypeInfo(REFGUID guid, ITypeInfo** info) {
    return glim::ModuleTypeInfo(IsEqualGUID(guid, *Own) ? *Reported : guid, info);
}

template <const ProbeClass& (*Which)()>
glim::ControlBase* CreateProbe();

// The check box's events as the library declares them, and DblClick.
namespace tl = glim::typelib;
constexpr tl::Param kMouseArgs[] = {{"Button", {tl::VarType::I2}, true},
                                    {"Shift", {tl::VarType::I2}, true},
                                    {"X", {tl::VarType::R4}, true},
                                    {"Y", {tl::VarType::R4}, true}};
constexpr tl::Param kKeyArgs[] = {{"KeyCode", {tl::VarType::I2}, true}, {"Shift", {tl::VarType::I2}, true}};
constexpr tl::Param kKeyPressArgs[] = {{"KeyAscii", {tl::VarType::I2}, true}};
constexpr tl::Event kProbeEvents[] = {
    {"Click", probe_events::Click},
    {"DblClick", probe_events::DblClick},
    {"KeyDown", probe_events::KeyDown, kKeyArgs},
    {"KeyPress", probe_events::KeyPress, kKeyPressArgs},
    {"KeyUp", probe_events::KeyUp, kKeyArgs},
    {"MouseDown", probe_events::MouseDown, kMouseArgs},
    {"MouseMove", probe_events::MouseMove, kMouseArgs},
    {"MouseUp", probe_events::MouseUp, kMouseArgs},
};
constexpr tl::CoClass kProbeDescription{"Probe", nullptr, nullptr, nullptr, true, {}, kProbeEvents};

const ProbeClass kCheck{{"GlimCheck", &kCheckProbe, &IID__GlimCheck, &DIID___GlimCheck, 0, SIZE{60, 30},
                         &ProbeTypeInfo<&kCheckProbe, &CLSID_GlimCheck>,
                         &CreateProbe<&ProbeControl::CheckClass>, glim::kControlMiscStatus,
                         &kProbeDescription},
                        &CLSID_GlimCheck};
const ProbeClass kButton{{"GlimButton", &kButtonProbe, &IID__GlimCheck, &DIID___GlimCheck, 0, SIZE{60, 30},
                          &ProbeTypeInfo<&kButtonProbe, &CLSID_GlimButton>,
                          &CreateProbe<&ProbeControl::ButtonClass>, glim::kControlMiscStatus,
                          &kProbeDescription},
                         &CLSID_GlimButton};
const ProbeClass kContainer{{"GlimContainr", &kContainerProbe, &IID__GlimCheck, &DIID___GlimCheck, 0,
                             SIZE{60, 30}, &ProbeTypeInfo<&kContainerProbe, &CLSID_GlimContainr>,
                             &CreateProbe<&ProbeControl::ContainerClass>, glim::kControlMiscStatus,
                             &kProbeDescription},
                            &CLSID_GlimContainr};

glimtest::ServedClass& ServedOf(const ProbeClass& cls) {
    static glimtest::ServedClass check(kCheck.cls), button(kButton.cls), container(kContainer.cls);
    return &cls == &kCheck ? check : &cls == &kButton ? button : container;
}

} // namespace

struct ProbeFactory {
    static glim::ControlBase* Make(const ProbeClass& cls) {
        auto* c = new ProbeControl(cls);
        c->Create();
        return c;
    }
};

namespace {
template <const ProbeClass& (*Which)()>
glim::ControlBase* CreateProbe() {
    return ProbeFactory::Make(Which());
}
} // namespace

const ProbeClass& ProbeControl::CheckClass() {
    return kCheck;
}
const ProbeClass& ProbeControl::ButtonClass() {
    return kButton;
}
const ProbeClass& ProbeControl::ContainerClass() {
    return kContainer;
}

void ProbeControl::RegisterClasses() {
    for (const ProbeClass* c : {&kCheck, &kButton, &kContainer})
        ServedOf(*c).Register();
}

void ProbeControl::RevokeClasses() {
    for (const ProbeClass* c : {&kCheck, &kButton, &kContainer})
        ServedOf(*c).Revoke();
}

std::string ProbeControl::ClsidText(const ProbeClass& cls) {
    return glimtest::ClsidText(*cls.cls.clsid);
}

ProbeControl* ProbeControl::FromWindow(HWND hwnd) {
    for (ProbeControl* p : Live())
        if (p->hWnd() == hwnd) return p;
    return nullptr;
}

size_t ProbeControl::LiveCount() {
    return Live().size();
}

ProbeControl::ProbeControl(const ProbeClass& cls) : Control(cls.cls) {
    Live().push_back(this);
}

ProbeControl::~ProbeControl() {
    Live().erase(std::find(Live().begin(), Live().end(), this));
    Log().push_back("destroyed");
}

std::vector<std::string>& ProbeControl::Log() {
    static std::vector<std::string> log;
    return log;
}

void ProbeControl::PaintSurface(COLORREF c) {
    glim::Surface& s = Canvas();
    s.Box(0, 0, s.ScaleWidth(), s.ScaleHeight(), static_cast<OLE_COLOR>(c), true);
    Refresh();
}

void ProbeControl::OnInitProperties() {
    caption_ = "Probe";
}

void ProbeControl::OnResize() {
    ++resizes;
    if (fixedHeightTwips == 0 || inResize_ || Height() == fixedHeightTwips) return;
    // Setting our own size from Resize re-enters it; the flag ends the loop.
    inResize_ = true;
    try {
        SetSize(Width(), fixedHeightTwips);
    } catch (...) {
        inResize_ = false;
        throw;
    }
    inResize_ = false;
}

void ProbeControl::OnMouseDown(short button, short shift, float x, float y) {
    lastMouseDownButton = button;
    lastMouseDownX = x;
    lastMouseDownY = y;
    captureAtMouseDown = GetCapture();
    RaiseEvent(probe_events::MouseDown, button, shift, x, y);
    buttonAfterMouseDown = button;
    xAfterMouseDown = x;
    Log().push_back("after MouseDown");
}

void ProbeControl::OnMouseMove(short button, short shift, float x, float y) {
    RaiseEvent(probe_events::MouseMove, button, shift, x, y);
}

void ProbeControl::OnMouseUp(short button, short shift, float x, float y) {
    RaiseEvent(probe_events::MouseUp, button, shift, x, y);
    Log().push_back("after MouseUp");
}

void ProbeControl::OnClick() {
    ++clicks;
    RaiseEvent(probe_events::Click);
    Log().push_back("after Click");
}

void ProbeControl::OnDblClick() {
    ++dblClicks;
    RaiseEvent(probe_events::DblClick);
}

void ProbeControl::OnKeyDown(short& keyCode, short shift) {
    RaiseEvent(probe_events::KeyDown, keyCode, shift);
    if (keyCode) keysDown.push_back(keyCode);
}

void ProbeControl::OnKeyPress(short& keyAscii) {
    RaiseEvent(probe_events::KeyPress, keyAscii);
    if (keyAscii) typed += static_cast<char>(keyAscii);
}

void ProbeControl::OnKeyUp(short& keyCode, short shift) {
    RaiseEvent(probe_events::KeyUp, keyCode, shift);
}

void ProbeControl::OnAccessKeyPress(short keyAscii) {
    accessKeys.push_back(keyAscii);
}

void ProbeControl::OnAmbientChanged(DISPID id) {
    ambientChanges.push_back(id);
}

STDMETHODIMP ProbeControl::get_Enabled(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Enabled() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP ProbeControl::put_Enabled(VARIANT_BOOL New_Enabled) {
    return Member([&] {
        SetEnabled(New_Enabled != VARIANT_FALSE);
        PropertyChanged("Enabled");
    });
}

STDMETHODIMP ProbeControl::get_Value(State* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<State>(value_);
    return S_OK;
}

STDMETHODIMP ProbeControl::put_Value(State New_Value) {
    return Member([&] {
        value_ = static_cast<short>(New_Value);
        PropertyChanged(notifyName.empty() ? "Value" : notifyName.c_str());
    });
}

STDMETHODIMP ProbeControl::get_Caption(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = SysAllocString(glim::Widen(caption_).c_str());
    return S_OK;
}

STDMETHODIMP ProbeControl::put_Caption(BSTR New_Caption) {
    return Member([&] {
        caption_ = glim::Narrow(New_Caption ? New_Caption : L"");
        SetAccessKeys(glim::AccessKeyOf(caption_));
        PropertyChanged("Caption");
    });
}

STDMETHODIMP ProbeControl::get_Font(IFontDisp** pVal) {
    return font_.CopyTo(pVal);
}

STDMETHODIMP ProbeControl::putref_Font(IFontDisp* New_Font) {
    font_ = New_Font;
    return S_OK;
}

STDMETHODIMP ProbeControl::get_BackColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Canvas().BackColor();
    return S_OK;
}

STDMETHODIMP ProbeControl::put_BackColor(OLE_COLOR New_BackColor) {
    return Member([&] { Canvas().SetBackColor(New_BackColor); });
}

STDMETHODIMP ProbeControl::get_ForeColor(OLE_COLOR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = Canvas().ForeColor();
    return S_OK;
}

STDMETHODIMP ProbeControl::put_ForeColor(OLE_COLOR New_ForeColor) {
    Canvas().SetForeColor(New_ForeColor);
    return S_OK;
}

STDMETHODIMP ProbeControl::get_Style(MnuStyle* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<MnuStyle>(style_);
    return S_OK;
}

STDMETHODIMP ProbeControl::put_Style(MnuStyle New_Style) {
    return Member([&] {
        stylePuts.push_back(New_Style);
        if (styleError) glim::RaiseError(styleError, kStyleRefused);
        style_ = static_cast<short>(New_Style);
        PropertyChanged("Style");
    });
}

} // namespace glimtest
