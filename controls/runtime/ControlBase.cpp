#include "ControlBase.h"
#include "KeyModifiers.h"

#include "Conversions.h"
#include "DisplayCache.h"
#include "Fonts.h"
#include "LateBound.h"
#include "ModuleLocks.h"
#include "Pictures.h"
#include "Screen.h"
#include "Text.h"

#include <utility>

namespace glim {

namespace {

const char kParkingClass[] = "GlimParkingWindow";
// Posted to the parking window: lParam is a control whose last reference
// went inside an event it raised itself; the message holds one reference.
const UINT kDeferredRelease = WM_APP + 1;
thread_local HWND t_parking = nullptr; // hidden parent of controls not in place
// Every control of this thread alive, parked or in place: the parking window
// also takes deferred releases and display broadcasts, so it goes with the last.
thread_local long t_liveControls = 0;

LRESULT CALLBACK ParkingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kDeferredRelease) {
        reinterpret_cast<ControlBase*>(lp)->Unknown()->Release();
        return 0;
    }
    // A top-level window on every thread with controls: it hears the
    // broadcasts that make the kept screen size and resolution stale.
    if (msg == WM_DISPLAYCHANGE || msg == WM_SETTINGCHANGE) ForgetDisplayMetrics();
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// Each access key with the virtual key that types it.  A double-byte
// character has no key on the keyboard; taken byte by byte, its trail byte
// could pass for a letter and steal that letter's Alt key.
std::vector<std::pair<char, BYTE>> KeyScans(const std::string& keys) {
    std::vector<std::pair<char, BYTE>> out;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(keys[i]))) {
            ++i;
            continue;
        }
        const SHORT scan = VkKeyScanA(keys[i]);
        if (scan != -1) out.emplace_back(keys[i], LOBYTE(scan));
    }
    return out;
}

HWND ParkingWindow() {
    if (!t_parking) {
        WNDCLASSEXA wc{};
        if (!GetClassInfoExA(ModuleHandle(), kParkingClass, &wc)) {
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = ParkingProc;
            wc.hInstance = ModuleHandle();
            wc.lpszClassName = kParkingClass;
            RegisterClassExA(&wc);
        }
        t_parking = CreateWindowExA(WS_EX_TOOLWINDOW, kParkingClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, ModuleHandle(), nullptr);
    }
    return t_parking;
}

SIZEL PixelsToExtent(int w, int h) {
    return SIZEL{PixelsToHimetricX(w), PixelsToHimetricY(h)};
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

ControlBase::ControlBase(const ControlClass& cls)
    : cls_(cls), desc_(DescriptionOf(cls)), store_(desc_), events_(Unknown(), this, *cls.eventsIid),
      propertyNotify_(Unknown(), this, IID_IPropertyNotifySink) {
    LockModule();
    ++t_liveControls;
}

ControlBase::~ControlBase() {
    DestroySurfaceWindow();
    if (--t_liveControls == 0 && t_parking) {
        DestroyWindow(t_parking);
        t_parking = nullptr;
    }
    UnlockModule();
}

void ControlBase::Create() {
    // A temporary count keeps handlers that take references from ending us.
    refs_ = 1;
    AttachBindings();
    const RECT r{0, 0, cls_.initialPixels.cx, cls_.initialPixels.cy};
    CreateSurfaceWindow(WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP,
                        ParkingWindow(), r);
    extent_ = PixelsToExtent(r.right, r.bottom);
    OnInitialize();
    refs_ = 0;
}

ULONG ControlBase::InternalAddRef() {
    return ++refs_;
}

ULONG ControlBase::InternalRelease() {
    const ULONG r = --refs_;
    if (r != 0 || terminated_) return r;
    // Inside a message or event of ours: the outermost one ends us.
    if (Held())
        terminatePending_ = true;
    else
        Terminate();
    return r;
}

void ControlBase::OnLastHold(bool event) {
    if (!terminatePending_ || terminated_) return;
    terminatePending_ = false;
    if (refs_ != 0) return; // someone took a reference again
    // Our own code still runs after an event it raised: the message loop
    // ends us, holding a reference until then.
    if (event && PostMessageA(ParkingWindow(), kDeferredRelease, 0, reinterpret_cast<LPARAM>(this))) {
        refs_ = 1;
        return;
    }
    Terminate();
}

void ControlBase::Terminate() {
    terminated_ = true;
    refs_ = 1; // references taken and dropped while ending must not end us twice
    try {
        OnTerminate();
    } catch (...) {
    }
    InPlaceDeactivate();
    events_.Clear();
    propertyNotify_.Clear();
    viewSink_.reset();
    adviseHolder_.reset();
    site_.reset();
    controlSite_.reset();
    ambient_.reset();
    dualInfo_.reset();
    DestroySurfaceWindow();
    delete this;
}

void* ControlBase::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IOleObject) return static_cast<IOleObject*>(this);
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) return static_cast<IOleInPlaceObject*>(this);
    if (iid == IID_IOleInPlaceActiveObject) return static_cast<IOleInPlaceActiveObject*>(this);
    if (iid == IID_IOleControl) return static_cast<IOleControl*>(this);
    if (iid == IID_IViewObject || iid == IID_IViewObject2) return static_cast<IViewObject2*>(this);
    if (iid == IID_IPersistStreamInit) return static_cast<IPersistStreamInit*>(this);
    if (iid == IID_IPersist || iid == IID_IPersistPropertyBag) return static_cast<IPersistPropertyBag*>(this);
    if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
        return static_cast<IProvideClassInfo2*>(this);
    if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    if (iid == IID_ISpecifyPropertyPages && cls_.propertyPage)
        return static_cast<ISpecifyPropertyPages*>(this);
    return nullptr;
}

// ---- ISpecifyPropertyPages ----

STDMETHODIMP ControlBase::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    if (!cls_.propertyPage) return S_OK;
    // The caller frees the list.
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    pages->pElems[0] = *cls_.propertyPage;
    pages->cElems = 1;
    return S_OK;
}

// ---- IOleObject ----

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site) {
    if (!site) {
        InPlaceDeactivate();
        site_.reset();
        controlSite_.reset();
        ambient_.reset();
        return S_OK;
    }
    site_ = site;
    controlSite_ = site_.As<IOleControlSite>();
    ambient_ = site_.As<IDispatch>();
    return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site) {
    return site_.CopyTo(site);
}

STDMETHODIMP ControlBase::Close(DWORD) {
    InPlaceDeactivate();
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
    if (!site_ && site) SetClientSite(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(verb);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (hWnd()) ShowWindow(hWnd(), SW_HIDE);
        return S_OK;
    default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

HRESULT ControlBase::InPlaceActivate(LONG verb) {
    if (!site_) return E_UNEXPECTED;
    if (!inPlaceActive_) {
        ComPtr<IOleInPlaceSite> ips = site_.As<IOleInPlaceSite>();
        if (!ips) return E_NOINTERFACE;
        if (ips->CanInPlaceActivate() != S_OK) return E_FAIL;
        ips->OnInPlaceActivate();
        inPlaceSite_ = ips;
        inPlaceActive_ = true;
        HWND parent = nullptr;
        ips->GetWindow(&parent);
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        ips->GetWindowContext(frame_.put(), uiWindow_.put(), &pos, &clip, &info);
        if (parent) SetParent(hWnd(), parent);
        // Placed and shown in one move: each is a round trip to the server.
        if (pos.right > pos.left && pos.bottom > pos.top) {
            SetWindowPos(hWnd(), nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            extent_ = PixelsToExtent(pos.right - pos.left, pos.bottom - pos.top);
        } else {
            ShowWindow(hWnd(), SW_SHOWNA);
        }
    }
    if (verb == OLEIVERB_UIACTIVATE && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
        if (uiWindow_) uiWindow_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
        if (GetFocus() != hWnd()) SetFocus(hWnd());
    }
    return S_OK;
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** e) {
    return OleRegEnumVerbs(*cls_.clsid, e);
}

STDMETHODIMP ControlBase::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *cls_.clsid;
    return S_OK;
}

STDMETHODIMP ControlBase::GetUserType(DWORD, LPOLESTR*) {
    return OLE_S_USEREG;
}

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    const int w = HimetricToPixelsX(size->cx), h = HimetricToPixelsY(size->cy);
    return ComCall(IID_IOleObject, [&] {
        SetWindowPos(hWnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(adviseHolder_.put()))) return E_OUTOFMEMORY;
    return adviseHolder_->Advise(sink, cookie);
}

STDMETHODIMP ControlBase::Unadvise(DWORD cookie) {
    return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ControlBase::EnumAdvise(IEnumSTATDATA** e) {
    if (!e) return E_POINTER;
    *e = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(e) : S_OK;
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = cls_.miscStatus;
    return S_OK;
}

// ---- in place ----

STDMETHODIMP ControlBase::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = hWnd();
    return hWnd() ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::InPlaceDeactivate() {
    if (!inPlaceActive_) return S_OK;
    UIDeactivate();
    inPlaceActive_ = false;
    if (hWnd()) {
        ShowWindow(hWnd(), SW_HIDE);
        SetParent(hWnd(), ParkingWindow());
    }
    ComPtr<IOleInPlaceSite> ips = inPlaceSite_;
    inPlaceSite_.reset();
    frame_.reset();
    uiWindow_.reset();
    if (ips) ips->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ControlBase::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    extent_ = PixelsToExtent(pos->right - pos->left, pos->bottom - pos->top);
    return ComCall(IID_IOleInPlaceObject, [&] {
        SetWindowPos(hWnd(), nullptr, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

void ControlBase::OnFocusMessage(bool gained) {
    if (gained) {
        if (inPlaceActive_ && !uiActive_) {
            uiActive_ = true;
            inPlaceSite_->OnUIActivate();
            if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
        }
        if (controlSite_) controlSite_->OnFocus(TRUE);
        OnGotFocus();
    } else {
        if (controlSite_) controlSite_->OnFocus(FALSE);
        OnLostFocus();
    }
}

// ---- IOleControl ----

STDMETHODIMP ControlBase::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    if (info->cb < sizeof(CONTROLINFO)) return E_INVALIDARG;
    info->hAccel = accel_.get();
    info->cAccel = static_cast<USHORT>(KeyScans(accessKeys_).size());
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::OnMnemonic(MSG* msg) {
    if (!msg) return E_POINTER;
    for (const auto& [c, vk] : KeyScans(accessKeys_)) {
        if (vk == static_cast<BYTE>(msg->wParam))
            return Member([&] { OnAccessKeyPress(static_cast<short>(static_cast<unsigned char>(c))); });
    }
    return S_OK;
}

STDMETHODIMP ControlBase::OnAmbientPropertyChange(DISPID id) {
    return ComCall(IID_IOleControl, [&] { OnAmbientChanged(id); });
}

STDMETHODIMP ControlBase::FreezeEvents(BOOL freeze) {
    if (freeze)
        ++freezeCount_;
    else if (freezeCount_ > 0)
        --freezeCount_;
    return S_OK;
}

void ControlBase::SetAccessKeys(const std::string& keys) {
    accessKeys_ = keys;
    RebuildAccelerators();
    if (controlSite_) controlSite_->OnControlInfoChanged();
}

void ControlBase::RebuildAccelerators() {
    accel_.reset();
    std::vector<ACCEL> table;
    for (const auto& [c, vk] : KeyScans(accessKeys_))
        table.push_back(ACCEL{FALT | FVIRTKEY, vk, static_cast<WORD>(static_cast<unsigned char>(c))});
    if (!table.empty()) accel_.reset(CreateAcceleratorTableA(table.data(), static_cast<int>(table.size())));
}

// ---- IViewObject2 ----

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds,
                               LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!hdcDraw || !bounds) return E_INVALIDARG;
    const Surface& s = Canvas();
    SetStretchBltMode(hdcDraw, COLORONCOLOR);
    StretchBlt(hdcDraw, bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top,
               s.hDC(), 0, 0, s.PixelWidth(), s.PixelHeight(), SRCCOPY);
    return S_OK;
}

STDMETHODIMP ControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = sink;
    return S_OK;
}

STDMETHODIMP ControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) viewSink_.CopyTo(sink);
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

void ControlBase::NotifyViewChange() {
    if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

// ---- services ----

long ControlBase::Width() const {
    RECT r{};
    GetWindowRect(hWnd(), &r);
    return (r.right - r.left) * TwipsPerPixelX();
}

long ControlBase::Height() const {
    RECT r{};
    GetWindowRect(hWnd(), &r);
    return (r.bottom - r.top) * TwipsPerPixelY();
}

void ControlBase::SetSize(long widthTwips, long heightTwips) {
    if (widthTwips < 0 || heightTwips < 0) RaiseError(kErrInvalidPropertyValue);
    const long w = RoundToLong(static_cast<double>(widthTwips) / TwipsPerPixelX());
    const long h = RoundToLong(static_cast<double>(heightTwips) / TwipsPerPixelY());
    extent_ = PixelsToExtent(w, h);
    RECT r = RectInParent(hWnd());
    r.right = r.left + w;
    r.bottom = r.top + h;
    // The container places us; it answers with SetObjectRects.
    if (inPlaceSite_) inPlaceSite_->OnPosRectChange(&r);
    RECT now{};
    GetWindowRect(hWnd(), &now);
    if (now.right - now.left != w || now.bottom - now.top != h)
        SetWindowPos(hWnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    NotifyViewChange();
}

void ControlBase::KeepSize(long widthTwips, long heightTwips) {
    if (keepingSize_) return;
    keepingSize_ = true;
    try {
        SetSize(widthTwips, heightTwips);
    } catch (...) {
        keepingSize_ = false;
        throw;
    }
    keepingSize_ = false;
}

Variant ControlBase::Ambient(DISPID id) const {
    // A container without the ambient property leaves the control its default.
    if (!ambient_) return Variant();
    try {
        return GetProperty(ambient_.get(), id);
    } catch (const Error&) {
        return Variant();
    }
}

bool ControlBase::AmbientUserMode() const {
    Variant v = Ambient(DISPID_AMBIENT_USERMODE);
    return v.vt() == VT_EMPTY ? true : ToBool(*v);
}

ComPtr<IFontDisp> ControlBase::AmbientFont() const {
    Variant v = Ambient(DISPID_AMBIENT_FONT);
    ComPtr<IFontDisp> font;
    if ((v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN) && V_UNKNOWN(v.get()))
        V_UNKNOWN(v.get())->QueryInterface(IID_IFontDisp, font.put_void());
    return font ? font : DefaultGuiFont();
}

std::string ControlBase::AmbientDisplayName() const {
    Variant v = Ambient(DISPID_AMBIENT_DISPLAYNAME);
    return v.vt() == VT_EMPTY ? std::string(cls_.name) : ToText(*v);
}

bool ControlBase::AmbientDisplayAsDefault() const {
    Variant v = Ambient(DISPID_AMBIENT_DISPLAYASDEFAULT);
    return v.vt() == VT_EMPTY ? false : ToBool(*v);
}

OLE_COLOR ControlBase::AmbientBackColor() const {
    Variant v = Ambient(DISPID_AMBIENT_BACKCOLOR);
    return v.vt() == VT_EMPTY ? 0x8000000F : static_cast<OLE_COLOR>(ToLong(*v));
}

OLE_COLOR ControlBase::AmbientForeColor() const {
    Variant v = Ambient(DISPID_AMBIENT_FORECOLOR);
    return v.vt() == VT_EMPTY ? 0x80000012 : static_cast<OLE_COLOR>(ToLong(*v));
}

bool ControlBase::TabToNextControl(bool forward) {
    if (!controlSite_ || !hWnd()) return false;
    MSG msg{};
    msg.hwnd = hWnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    msg.lParam = 1;
    msg.time = GetMessageTime();
    ComPtr<IOleControlSite> site = controlSite_; // the focus move may run anything
    return site->TranslateAccelerator(&msg, forward ? 0 : kKeyModShift) == S_OK;
}

ComPtr<IDispatch> ControlBase::Extender() const {
    ComPtr<IDispatch> ext;
    if (controlSite_) controlSite_->GetExtendedControl(ext.put());
    return ext;
}

Variant ControlBase::ExtenderProperty(const char* name) const {
    if (ComPtr<IDispatch> ext = Extender()) return GetProperty(ext.get(), name);
    const std::string n = name;
    auto is = [&](const char* s) { return _stricmp(n.c_str(), s) == 0; };
    const RECT r = RectInParent(hWnd());
    if (is("Left")) return Variant::Long(r.left * TwipsPerPixelX());
    if (is("Top")) return Variant::Long(r.top * TwipsPerPixelY());
    if (is("Width")) return Variant::Long(Width());
    if (is("Height")) return Variant::Long(Height());
    if (is("Name")) return Variant::String(Widen(cls_.name).c_str());
    if (is("Parent")) return Variant::Object(nullptr);
    if (is("Object")) return Variant::Object(const_cast<ControlBase*>(this)->DefaultDispatch());
    RaiseError(kErrNotSupported);
}

ComPtr<IDispatch> ControlBase::ParentForm() const {
    return ObjectOf(*ExtenderProperty("Parent"));
}

HWND ControlBase::ContainerWindow() const {
    HWND w = nullptr;
    if (inPlaceSite_) inPlaceSite_->GetWindow(&w);
    if (!w) {
        w = GetParent(hWnd());
        if (w == t_parking) w = nullptr;
    }
    return w;
}

} // namespace glim
