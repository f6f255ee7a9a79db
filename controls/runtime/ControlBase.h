#pragma once
// The library side of an ActiveX control: the OLE control protocol written
// once, with the life-cycle, input and container events as virtual hooks.
// Each control derives through Control<Derived, DualInterface>.  Its members
// are defined along its sections: ControlBase.cpp (OLE object, in place, view
// and the services for controls), ControlPersistence.cpp (persistence and
// kept values), ControlDispatch.cpp (dispatch, class info and events).
#include "Binding.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "ConnectionPoint.h"
#include "ControlClass.h"
#include "Handles.h"
#include "PropertyBag.h"
#include "PropertyStore.h"
#include "RuntimeErrors.h"
#include "SurfaceWindow.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace glim {

// One argument of a raised event: the control's own variable.  It goes to
// the host by value or by reference as the event's description says; a
// by-reference one holds what the host's handlers wrote once the event returns.
class EventArg {
  public:
    EventArg(short& v) : vt_(VT_I2), ref_(&v) {}
    EventArg(long& v) : vt_(VT_I4), ref_(&v) {}
    EventArg(float& v) : vt_(VT_R4), ref_(&v) {}
    EventArg(double& v) : vt_(VT_R8), ref_(&v) {}
    EventArg(bool& v) : vt_(VT_BOOL), ref_(&v) {}
    EventArg(std::string& v) : vt_(VT_BSTR), ref_(&v) {} // code page text

    Variant Get() const;
    void Set(const VARIANT& v) const;

  private:
    VARTYPE vt_;
    void* ref_;
};

struct DestroyAccel {
    void operator()(HACCEL h) const { DestroyAcceleratorTable(h); }
};

class ControlBase : public SurfaceWindow,
                    public IOleObject,
                    public IOleInPlaceObject,
                    public IOleInPlaceActiveObject,
                    public IOleControl,
                    public IViewObject2,
                    public IPersistStreamInit,
                    public IPersistPropertyBag,
                    public IProvideClassInfo2,
                    public IConnectionPointContainer,
                    public ISpecifyPropertyPages {
  public:
    const ControlClass& Class() const { return cls_; }
    IUnknown* Unknown() { return static_cast<IOleObject*>(this); }
    // The control's default interface as hosts see it.
    virtual IDispatch* DefaultDispatch() = 0;

    // Creates the window and raises Initialize; called once by the factory.
    void Create();

    // ISpecifyPropertyPages, answered only by a class that offers a page
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                        LPCRECT posRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** e) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** e) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow (both in-place interfaces)
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* td, HDC hicTarget,
                      HDC hdcDraw, LPCRECTL bounds, LPCRECTL wBounds,
                      BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* td, LPSIZEL size) override;

    // IPersist, IPersistStreamInit, IPersistPropertyBag
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** e) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** cp) override;

    // --- services for the control's own code ---

    // Outer size in twips; setting it asks the container and re-enters Resize.
    long Width() const;
    long Height() const;
    void SetSize(long widthTwips, long heightTwips);
    // For a control of one size, from its Resize: sets that size again
    // without re-entering itself through the Resize that follows.
    void KeepSize(long widthTwips, long heightTwips);
    void SetWidth(long twips) { SetSize(twips, Height()); }
    void SetHeight(long twips) { SetSize(Width(), twips); }

    // Tells the container a property changed; names that are not members of
    // the default interface go out as DISPID_UNKNOWN.
    void PropertyChanged(const char* name);
    // Raises an event of the description, its arguments in declared order.
    // Raising one the description lacks, or with another count, raises 5.
    template <class... A>
    void RaiseEvent(DISPID id, A&... args) {
        EventArg list[] = {EventArg(args)...};
        RaiseEventArgs(id, list);
    }
    void RaiseEvent(DISPID id) { RaiseEventArgs(id, {}); }

    // The description the control's persistence, events and kept
    // properties follow.
    const typelib::CoClass& Description() const { return desc_; }
    // The accessors of kept properties; the generated layer calls them.
    HRESULT GetStored(DISPID id, VARIANT* value);
    HRESULT PutStored(DISPID id, const VARIANT& value);
    // A kept property's whole put, as a host's would run it; errors raise.
    void PutMember(DISPID id, const VARIANT& value);

    // Ambient properties of the container, with defaults when there is none.
    Variant Ambient(DISPID id) const;
    bool AmbientUserMode() const;
    ComPtr<IFontDisp> AmbientFont() const;
    std::string AmbientDisplayName() const;
    bool AmbientDisplayAsDefault() const;
    OLE_COLOR AmbientBackColor() const;
    OLE_COLOR AmbientForeColor() const;

    // Hands a Tab to the container, which moves the focus to its next tab
    // stop (or the previous one); false when the container did not.
    bool TabToNextControl(bool forward);

    // The container's extender object, or Nothing.
    ComPtr<IDispatch> Extender() const;
    // An extender property; without a site Left, Top, Width, Height (twips),
    // Name, Parent (Nothing) and Object still answer.
    Variant ExtenderProperty(const char* name) const;
    // The form the control sits on (the extender's Parent); raises 91 without one.
    ComPtr<IDispatch> ParentForm() const;
    // The window of the container (the control's parent window when sited).
    HWND ContainerWindow() const;

    const std::string& AccessKeys() const { return accessKeys_; }
    void SetAccessKeys(const std::string& keys);

    bool InPlaceActive() const { return inPlaceActive_; }

  protected:
    explicit ControlBase(const ControlClass& cls);
    ~ControlBase() override;

    ULONG InternalAddRef();
    ULONG InternalRelease();
    // The interface of ours that answers iid, or nullptr.
    void* FindInterface(REFIID iid);

    // IDispatch through the type information of the default interface.
    HRESULT DispGetTypeInfo(UINT index, ITypeInfo** info);
    HRESULT DispGetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids);
    HRESULT DispInvoke(void* dual, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* ei,
                       UINT* argErr);

    // Runs a member of the default interface: errors become HRESULT + IErrorInfo.
    // The control outlives the call, whatever the events it raises release.
    template <class F>
    HRESULT Member(F&& f) noexcept {
        Hold hold(*this);
        return ComCall(*cls_.defaultIid, std::forward<F>(f));
    }

    // Life cycle.  The runtime has set, read or written every persisted key
    // before these run.
    virtual void OnInitialize() {}
    virtual void OnInitProperties() {}
    virtual void OnReadProperties(const PropertyBag& /*bag*/) {}
    virtual void OnWriteProperties(const PropertyBag& /*bag*/) {}
    virtual void OnTerminate() {}
    virtual void OnAccessKeyPress(short /*keyAscii*/) {}
    virtual void OnAmbientChanged(DISPID /*id*/) {}

    // The derived class's binding table, row by row (Control<Derived, Dual>
    // answers from it).
    virtual size_t BindingCount() const = 0;
    virtual BindingInfo BindingAt(size_t row) const = 0;
    virtual Variant GetBound(size_t row, VARTYPE as) = 0;
    virtual void SetBound(size_t row, const VARIANT& value) = 0;
    virtual void CheckBound(size_t row, const VARIANT& value) = 0;
    virtual void AfterBound(size_t row) = 0;

    // Tells the site before the control's own focus events run.
    void OnFocusMessage(bool gained) final;
    // Ends the control once no hold is left and no reference came back.
    void OnLastHold(bool event) final;

  private:
    HRESULT InPlaceActivate(LONG verb);
    ITypeInfo* DualTypeInfo();
    void Terminate();
    void RebuildAccelerators();
    void NotifyViewChange();
    void RaiseEventArgs(DISPID id, std::span<EventArg> args);
    Variant DefaultValue(const PropertyStore::Slot& s);
    // The value a slot holds, as the slot's type.
    Variant Read(const PropertyStore::Slot& s);
    void Keep(PropertyStore::Slot& s, const VARIANT& value);
    // The put of a kept property: check, keep, act and tell as its row says.
    void PutKept(PropertyStore::Slot& s, const VARIANT& value);
    // A value a colour row cannot take.
    bool Refused(const PropertyStore::Slot& s, const VARIANT& value);
    // Tells the container of a slot's change, under its key where the key says so.
    void Tell(const PropertyStore::Slot& s);
    void AttachBindings();
    void ResetValues();
    void LoadValues(const PropertyBag& bag);
    void SaveValues(const PropertyBag& bag);

    const ControlClass& cls_;
    const typelib::CoClass& desc_;
    PropertyStore store_; // values of kept properties and persisted keys
    ULONG refs_ = 0;
    bool terminated_ = false;
    bool terminatePending_ = false;       // the last reference went while held
    ComPtr<IOleClientSite> site_;         // the container's site, Nothing until sited
    ComPtr<IOleInPlaceSite> inPlaceSite_; // while in-place active
    ComPtr<IOleControlSite> controlSite_;
    ComPtr<IDispatch> ambient_; // the site's ambient properties
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<IOleInPlaceUIWindow> uiWindow_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
    ComPtr<ITypeInfo> dualInfo_; // interface part of the default interface
    ConnectionPoint events_;
    ConnectionPoint propertyNotify_;
    SIZEL extent_{0, 0}; // HIMETRIC
    bool inPlaceActive_ = false;
    bool keepingSize_ = false; // KeepSize is setting our size
    bool uiActive_ = false;
    bool dirty_ = false;
    bool initialized_ = false; // InitNew or Load has run
    long freezeCount_ = 0;
    std::string accessKeys_;
    UniqueHandle<HACCEL, DestroyAccel> accel_; // Alt + each access key
};

// A control class with its dual default interface: IUnknown and IDispatch.
template <class Derived, class Dual>
class Control : public ControlBase, public Dual {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        const bool dual = iid == IID_IDispatch || iid == *Class().defaultIid;
        return HandOut(dual ? static_cast<Dual*>(this) : FindInterface(iid), ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InternalAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return InternalRelease(); }

    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        return DispGetTypeInfo(index, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return DispGetIDsOfNames(names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* ei, UINT* argErr) override {
        return DispInvoke(static_cast<Dual*>(this), id, flags, params, result, ei, argErr);
    }

    IDispatch* DefaultDispatch() override { return static_cast<Dual*>(this); }

    // The server's record of the class: its identity as the description
    // gives it, with the toolbox bitmap, the size of a new instance and what
    // it tells containers about itself.
    static constexpr ControlClass ClassRecord(int toolboxBitmap, SIZE initialPixels,
                                              DWORD miscStatus = kControlMiscStatus,
                                              const CLSID* propertyPage = nullptr) {
        return {Dual::kCoClassName, Dual::kClsid,  Dual::kIid,      Dual::kEventsIid,
                toolboxBitmap,      initialPixels, &ModuleTypeInfo, &Derived::CreateInstance,
                miscStatus,         nullptr,       propertyPage};
    }

    // The factory's way in: a new instance with its window, not yet counted.
    // One that fails to come up is gone again, window and module lock too.
    static ControlBase* CreateInstance() {
        std::unique_ptr<Derived> c(new Derived());
        c->Create();
        return c.release();
    }

  protected:
    explicit Control(const ControlClass& cls, std::span<const Binding<Derived>> rows = {})
        : ControlBase(cls), rows_(rows) {}

  private:
    size_t BindingCount() const override { return rows_.size(); }
    BindingInfo BindingAt(size_t row) const override { return binding::Info(rows_[row]); }
    Variant GetBound(size_t row, VARTYPE as) override { return binding::Get(Self(), rows_[row], as); }
    void SetBound(size_t row, const VARIANT& value) override { binding::Set(Self(), rows_[row], value); }
    void CheckBound(size_t row, const VARIANT& value) override {
        if (rows_[row].check) (Self().*rows_[row].check)(ToLong(value));
    }
    void AfterBound(size_t row) override {
        if (rows_[row].after) (Self().*rows_[row].after)();
    }
    Derived& Self() { return static_cast<Derived&>(*this); }

    std::span<const Binding<Derived>> rows_; // the derived class's binding table
};

} // namespace glim
