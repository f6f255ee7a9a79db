#include "TestControl.h"
#include "KeyModifiers.h"

#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchTable.h"
#include "LateBound.h"
#include "Text.h"
#include "TypeNameInfo.h"

#include <olectl.h>

using namespace glim::host;
using glim::ComObject;
using glim::ComPtr;
using glim::GetProperty;
using glim::Narrow;
using glim::PutProperty;
using glim::Variant;

namespace hosttest {

const CLSID CLSID_Probe = {0x6f1c2d3e, 0x4a5b, 0x4c6d, {0x8e, 0x9f, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f}};
const IID DIID_ProbeEvents = {0x6f1c2d3e, 0x4a5b, 0x4c6d, {0x8e, 0x9f, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x60}};
const char* const kProbeClsid = "{6F1C2D3E-4A5B-4C6D-8E9F-0A1B2C3D4E5F}";
const char* const kProbeProgId = "HostTest.Probe";

ProbeLog& Log() {
    static ProbeLog log;
    return log;
}

namespace {

// One connection point: a list of advised sinks.
class Point : public ComObject<Point, IConnectionPoint> {
  public:
    Point(IConnectionPointContainer* owner, const IID& iid) : owner_(owner), iid_(iid) {}
    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IConnectionPoint ? static_cast<IConnectionPoint*>(this)
                                                                  : nullptr;
    }
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
        *iid = iid_;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** c) override {
        *c = owner_;
        owner_->AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        ComPtr<IUnknown> s;
        if (FAILED(sink->QueryInterface(iid_, s.put_void()))) return CONNECT_E_CANNOTCONNECT;
        sinks_.push_back(s);
        *cookie = static_cast<DWORD>(sinks_.size());
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
        if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
        sinks_[cookie - 1].reset();
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
    std::vector<ComPtr<IUnknown>> Sinks() const { return sinks_; }
    void Drop() { owner_ = nullptr; }

  private:
    IConnectionPointContainer* owner_; // uncounted: the control owns its points
    IID iid_;
    std::vector<ComPtr<IUnknown>> sinks_;
};

class Probe
    : public ComObject<Probe, IDispatch, IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IOleControl,
                       IPersistPropertyBag, IConnectionPointContainer, IProvideClassInfo2> {
  public:
    Probe() {
        ++Log().alive;
        events_ = ComPtr<Point>(new Point(this, DIID_ProbeEvents));
        notify_ = ComPtr<Point>(new Point(this, IID_IPropertyNotifySink));
        ACCEL accel{FALT | FVIRTKEY, 'K', 1};
        accel_ = CreateAcceleratorTableA(&accel, 1);
        table_.AddProperty(
            "Caption", kProbeCaption, [this] { return Variant::String(caption_); },
            [this](const Variant& v) {
                caption_ = v.ToText();
                Changed(kProbeCaption);
            });
        table_.AddProperty(
            "Style", kProbeStyle, [this] { return Variant::Long(style_); },
            [this](const Variant& v) {
                style_ = v.ToLong();
                Changed(kProbeStyle);
            });
        table_.AddProperty("hWnd", DISPID_HWND, [this] { return Variant::Handle(hwnd_); });
        table_.AddProperty("InitUserMode", 10, [this] { return initUserMode_; });
        table_.AddProperty("InitDisplayName", 11, [this] { return initDisplayName_; });
        table_.AddProperty("InitFontName", 12, [this] { return initFontName_; });
        table_.AddProperty("InitBackColor", 13, [this] { return initBackColor_; });
        table_.AddProperty("AmbientChanges", 14,
                           [this] { return Variant::Long(static_cast<long>(ambientChanges_.size())); });
        table_.AddProperty("LastAmbientChange", 15, [this] {
            return Variant::Long(ambientChanges_.empty() ? 0 : ambientChanges_.back());
        });
        table_.AddProperty("SeenBackColor", 16, [this] { return seenBackColor_; });
        table_.AddProperty("Mnemonics", 17, [this] { return Variant::Long(mnemonics_); });
        table_.AddProperty("F2Count", 18, [this] { return Variant::Long(f2_); });
        table_.AddProperty("LastKey", 19, [this] { return Variant::Long(lastKey_); });
        table_.AddProperty("ExtentCx", 20, [this] { return Variant::Long(extent_.cx); });
        table_.AddProperty("ExtentCy", 21, [this] { return Variant::Long(extent_.cy); });
        table_.AddMethod("Ambient", 22,
                         [this](const DispArgs& args) { return Ambient(args.Get(0).ToLong()); });
        table_.AddMethod("FireKeyPress", 23, [this](const DispArgs& args) {
            return Variant::Long(FireKeyPress(static_cast<short>(args.Get(0).ToLong())));
        });
        table_.AddProperty("ExtenderName", 24, [this] {
            ComPtr<IDispatch> ext = Extender();
            return ext ? GetProperty(ext.get(), "Name") : Variant();
        });
        table_.AddProperty("InitFontSize", 25, [this] { return initFontSize_; });
        // A control that keeps its own height, as a fixed-size toggle does.
        table_.AddProperty(
            "FixedHeight", 26, [this] { return Variant::Long(fixedHeight_); },
            [this](const Variant& v) { fixedHeight_ = v.ToLong(); });
        table_.AddMethod("RequestRect", 27, [this](const DispArgs& args) {
            RECT rc{args.Get(0).ToLong(), args.Get(1).ToLong(), args.Get(2).ToLong(), args.Get(3).ToLong()};
            if (auto inPlace = ComPtr<IOleClientSite>(site_).As<IOleInPlaceSite>())
                inPlace->OnPosRectChange(&rc);
            return Variant();
        });
        table_.AddMethod("HimetricToContainer", 28, [this](const DispArgs& args) {
            POINTL him{args.Get(0).ToLong(), 0};
            POINTF pt{0, 0};
            if (auto cs = ComPtr<IOleClientSite>(site_).As<IOleControlSite>())
                cs->TransformCoords(&him, &pt, XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_POSITION);
            Variant out;
            out.get()->vt = VT_R8;
            out.get()->dblVal = pt.x;
            return out;
        });
        table_.AddMethod("ContainerToHimetric", 29, [this](const DispArgs& args) {
            POINTL him{0, 0};
            POINTF pt{static_cast<float>(args.Get(0).ToDouble()), 0};
            if (auto cs = ComPtr<IOleClientSite>(site_).As<IOleControlSite>())
                cs->TransformCoords(&him, &pt, XFORMCOORDS_CONTAINERTOHIMETRIC | XFORMCOORDS_SIZE);
            return Variant::Long(him.x);
        });
        table_.AddProperty(
            "Enabled", DISPID_ENABLED, [this] { return Variant::Bool(enabled_); },
            [this](const Variant& v) {
                enabled_ = v.ToBool();
                if (hwnd_) EnableWindow(hwnd_, enabled_);
            });
    }
    ~Probe() override {
        DestroyAcceleratorTable(accel_);
        if (hwnd_) DestroyWindow(hwnd_);
        events_->Drop();
        notify_->Drop();
        --Log().alive;
    }

    void* Find(REFIID iid) {
        if (iid == IID_IUnknown || iid == IID_IDispatch) return static_cast<IDispatch*>(this);
        if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
            return static_cast<IProvideClassInfo2*>(this);
        if (iid == IID_IOleObject) return static_cast<IOleObject*>(this);
        if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            return static_cast<IOleInPlaceObject*>(this);
        if (iid == IID_IOleInPlaceActiveObject) return static_cast<IOleInPlaceActiveObject*>(this);
        if (iid == IID_IOleControl) return static_cast<IOleControl*>(this);
        if (iid == IID_IPersist || iid == IID_IPersistPropertyBag)
            return static_cast<IPersistPropertyBag*>(this);
        if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
        if (iid == IID_IProvideClassInfo2) return static_cast<IProvideClassInfo2*>(this);
        return nullptr;
    }

    // IDispatch, IProvideClassInfo
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        *info = ClassTypeInfo().Detach();
        return S_OK;
    }
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
        *info = ClassTypeInfo().Detach();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        return table_.FindId(names[0], ids) ? S_OK : DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* info, UINT*) override {
        if (result) VariantInit(result);
        return table_.Invoke(id, flags, params, result, info);
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        Log().calls.push_back(site ? "SetClientSite" : "SetClientSite(null)");
        site_ = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        *site = ComPtr<IOleClientSite>(site_).Detach();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override {
        Log().calls.push_back("Close");
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT pos) override {
        if (verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_SHOW) {
            if (!hwnd_) {
                auto inPlace = ComPtr<IOleClientSite>(site_).As<IOleInPlaceSite>();
                if (!inPlace || inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
                inPlace->OnInPlaceActivate();
                HWND where = parent;
                if (!where) inPlace->GetWindow(&where);
                hwnd_ = CreateWindowExA(0, "HostTestProbe", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, pos->left,
                                        pos->top, pos->right - pos->left, pos->bottom - pos->top, where,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
                SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
                Log().calls.push_back("InPlaceActivate");
            }
            if (verb == OLEIVERB_UIACTIVATE) {
                SetFocus(hwnd_);
                if (auto inPlace = ComPtr<IOleClientSite>(site_).As<IOleInPlaceSite>())
                    inPlace->OnUIActivate();
            }
            return S_OK;
        }
        return OLEOBJ_S_INVALIDVERB;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override {
        *clsid = CLSID_Probe;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override {
        extent_ = *size;
        if (fixedHeight_ && size->cy != MulDiv(fixedHeight_, 2540, 1440)) {
            if (ComPtr<IDispatch> ext = Extender())
                PutProperty(ext.get(), "Height", Variant::Long(fixedHeight_));
        }
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
        *size = extent_;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* hwnd) override {
        *hwnd = hwnd_;
        return hwnd_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override {
        if (hwnd_) {
            DestroyWindow(hwnd_);
            hwnd_ = nullptr;
            if (auto inPlace = ComPtr<IOleClientSite>(site_).As<IOleInPlaceSite>())
                inPlace->OnInPlaceDeactivate();
        }
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override {
        if (hwnd_)
            MoveWindow(hwnd_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_F2) {
            ++f2_;
            return S_OK;
        }
        // Tab goes back to the container, as a control that does not use it should.
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
            if (auto cs = ComPtr<IOleClientSite>(site_).As<IOleControlSite>())
                cs->TranslateAccelerator(msg, GetKeyState(VK_SHIFT) < 0 ? glim::kKeyModShift : 0);
        }
        return S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override {
        info->hAccel = accel_;
        info->cAccel = 1;
        info->dwFlags = 0;
        return S_OK;
    }
    STDMETHODIMP OnMnemonic(MSG*) override {
        ++mnemonics_;
        Fire(kProbeClick, nullptr, 0);
        return S_OK;
    }
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override {
        ambientChanges_.push_back(id);
        if (id == DISPID_AMBIENT_BACKCOLOR) seenBackColor_ = Ambient(DISPID_AMBIENT_BACKCOLOR);
        return S_OK;
    }
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

    // IPersistPropertyBag
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = CLSID_Probe;
        return S_OK;
    }
    STDMETHODIMP InitNew() override {
        Log().calls.push_back("InitNew");
        ReadInitAmbients();
        caption_ = initDisplayName_.ToText();
        return S_OK;
    }
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override {
        Log().calls.push_back("Load");
        ReadInitAmbients();
        Variant style;
        style.get()->vt = VT_I4;
        if (SUCCEEDED(bag->Read(L"Style", style.get(), log))) style_ = style.get()->lVal;
        Variant caption;
        caption.get()->vt = VT_BSTR;
        if (SUCCEEDED(bag->Read(L"Caption", caption.get(), log))) caption_ = Narrow(caption.get()->bstrVal);
        return S_OK;
    }
    STDMETHODIMP Save(IPropertyBag* bag, BOOL, BOOL) override {
        Variant caption = Variant::String(caption_);
        bag->Write(L"Caption", caption.get());
        Variant style = Variant::Long(style_);
        bag->Write(L"Style", style.get());
        return S_OK;
    }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        Point* p = iid == DIID_ProbeEvents          ? events_.get()
                   : iid == IID_IPropertyNotifySink ? notify_.get()
                                                    : nullptr;
        if (!p) return CONNECT_E_NOCONNECTION;
        *point = p;
        p->AddRef();
        return S_OK;
    }

    // IProvideClassInfo2
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
        *guid = DIID_ProbeEvents;
        return S_OK;
    }

    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
        case WM_CHAR:
            lastKey_ = FireKeyPress(static_cast<short>(wParam));
            return 0;
        case WM_LBUTTONUP:
            Fire(kProbeClick, nullptr, 0);
            return 0;
        case WM_SETFOCUS:
            if (auto cs = ComPtr<IOleClientSite>(site_).As<IOleControlSite>()) cs->OnFocus(TRUE);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

  private:
    static ComPtr<ITypeInfo> ClassTypeInfo() {
        return TypeNameInfo::Create("ProbeControl", CLSID_Probe, TKIND_COCLASS);
    }
    ComPtr<IDispatch> Extender() {
        ComPtr<IDispatch> ext;
        if (auto cs = ComPtr<IOleClientSite>(site_).As<IOleControlSite>()) cs->GetExtendedControl(ext.put());
        return ext;
    }
    Variant Ambient(DISPID id) {
        auto disp = ComPtr<IOleClientSite>(site_).As<IDispatch>();
        if (!disp) return Variant();
        try {
            return GetProperty(disp.get(), id);
        } catch (...) {
            return Variant();
        }
    }
    void ReadInitAmbients() {
        initUserMode_ = Ambient(DISPID_AMBIENT_USERMODE);
        initDisplayName_ = Ambient(DISPID_AMBIENT_DISPLAYNAME);
        initBackColor_ = Ambient(DISPID_AMBIENT_BACKCOLOR);
        Variant font = Ambient(DISPID_AMBIENT_FONT);
        if (font.vt() == VT_DISPATCH && font.get()->pdispVal) {
            initFontName_ = GetProperty(font.get()->pdispVal, DISPID_FONT_NAME);
            initFontSize_ = GetProperty(font.get()->pdispVal, DISPID_FONT_SIZE);
        }
    }
    void Changed(DISPID id) {
        for (const ComPtr<IUnknown>& s : notify_->Sinks())
            if (auto sink = s.As<IPropertyNotifySink>()) sink->OnChanged(id);
    }
    void Fire(DISPID id, VARIANT* args, UINT count) {
        DISPPARAMS params{args, nullptr, count, 0};
        for (const ComPtr<IUnknown>& s : events_->Sinks()) {
            if (auto sink = s.As<IDispatch>())
                sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                             nullptr);
        }
    }
    short FireKeyPress(short key) {
        VARIANT arg;
        arg.vt = VT_I2 | VT_BYREF;
        arg.piVal = &key;
        Fire(kProbeKeyPress, &arg, 1);
        return key;
    }

    DispatchTable table_;
    ComPtr<IOleClientSite> site_;
    ComPtr<Point> events_, notify_;
    HACCEL accel_ = nullptr;
    HWND hwnd_ = nullptr;
    SIZEL extent_{0, 0};
    std::string caption_;
    long style_ = 0;
    bool enabled_ = true;
    long fixedHeight_ = 0;
    Variant initFontSize_;
    Variant initUserMode_, initDisplayName_, initFontName_, initBackColor_, seenBackColor_;
    std::vector<DISPID> ambientChanges_;
    long mnemonics_ = 0, f2_ = 0, lastKey_ = 0;
};

LRESULT CALLBACK ProbeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* probe = reinterpret_cast<Probe*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (probe) return probe->OnMessage(hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Factory : public ComObject<Factory, IClassFactory> {
  public:
    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        ComPtr<IDispatch> probe(static_cast<IDispatch*>(new Probe()));
        return probe->QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

} // namespace

void RegisterProbe() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "HostTestProbe";
    RegisterClassA(&wc);
    static ComPtr<Factory> factory(new Factory());
    DWORD cookie = 0;
    CoRegisterClassObject(CLSID_Probe, static_cast<IClassFactory*>(factory.get()), CLSCTX_INPROC_SERVER,
                          REGCLS_MULTIPLEUSE, &cookie);
    // The ProgID, so the host can be asked for the class by name.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "HostTest.Probe\\CLSID", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kProbeClsid),
                       static_cast<DWORD>(strlen(kProbeClsid) + 1));
        RegCloseKey(key);
    }
}

} // namespace hosttest
