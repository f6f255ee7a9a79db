#pragma once
// The place of one control on a form: client, in-place and control site,
// source of the ambient properties and sink of property-changed
// notifications.  It owns the control instance and its extender.
#include "BuiltinControl.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchTable.h"
#include "EventSink.h"
#include "MemoryPropertyBag.h"

#include <ocidl.h>
#include <olectl.h>
#include <oleidl.h>
#include <string>
#include <vector>

namespace glim::host {

class Extender;
class HostForm;

class ControlSite : public ComObject<ControlSite, IOleClientSite, IOleInPlaceSite, IOleControlSite, IDispatch,
                                     IPropertyNotifySink> {
  public:
    static ComPtr<ControlSite> Create(HostForm* form, const std::string& name, ControlSite* container);
    void* Find(REFIID iid);

    // Creates the control of a class (ProgID, "{CLSID}", or "TextBox" /
    // "Label"), loads it from bag (new when null) and activates it in place
    // at a position in twips.  Raises glim::Error and leaves the site
    // closed when any step fails.
    void Attach(const std::string& classId, MemoryPropertyBag* bag, long left, long top, long width,
                long height);
    // Deactivates, closes and releases the control; the site is inert after.
    void Close();
    bool Closed() const { return closed_; }

    const std::string& Name() const { return name_; }
    const std::string& ClassId() const { return classId_; }
    HostForm* Form() const { return form_; }
    ControlSite* Container() const { return container_; }
    Extender* GetExtender() const { return extender_.get(); }
    IUnknown* Control() const { return control_.get(); }
    ComPtr<IDispatch> ControlDispatch() const { return controlDisp_; }
    ComPtr<ITypeInfo> ClassInfo() const;
    std::string TypeName() const;
    bool IsBuiltin() const { return builtin_ != nullptr; }
    BuiltinControl* Builtin() const { return builtin_; }
    EventSink* Events() const { return events_.get(); }
    // Shows the control's events and property-changed notifications to an
    // observer; null detaches it.
    void Watch(SiteObserver* observer);

    // The control's own window and the window it is sited in.
    HWND Window() const;
    HWND ContainerWindow() const;
    bool Owns(HWND hwnd) const;

    long Left() const { return left_; }
    long Top() const { return top_; }
    long Width() const { return width_; }
    long Height() const { return height_; }
    // Moves and sizes the control (twips, relative to its container).
    void Move(long left, long top, long width, long height);
    RECT PixelRect() const;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    const std::string& Tag() const { return tag_; }
    void SetTag(const std::string& tag) { tag_ = tag; }
    bool IsDefault() const { return isDefault_; }
    void SetDefault(bool isDefault);

    bool CanFocus() const;
    bool Focus();
    void UIDeactivate();
    // Key handling of the form's message loop.
    bool TranslateActive(MSG& msg);
    bool TranslateMnemonic(MSG& msg);
    void AmbientChanged(DISPID id);
    void Save(MemoryPropertyBag* bag) const;

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** mk) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow / IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return closed_ ? S_FALSE : S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** disp) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL got) override;
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* info, UINT*) override;
    // IPropertyNotifySink
    STDMETHODIMP OnChanged(DISPID id) override;
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

  private:
    ControlSite(HostForm* form, std::string name, ControlSite* container);
    ~ControlSite() override;
    void AttachOle(const std::string& classId, MemoryPropertyBag* bag);
    void AttachBuiltin(BuiltinControl* control, MemoryPropertyBag* bag);
    void Teardown();
    void ApplyPosition();
    void BuildAmbients();

    HostForm* form_;                       // owner, uncounted: the form holds its sites
    ControlSite* container_;               // control whose window holds this one, uncounted; null: the form
    std::string name_;                     // the control's name in the form
    std::string classId_;                  // class it was created from
    ComPtr<IUnknown> control_;             // the control instance
    ComPtr<IDispatch> controlDisp_;        // its automation interface
    ComPtr<IOleObject> ole_;               // OLE controls only
    ComPtr<IOleInPlaceObject> inPlace_;    // once activated in place
    BuiltinControl* builtin_ = nullptr;    // host controls only; kept alive by control_
    ComPtr<Extender> extender_;            // the control's extender object
    ComPtr<EventSink> events_;             // its default event source, when it has one
    ComPtr<IConnectionPoint> notifyPoint_; // property-changed connection
    DWORD notifyCookie_ = 0;
    SiteObserver* observer_ = nullptr;                 // uncounted; null in a form in use
    DispatchTable ambients_;                           // ambient properties by identifier
    long left_ = 0, top_ = 0, width_ = 0, height_ = 0; // twips in the container
    bool moving_ = false;                              // a move is being applied
    bool movePending_ = false;                         // the control asked for another one meanwhile
    bool visible_ = true;
    bool tabStop_ = true;
    bool isDefault_ = false; // the form's default button
    std::string tag_;
    bool closed_ = true;
};

} // namespace glim::host
