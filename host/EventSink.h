#pragma once
// Receives a control's events on its default source interface and routes
// each call by dispatch identifier to a handler.
#include "ComObject.h"
#include "ComPtr.h"
#include "SiteObserver.h"
#include "Variant.h"

#include <functional>
#include <map>
#include <ocidl.h>

namespace glim::host {

// The arguments of one event in their declared order.  Set writes through a
// by-reference argument, so the control sees the value once Invoke returns.
class EventArgs {
  public:
    explicit EventArgs(DISPPARAMS* params) : params_(params) {}
    size_t Count() const { return params_ ? params_->cArgs : 0; }
    Variant Get(size_t i) const;
    bool IsByRef(size_t i) const;
    // Fails (returns false) for an argument passed by value or a value
    // that does not convert to the argument's type.
    bool Set(size_t i, const Variant& value);

  private:
    VARIANT* Raw(size_t i) const;
    DISPPARAMS* params_;
};

class EventSink : public ComObject<EventSink, IDispatch> {
  public:
    using Handler = std::function<void(EventArgs&)>;

    static ComPtr<EventSink> Create();
    void* Find(REFIID iid);

    // Finds the control's default source interface and advises it; false
    // when the control has none.
    bool Connect(IUnknown* control);
    void Disconnect();
    bool Connected() const { return cookie_ != 0; }
    const IID& SourceIid() const { return source_; }

    void On(DISPID id, Handler handler) { handlers_[id] = std::move(handler); }
    // Shows every event to an observer (none: nothing is kept of them).
    void Watch(SiteObserver* observer) { observer_ = observer; }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

  private:
    EventSink() = default;
    ~EventSink() override;
    IID source_ = IID_NULL;          // the source interface this sink answers to
    ComPtr<IConnectionPoint> point_; // where it is advised
    DWORD cookie_ = 0;               // advise cookie, 0 when not connected
    std::map<DISPID, Handler> handlers_;
    SiteObserver* observer_ = nullptr; // uncounted; the observer detaches before it goes
};

} // namespace glim::host
