#include "ControlBase.h"
#include "KeyModifiers.h"

#include "Conversions.h"
#include "DisplayCache.h"
#include "Fonts.h"
#include "LateBound.h"
#include "MemoryPropertyBag.h"
#include "ModuleLocks.h"
#include "OleColor.h"
#include "Pictures.h"
#include "Screen.h"
#include "Text.h"

#include <cctype>

namespace glim {

namespace {

const char kParkingClass[] = "GlimParkingWindow";
// Posted to the parking window: lParam is a control whose last reference
// went inside an event it raised itself; the message holds one reference.
const UINT kDeferredRelease = WM_APP + 1;
thread_local HWND t_parking = nullptr;  // hidden parent of controls not in place
thread_local long t_parkedControls = 0; // controls of this thread alive

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
    ++t_parkedControls;
}

ControlBase::~ControlBase() {
    DestroySurfaceWindow();
    if (--t_parkedControls == 0 && t_parking) {
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
    info->cAccel = static_cast<USHORT>(accessKeys_.size());
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::OnMnemonic(MSG* msg) {
    if (!msg) return E_POINTER;
    for (char c : accessKeys_) {
        const SHORT scan = VkKeyScanA(c);
        if (scan != -1 && LOBYTE(scan) == static_cast<BYTE>(msg->wParam)) {
            return Member([&] { OnAccessKeyPress(static_cast<short>(static_cast<unsigned char>(c))); });
        }
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
    for (char c : accessKeys_) {
        const SHORT scan = VkKeyScanA(c);
        if (scan == -1) continue;
        table.push_back(
            ACCEL{FALT | FVIRTKEY, LOBYTE(scan), static_cast<WORD>(static_cast<unsigned char>(c))});
    }
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

// ---- persistence ----

STDMETHODIMP ControlBase::GetClassID(CLSID* clsid) {
    return GetUserClassID(clsid);
}

STDMETHODIMP ControlBase::InitNew() {
    if (initialized_) return E_UNEXPECTED;
    initialized_ = true;
    return ComCall(IID_IPersistPropertyBag, [&] {
        ResetValues();
        OnInitProperties();
    });
}

STDMETHODIMP ControlBase::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    initialized_ = true;
    dirty_ = false;
    const PropertyBag pb(bag, log);
    return ComCall(IID_IPersistPropertyBag, [&] {
        LoadValues(pb);
        OnReadProperties(pb);
    });
}

STDMETHODIMP ControlBase::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    const PropertyBag pb(bag, nullptr);
    const HRESULT hr = ComCall(IID_IPersistPropertyBag, [&] {
        SaveValues(pb);
        OnWriteProperties(pb);
    });
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
}

STDMETHODIMP ControlBase::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    const HRESULT hr = bag->LoadFrom(stream);
    if (FAILED(hr)) return hr;
    initialized_ = true;
    dirty_ = false;
    const PropertyBag pb(bag.get(), nullptr);
    return ComCall(IID_IPersistStreamInit, [&] {
        LoadValues(pb);
        OnReadProperties(pb);
    });
}

STDMETHODIMP ControlBase::Save(LPSTREAM stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    const PropertyBag pb(bag.get(), nullptr);
    HRESULT hr = ComCall(IID_IPersistStreamInit, [&] {
        SaveValues(pb);
        OnWriteProperties(pb);
    });
    if (SUCCEEDED(hr)) hr = bag->SaveTo(stream);
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
}

// ---- class info and connection points ----

STDMETHODIMP ControlBase::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return cls_.typeInfo(*cls_.clsid, info);
}

STDMETHODIMP ControlBase::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = *cls_.eventsIid;
    return S_OK;
}

STDMETHODIMP ControlBase::EnumConnectionPoints(IEnumConnectionPoints** e) {
    return EnumPoints({&events_, &propertyNotify_}, e);
}

STDMETHODIMP ControlBase::FindConnectionPoint(REFIID iid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    if (iid == events_.Iid())
        *cp = &events_;
    else if (iid == IID_IPropertyNotifySink)
        *cp = &propertyNotify_;
    else
        return CONNECT_E_NOCONNECTION;
    (*cp)->AddRef();
    return S_OK;
}

// ---- dispatch ----

ITypeInfo* ControlBase::DualTypeInfo() {
    if (dualInfo_) return dualInfo_.get();
    ComPtr<ITypeInfo> info;
    if (!cls_.typeInfo || FAILED(cls_.typeInfo(*cls_.defaultIid, info.put())) || !info) return nullptr;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
    const TYPEKIND kind = attr->typekind;
    const WORD flags = attr->wTypeFlags;
    info->ReleaseTypeAttr(attr);
    // Invoke needs the vtable side of a dual interface.
    const int implIndex = kind == TKIND_DISPATCH && (flags & TYPEFLAG_FDUAL) ? -1
                          : kind == TKIND_COCLASS                            ? 0
                                                                             : -2;
    if (implIndex != -2) {
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> vtbl;
        if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(implIndex), &ref)) &&
            SUCCEEDED(info->GetRefTypeInfo(ref, vtbl.put())))
            info = vtbl;
    }
    dualInfo_ = info;
    return dualInfo_.get();
}

HRESULT ControlBase::DispGetTypeInfo(UINT index, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* ti = DualTypeInfo();
    if (!ti) return E_UNEXPECTED;
    ti->AddRef();
    *info = ti;
    return S_OK;
}

HRESULT ControlBase::DispGetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    ITypeInfo* ti = DualTypeInfo();
    if (!ti) return E_UNEXPECTED;
    return ::DispGetIDsOfNames(ti, names, count, ids);
}

HRESULT ControlBase::DispInvoke(void* dual, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* ei, UINT* argErr) {
    ITypeInfo* ti = DualTypeInfo();
    if (!ti) return E_UNEXPECTED;
    EXCEPINFO local{};
    EXCEPINFO* e = ei ? ei : &local;
    *e = EXCEPINFO{};
    UINT localArg = 0;
    InternalAddRef(); // a handler may drop the last outside reference
    SetErrorInfo(0, nullptr);
    HRESULT hr = ti->Invoke(dual, id, flags, params, result, e, argErr ? argErr : &localArg);
    if (FAILED(hr) && hr != DISP_E_EXCEPTION) {
        // A member that raised left its error info; callers of Invoke read EXCEPINFO.
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.put()) == S_OK && info) {
            info->GetSource(&e->bstrSource);
            info->GetDescription(&e->bstrDescription);
            e->scode = hr;
            hr = DISP_E_EXCEPTION;
        }
    } else if (hr == DISP_E_EXCEPTION && e->scode == 0 && e->wCode == 0) {
        e->scode = E_FAIL;
    }
    if (e == &local) {
        SysFreeString(local.bstrSource);
        SysFreeString(local.bstrDescription);
        SysFreeString(local.bstrHelpFile);
    }
    InternalRelease();
    return hr;
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

void ControlBase::PropertyChanged(const char* name) {
    DISPID id = DISPID_UNKNOWN;
    for (const typelib::Member& m : desc_.members)
        if (m.kind == typelib::MemberKind::Property && lstrcmpiA(m.name, name ? name : "") == 0) id = m.id;
    ITypeInfo* ti = id == DISPID_UNKNOWN ? DualTypeInfo() : nullptr;
    if (ti) {
        std::wstring w = Widen(name ? name : "");
        LPOLESTR names[] = {w.data()};
        if (FAILED(ti->GetIDsOfNames(names, 1, &id))) id = DISPID_UNKNOWN;
    }
    dirty_ = true;
    for (const ComPtr<IUnknown>& s : propertyNotify_.Sinks()) {
        ComPtr<IPropertyNotifySink> sink;
        if (SUCCEEDED(s->QueryInterface(IID_IPropertyNotifySink, sink.put_void()))) sink->OnChanged(id);
    }
}

Variant EventArg::Get() const {
    switch (vt_) {
    case VT_I2:
        return Variant::Integer(*static_cast<short*>(ref_));
    case VT_I4:
        return Variant::Long(*static_cast<long*>(ref_));
    case VT_R4:
        return Coerce(*Variant::Double(*static_cast<float*>(ref_)), VT_R4);
    case VT_R8:
        return Variant::Double(*static_cast<double*>(ref_));
    case VT_BOOL:
        return Variant::Bool(*static_cast<bool*>(ref_));
    default:
        return Variant::String(Widen(*static_cast<std::string*>(ref_)).c_str());
    }
}

void EventArg::Set(const VARIANT& v) const {
    switch (vt_) {
    case VT_I2:
        *static_cast<short*>(ref_) = ToShort(v);
        break;
    case VT_I4:
        *static_cast<long*>(ref_) = ToLong(v);
        break;
    case VT_R4:
        *static_cast<float*>(ref_) = V_R4(Coerce(v, VT_R4).get());
        break;
    case VT_R8:
        *static_cast<double*>(ref_) = ToDouble(v);
        break;
    case VT_BOOL:
        *static_cast<bool*>(ref_) = ToBool(v);
        break;
    default:
        *static_cast<std::string*>(ref_) = ToText(v);
        break;
    }
}

void ControlBase::RaiseEventArgs(DISPID id, std::span<EventArg> args) {
    const typelib::Event* ev = nullptr;
    for (const typelib::Event& e : desc_.events)
        if (e.id == id) ev = &e;
    // A control raising what it does not declare is a fault of the control.
    if (!ev || ev->params.size() != args.size()) RaiseError(kErrInvalidCall);
    if (freezeCount_ > 0) return;
    // Each argument as its declared type; by-reference ones point into these.
    std::vector<Variant> values;
    values.reserve(args.size());
    std::vector<VARIANT> passed(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        const typelib::Param& p = ev->params[i];
        const VARTYPE vt = typelib::VariantTypeOf(p.type.vt);
        values.push_back(vt == VT_VARIANT ? args[i].Get() : Coerce(*args[i].Get(), vt));
        VARIANT& a = passed[i];
        if (!p.byRef) {
            a = *values[i];
            continue;
        }
        V_VT(&a) = static_cast<VARTYPE>(vt | VT_BYREF);
        if (vt == VT_VARIANT)
            V_VARIANTREF(&a) = values[i].get();
        else
            V_BYREF(&a) = &V_UI1(values[i].get()); // every value starts where the union does
    }
    {
        Hold hold(*this, true); // a handler may drop the last outside reference
        events_.Fire(id, passed.data(), static_cast<unsigned>(passed.size()));
        for (size_t i = 0; i < args.size(); ++i)
            if (ev->params[i].byRef) args[i].Set(*values[i]);
    }
}

// ---- kept properties ----

Variant ControlBase::DefaultValue(const PropertyStore::Slot& s) {
    if (s.vt == VT_DISPATCH && (!s.persisted || s.persisted->dflt.from == typelib::DefaultFrom::Constant ||
                                s.persisted->dflt.from == typelib::DefaultFrom::Nothing))
        return Variant::Object(nullptr);
    if (!s.persisted) return s.vt == VT_VARIANT ? Variant() : Coerce(*Variant(), s.vt);
    const typelib::Default& d = s.persisted->dflt;
    switch (d.from) {
    case typelib::DefaultFrom::AmbientFont:
        return Variant::Object(AmbientFont().get());
    case typelib::DefaultFrom::AmbientBackColor:
        return Coerce(*Variant::Long(static_cast<long>(AmbientBackColor())), s.vt);
    case typelib::DefaultFrom::AmbientForeColor:
        return Coerce(*Variant::Long(static_cast<long>(AmbientForeColor())), s.vt);
    case typelib::DefaultFrom::AmbientDisplayName:
        return Coerce(*Variant::String(Widen(AmbientDisplayName()).c_str()), s.vt);
    case typelib::DefaultFrom::Nothing:
        return Variant();
    case typelib::DefaultFrom::SysColor:
        return Coerce(*Variant::Long(static_cast<long>(GetSysColor(static_cast<int>(d.number)))), s.vt);
    case typelib::DefaultFrom::Key:
        if (const PropertyStore::Slot* from = store_.FindKey(d.text); from) {
            Variant held = Read(*from);
            if (held.vt() != VT_EMPTY)
                return s.vt == VT_VARIANT || s.vt == VT_DISPATCH ? held : Coerce(*held, s.vt);
        }
        return s.vt == VT_DISPATCH ? Variant::Object(nullptr) : Coerce(*Variant(), s.vt);
    case typelib::DefaultFrom::Constant:
        break;
    }
    if (s.vt == VT_BSTR) return Variant::String(Widen(d.text ? d.text : "").c_str());
    if (s.vt != VT_VARIANT) return Coerce(*Variant::Double(d.number), s.vt);
    // A number kept as a variant takes the type its literal would: the
    // narrowest integer that holds it, else a double.
    if (d.number >= -2147483648.0 && d.number <= 2147483647.0 &&
        d.number == static_cast<double>(static_cast<long>(d.number)))
        return d.number >= -32768 && d.number <= 32767 ? Variant::Integer(static_cast<short>(d.number))
                                                       : Variant::Long(static_cast<long>(d.number));
    return Variant::Double(d.number);
}

namespace {

bool Named(const PropertyStore::Slot& s, const char* name) {
    return lstrcmpiA(s.name, name) == 0;
}

} // namespace

// Each row finds the slot of its member or key; every key starts from its
// default, as a control's values are before InitNew or Load.
void ControlBase::AttachBindings() {
    for (size_t row = 0; row < BindingCount(); ++row) {
        const char* name = BindingAt(row).name;
        PropertyStore::Slot* s = store_.Find(name);
        if (!s) s = store_.FindKey(name);
        if (!s) RaiseError(kErrNotSupported, std::string("No member or key for the binding ") + name);
        s->row = static_cast<int>(row);
    }
    for (PropertyStore::Slot& s : store_.Slots())
        if (s.persisted && s.row >= 0 && !BindingAt(s.row).windowKeeps) SetBound(s.row, *DefaultValue(s));
}

// The window keeps Enabled (by its standard identifier), the mouse pointer
// and icon, and answers hWnd; a row keeps the rest.
Variant ControlBase::Read(const PropertyStore::Slot& s) {
    Variant v;
    if (s.row >= 0 && !BindingAt(s.row).windowKeeps)
        v = GetBound(s.row, s.vt);
    else if (s.id == DISPID_ENABLED)
        v = Variant::Bool(Enabled());
    else if (Named(s, "MousePointer"))
        v = Variant::Integer(MousePointer());
    else if (Named(s, "MouseIcon"))
        v = Variant::Object(MouseIcon());
    else if (Named(s, "hWnd"))
        v = Variant::Long(static_cast<long>(reinterpret_cast<LONG_PTR>(hWnd())));
    else
        RaiseError(kErrNotSupported);
    if (s.vt == VT_VARIANT || s.vt == VT_DISPATCH || v.vt() == s.vt) return v;
    return Coerce(*v, s.vt);
}

// Stores a value converted to its slot's type, first letting the standard
// members act on it (a refused mouse pointer leaves the old value).
void ControlBase::Keep(PropertyStore::Slot& s, const VARIANT& value) {
    const Variant v = s.vt == VT_VARIANT ? Variant(value) : Coerce(value, s.vt);
    // Enabled by its standard identifier: a control's own Enabled leaves the window alone.
    if (s.id == DISPID_ENABLED)
        SetEnabled(ToBool(*v));
    else if (Named(s, "MousePointer"))
        SetMousePointer(ToShort(*v));
    else if (Named(s, "MouseIcon"))
        SetMouseIcon(ObjectAs<IPictureDisp>(*v).get()); // Nothing clears it
    if (s.row >= 0) SetBound(s.row, *v);
}

void ControlBase::ResetValues() {
    for (PropertyStore::Slot& s : store_.Slots())
        if (s.persisted) Keep(s, *DefaultValue(s));
}

void ControlBase::LoadValues(const PropertyBag& bag) {
    for (size_t i : store_.ReadingOrder()) {
        PropertyStore::Slot& s = store_.Slots()[i];
        Variant v = bag.Read(PersistedKey{s.persisted->key, s.vt}, *DefaultValue(s));
        // A colour no put would take (an older build's, or written by hand)
        // loads as the default rather than failing the whole form.
        if (Refused(s, *v)) v = DefaultValue(s);
        Keep(s, *v);
        // A key its row loads as a put: what the put does and tells comes too.
        const unsigned flags = s.row >= 0 ? BindingAt(s.row).flags : 0;
        if (!(flags & kLoadsAsPut)) continue;
        AfterBound(s.row);
        if (!(flags & kQuiet)) Tell(s);
    }
}

void ControlBase::SaveValues(const PropertyBag& bag) {
    for (PropertyStore::Slot& s : store_.Slots()) {
        if (!s.persisted || s.persisted->readOnly) continue;
        const PersistedKey key{s.persisted->key, s.vt};
        // A key whose default is its own value has nothing to be left out for.
        const typelib::Default& d = s.persisted->dflt;
        if (s.persisted->always ||
            (d.from == typelib::DefaultFrom::Key && lstrcmpiA(d.text, s.persisted->key) == 0))
            bag.Write(key, *Read(s));
        else
            bag.Write(key, *Read(s), *DefaultValue(s));
    }
}

HRESULT ControlBase::GetStored(DISPID id, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Member([&] {
        PropertyStore::Slot& s = store_.Get(id);
        Variant v = Read(s);
        // A value kept narrower than its member (a skin index as 16 bits) goes out as the member's type.
        const VARTYPE memberVt = s.member ? typelib::VariantTypeOf(s.member->type.vt) : s.vt;
        if (memberVt != v.vt() && memberVt != VT_VARIANT && memberVt != VT_DISPATCH) v = Coerce(*v, memberVt);
        v.Detach(value);
    });
}

HRESULT ControlBase::PutStored(DISPID id, const VARIANT& value) {
    return Member([&] { PutKept(store_.Get(id), value); });
}

void ControlBase::PutMember(DISPID id, const VARIANT& value) {
    Hold hold(*this);
    PutKept(store_.Get(id), value);
}

// Nothing is stored, told or redrawn for a value the control refuses.
void ControlBase::PutKept(PropertyStore::Slot& s, const VARIANT& value) {
    if (s.row < 0) RaiseError(kErrNotSupported);
    const unsigned flags = BindingAt(s.row).flags;
    CheckBound(s.row, value);
    const Variant v = s.vt == VT_VARIANT ? Variant(value) : Coerce(value, s.vt);
    if (Refused(s, *v)) RaiseError(kErrInvalidPropertyValue);
    Keep(s, *v);
    const bool tell = !(flags & kQuiet);
    if (tell && (flags & kTellFirst)) Tell(s);
    AfterBound(s.row);
    if (tell && !(flags & kTellFirst)) Tell(s);
}

// Only colours the platform can translate are kept, so none is ever shown,
// saved or refused later by a paint.
bool ControlBase::Refused(const PropertyStore::Slot& s, const VARIANT& value) {
    return s.row >= 0 && BindingAt(s.row).colour && !TranslateColor(static_cast<OLE_COLOR>(ToLong(value)));
}

void ControlBase::Tell(const PropertyStore::Slot& s) {
    PropertyChanged(s.persisted && s.persisted->notifyKey ? s.persisted->key : s.name);
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
