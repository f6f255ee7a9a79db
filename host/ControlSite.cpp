#include "ControlSite.h"

#include "Extender.h"
#include "HostForm.h"
#include "Text.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

#include <cctype>
#include <cmath>

namespace glim::host {

namespace {
const char* const kSource = "Host";

long ToHimetric(long twips) {
    return MulDiv(twips, 2540, 1440);
}

// Plain-letter mnemonics would fire while the user types into a text box.
bool FocusTakesText() {
    char cls[16] = {};
    HWND focus = GetFocus();
    return focus && GetClassNameA(focus, cls, sizeof cls) && lstrcmpiA(cls, "Edit") == 0;
}

bool AccelMatches(const ACCEL& a, const MSG& msg) {
    const bool alt = msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR || GetKeyState(VK_MENU) < 0;
    if (a.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
        if (a.key != msg.wParam) return false;
        const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
        return alt == !!(a.fVirt & FALT) && ctrl == !!(a.fVirt & FCONTROL) && shift == !!(a.fVirt & FSHIFT);
    }
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
    const auto lower = [](unsigned v) {
        return v < 0x80 ? static_cast<unsigned>(std::tolower(static_cast<int>(v))) : v;
    };
    if (lower(a.key) != lower(static_cast<unsigned>(msg.wParam))) return false;
    if (alt != !!(a.fVirt & FALT)) return false;
    return alt || !FocusTakesText();
}
} // namespace

ComPtr<ControlSite> ControlSite::Create(HostForm* form, const std::string& name, ControlSite* container) {
    return ComPtr<ControlSite>(new ControlSite(form, name, container));
}

ControlSite::ControlSite(HostForm* form, std::string name, ControlSite* container)
    : form_(form), container_(container), name_(std::move(name)) {
    BuildAmbients();
}

ControlSite::~ControlSite() {
    Teardown();
}

void* ControlSite::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) return static_cast<IOleClientSite*>(this);
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) return static_cast<IOleInPlaceSite*>(this);
    if (iid == IID_IOleControlSite) return static_cast<IOleControlSite*>(this);
    if (iid == IID_IDispatch) return static_cast<IDispatch*>(this);
    if (iid == IID_IPropertyNotifySink) return static_cast<IPropertyNotifySink*>(this);
    return nullptr;
}

void ControlSite::BuildAmbients() {
    ambients_.AddProperty("BackColor", DISPID_AMBIENT_BACKCOLOR, [this] {
        return Variant::Long(form_ ? static_cast<long>(form_->BackColor()) : 0);
    });
    ambients_.AddProperty("ForeColor", DISPID_AMBIENT_FORECOLOR, [this] {
        return Variant::Long(form_ ? static_cast<long>(form_->ForeColor()) : 0);
    });
    ambients_.AddProperty("Font", DISPID_AMBIENT_FONT, [this] {
        // A copy, so a control that changes its font leaves the form's alone.
        ComPtr<IFontDisp> copy;
        if (form_ && form_->Font()) {
            if (auto font = form_->Font().As<IFont>()) {
                ComPtr<IFont> clone;
                if (SUCCEEDED(font->Clone(clone.put()))) copy = clone.As<IFontDisp>();
            }
        }
        return Variant::Object(copy.get());
    });
    ambients_.AddProperty("DisplayName", DISPID_AMBIENT_DISPLAYNAME,
                          [this] { return Variant::String(name_); });
    ambients_.AddProperty("UserMode", DISPID_AMBIENT_USERMODE, [] { return Variant::Bool(true); });
    ambients_.AddProperty("DisplayAsDefault", DISPID_AMBIENT_DISPLAYASDEFAULT,
                          [this] { return Variant::Bool(isDefault_); });
    ambients_.AddProperty("LocaleID", DISPID_AMBIENT_LOCALEID,
                          [] { return Variant::Long(static_cast<long>(GetUserDefaultLCID())); });
    ambients_.AddProperty("MessageReflect", DISPID_AMBIENT_MESSAGEREFLECT,
                          [] { return Variant::Bool(false); });
    ambients_.AddProperty("ShowGrabHandles", DISPID_AMBIENT_SHOWGRABHANDLES,
                          [] { return Variant::Bool(false); });
    ambients_.AddProperty("ShowHatching", DISPID_AMBIENT_SHOWHATCHING, [] { return Variant::Bool(false); });
    ambients_.AddProperty("SupportsMnemonics", DISPID_AMBIENT_SUPPORTSMNEMONICS,
                          [] { return Variant::Bool(true); });
    ambients_.AddProperty("UIDead", DISPID_AMBIENT_UIDEAD, [] { return Variant::Bool(false); });
    ambients_.AddProperty("ScaleUnits", DISPID_AMBIENT_SCALEUNITS, [] { return Variant::String("Twip"); });
    ambients_.AddProperty("TextAlign", DISPID_AMBIENT_TEXTALIGN, [] { return Variant::Long(0); });
    ambients_.AddProperty("AutoClip", DISPID_AMBIENT_AUTOCLIP, [] { return Variant::Bool(true); });
    ambients_.AddProperty("Appearance", DISPID_AMBIENT_APPEARANCE, [] { return Variant::Long(1); });
}

void ControlSite::Attach(const std::string& classId, MemoryPropertyBag* bag, long left, long top, long width,
                         long height) {
    classId_ = classId;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    closed_ = false;
    // The control may ask for its extender while it initialises.
    extender_ = Extender::Create(this);
    try {
        BuiltinControl* builtin = nullptr;
        if (ComPtr<IDispatch> disp = CreateBuiltinControl(classId, &builtin)) {
            control_ = ComPtr<IUnknown>(disp.get());
            controlDisp_ = disp;
            AttachBuiltin(builtin, bag);
        } else {
            AttachOle(classId, bag);
        }
    } catch (...) {
        Close();
        throw;
    }
}

void ControlSite::AttachBuiltin(BuiltinControl* control, MemoryPropertyBag* bag) {
    builtin_ = control;
    builtin_->Load(bag);
    if (!builtin_->CreateWindowIn(ContainerWindow(), PixelRect(), form_))
        throw glim::Error(429, kSource, "Can't create the control's window");
}

void ControlSite::AttachOle(const std::string& classId, MemoryPropertyBag* bag) {
    const ComPtr<IClassFactory> factory = form_ ? form_->ClassFactory(classId) : nullptr;
    if (!factory || FAILED(factory->CreateInstance(nullptr, IID_IOleObject, ole_.put_void())))
        throw glim::Error(429, kSource, "ActiveX component can't create object: " + classId);
    control_ = ole_.As<IUnknown>();
    // The site comes first so that a new control can read the ambients.
    if (FAILED(ole_->SetClientSite(static_cast<IOleClientSite*>(this))))
        throw glim::Error(429, kSource, "The control refused its site");
    HRESULT hr = E_NOINTERFACE;
    if (auto persist = ole_.As<IPersistPropertyBag>()) {
        hr = bag ? persist->Load(static_cast<IPropertyBag*>(bag), nullptr) : persist->InitNew();
    } else if (auto stream = ole_.As<IPersistStreamInit>()) {
        hr = stream->InitNew();
    } else if (!bag) {
        hr = S_OK;
    }
    if (FAILED(hr)) throw glim::Error(hr, kSource, "The control could not load its properties");

    if (auto points = ole_.As<IConnectionPointContainer>()) {
        if (SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, notifyPoint_.put()))) {
            if (FAILED(notifyPoint_->Advise(static_cast<IPropertyNotifySink*>(this), &notifyCookie_)))
                notifyPoint_.reset();
        }
    }
    events_ = EventSink::Create();
    if (events_->Connect(control_.get()))
        events_->Watch(observer_);
    else
        events_.reset();
    controlDisp_ = ole_.As<IDispatch>();

    SIZEL size{ToHimetric(width_), ToHimetric(height_)};
    ole_->SetExtent(DVASPECT_CONTENT, &size);
    RECT pos = PixelRect();
    hr = ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0,
                      ContainerWindow(), &pos);
    if (FAILED(hr)) throw glim::Error(hr, kSource, "The control could not be activated");
    inPlace_ = ole_.As<IOleInPlaceObject>();
}

void ControlSite::Close() {
    if (closed_) return;
    // Kept until the end: the control's Close may call back into the site.
    ComPtr<ControlSite> keep(this);
    Teardown();
}

void ControlSite::Teardown() {
    if (closed_) return;
    closed_ = true;
    if (events_) events_->Disconnect();
    if (notifyPoint_ && notifyCookie_) notifyPoint_->Unadvise(notifyCookie_);
    notifyPoint_.reset();
    notifyCookie_ = 0;
    if (ole_) {
        if (inPlace_) inPlace_->InPlaceDeactivate();
        ole_->Close(OLECLOSE_NOSAVE);
        ole_->SetClientSite(nullptr);
    }
    if (builtin_) builtin_->DestroyWindowNow();
    if (extender_) extender_->Detach();
    inPlace_.reset();
    ole_.reset();
    controlDisp_.reset();
    builtin_ = nullptr;
    control_.reset();
    events_.reset();
    form_ = nullptr;
    container_ = nullptr;
}

void ControlSite::UIDeactivate() {
    if (inPlace_) inPlace_->UIDeactivate();
}

ComPtr<ITypeInfo> ControlSite::ClassInfo() const {
    ComPtr<ITypeInfo> info;
    if (!control_) return info;
    if (auto pci = control_.As<IProvideClassInfo>()) pci->GetClassInfo(info.put());
    return info;
}

std::string ControlSite::TypeName() const {
    if (builtin_) return builtin_->TypeName();
    return NameOfTypeInfo(ClassInfo().get());
}

HWND ControlSite::Window() const {
    if (builtin_) return builtin_->Window();
    HWND hwnd = nullptr;
    if (inPlace_) inPlace_->GetWindow(&hwnd);
    return hwnd;
}

HWND ControlSite::ContainerWindow() const {
    if (container_) {
        if (HWND hwnd = container_->Window()) return hwnd;
    }
    return form_ ? form_->hWnd() : nullptr;
}

bool ControlSite::Owns(HWND hwnd) const {
    HWND mine = Window();
    return mine && hwnd && (hwnd == mine || IsChild(mine, hwnd));
}

RECT ControlSite::PixelRect() const {
    const long l = HostForm::ToPixelsX(left_), t = HostForm::ToPixelsY(top_);
    return RECT{l, t, l + HostForm::ToPixelsX(width_), t + HostForm::ToPixelsY(height_)};
}

void ControlSite::Move(long left, long top, long width, long height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    // A control that resizes itself while being resized asks again: apply
    // the latest request once the current one has gone through.
    if (moving_) {
        movePending_ = true;
        return;
    }
    moving_ = true;
    for (int i = 0; i < 4; ++i) {
        movePending_ = false;
        ApplyPosition();
        if (!movePending_) break;
    }
    moving_ = false;
}

void ControlSite::ApplyPosition() {
    if (closed_) return;
    const RECT pos = PixelRect();
    if (builtin_) {
        MoveWindow(builtin_->Window(), pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, TRUE);
        return;
    }
    if (!ole_) return;
    SIZEL size{ToHimetric(width_), ToHimetric(height_)};
    ole_->SetExtent(DVASPECT_CONTENT, &size);
    if (inPlace_) {
        RECT clip;
        GetClientRect(ContainerWindow(), &clip);
        inPlace_->SetObjectRects(&pos, &clip);
    }
}

void ControlSite::SetVisible(bool visible) {
    visible_ = visible;
    if (HWND hwnd = Window()) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool ControlSite::Enabled() const {
    HWND hwnd = Window();
    return !hwnd || IsWindowEnabled(hwnd);
}

void ControlSite::SetEnabled(bool enabled) {
    if (HWND hwnd = Window()) EnableWindow(hwnd, enabled);
}

void ControlSite::SetDefault(bool isDefault) {
    if (isDefault_ == isDefault) return;
    isDefault_ = isDefault;
    AmbientChanged(DISPID_AMBIENT_DISPLAYASDEFAULT);
}

bool ControlSite::CanFocus() const {
    if (closed_ || !tabStop_) return false;
    HWND hwnd = Window();
    if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return false;
    if (builtin_) return builtin_->TakesFocus();
    DWORD status = 0;
    if (ole_ && SUCCEEDED(ole_->GetMiscStatus(DVASPECT_CONTENT, &status)) &&
        (status & (OLEMISC_ACTSLIKELABEL | OLEMISC_NOUIACTIVATE)))
        return false;
    return true;
}

bool ControlSite::Focus() {
    HWND hwnd = Window();
    if (!hwnd) return false;
    if (ole_) {
        RECT pos = PixelRect();
        ole_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, ContainerWindow(),
                     &pos);
    }
    if (!Owns(GetFocus())) ::SetFocus(hwnd);
    return Owns(GetFocus());
}

bool ControlSite::TranslateActive(MSG& msg) {
    if (!control_ || builtin_) return false;
    auto active = control_.As<IOleInPlaceActiveObject>();
    return active && active->TranslateAccelerator(&msg) == S_OK;
}

bool ControlSite::TranslateMnemonic(MSG& msg) {
    if (!control_ || builtin_ || !visible_ || !Enabled()) return false;
    auto control = control_.As<IOleControl>();
    if (!control) return false;
    CONTROLINFO info{};
    info.cb = sizeof info;
    if (FAILED(control->GetControlInfo(&info)) || !info.hAccel || info.cAccel == 0) return false;
    std::vector<ACCEL> table(info.cAccel);
    const int n = CopyAcceleratorTableA(info.hAccel, table.data(), static_cast<int>(table.size()));
    for (int i = 0; i < n; ++i) {
        if (AccelMatches(table[static_cast<size_t>(i)], msg)) {
            control->OnMnemonic(&msg);
            return true;
        }
    }
    return false;
}

void ControlSite::AmbientChanged(DISPID id) {
    if (!control_ || builtin_) return;
    if (auto control = control_.As<IOleControl>()) control->OnAmbientPropertyChange(id);
}

void ControlSite::Save(MemoryPropertyBag* bag) const {
    if (builtin_) {
        builtin_->Save(bag);
        return;
    }
    auto persist = control_.As<IPersistPropertyBag>();
    if (!persist) return;
    const HRESULT hr = persist->Save(static_cast<IPropertyBag*>(bag), TRUE, TRUE);
    if (FAILED(hr)) throw glim::Error(hr, kSource, "The control " + name_ + " could not save its properties");
}

STDMETHODIMP ControlSite::GetMoniker(DWORD, DWORD, IMoniker** mk) {
    if (mk) *mk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ControlSite::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = ContainerWindow();
    return *hwnd ? S_OK : E_FAIL;
}

STDMETHODIMP ControlSite::OnUIActivate() {
    if (form_) form_->OnSiteUIActivate(this);
    return S_OK;
}

STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = form_ ? form_->Frame().Detach() : nullptr;
    *doc = nullptr;
    *pos = PixelRect();
    GetClientRect(ContainerWindow(), clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = form_ ? form_->hWnd() : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return *frame ? S_OK : E_FAIL;
}

STDMETHODIMP ControlSite::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    const double tx = HostForm::TwipsPerPixelX(), ty = HostForm::TwipsPerPixelY();
    Move(std::lround(pos->left * tx), std::lround(pos->top * ty), std::lround((pos->right - pos->left) * tx),
         std::lround((pos->bottom - pos->top) * ty));
    return S_OK;
}

STDMETHODIMP ControlSite::GetExtendedControl(IDispatch** disp) {
    if (!disp) return E_POINTER;
    *disp = nullptr;
    if (!extender_) return E_NOTIMPL;
    *disp = static_cast<IDispatch*>(extender_.get());
    (*disp)->AddRef();
    return S_OK;
}

// Container units are twips.
STDMETHODIMP ControlSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
    if (!himetric || !container) return E_POINTER;
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = static_cast<float>(himetric->x * 1440.0 / 2540.0);
        container->y = static_cast<float>(himetric->y * 1440.0 / 2540.0);
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = std::lround(container->x * 2540.0 / 1440.0);
        himetric->y = std::lround(container->y * 2540.0 / 1440.0);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP ControlSite::TranslateAccelerator(MSG* msg, DWORD modifiers) {
    if (!msg || !form_) return S_FALSE;
    return form_->HandleContainerKey(*msg, modifiers) ? S_OK : S_FALSE;
}

STDMETHODIMP ControlSite::OnFocus(BOOL got) {
    if (got && form_) form_->OnSiteUIActivate(this);
    return S_OK;
}

STDMETHODIMP ControlSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ControlSite::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_POINTER;
    HRESULT hr = ambients_.FindId(names[0], &ids[0]) ? S_OK : DISP_E_UNKNOWNNAME;
    if (FAILED(hr)) ids[0] = DISPID_UNKNOWN;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* info, UINT*) {
    if (result) VariantInit(result);
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    return ambients_.Invoke(id, DISPATCH_PROPERTYGET, params, result, info);
}

void ControlSite::Watch(SiteObserver* observer) {
    observer_ = observer;
    if (events_) events_->Watch(observer);
}

STDMETHODIMP ControlSite::OnChanged(DISPID id) {
    if (observer_) observer_->PropertyChanged(id);
    return S_OK;
}

} // namespace glim::host
