#pragma once
// One outgoing interface of a control: the sinks advised on it and raising
// calls on them.  Lives inside its control and shares the control's count.
#include "ComObject.h"
#include "ComPtr.h"

#include <ocidl.h>

#include <vector>

namespace glim {

class ConnectionPoint : public ComPart<ConnectionPoint, IConnectionPoint> {
  public:
    // owner is the control's identity and container; uncounted, it owns us.
    ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID iid);

    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IConnectionPoint ? static_cast<IConnectionPoint*>(this)
                                                                  : nullptr;
    }
    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** cpc) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** e) override;

    const IID& Iid() const { return iid_; }
    bool HasSinks() const { return !sinks_.empty(); }
    // Sinks at this moment; raising works on a copy so handlers may unadvise.
    std::vector<ComPtr<IUnknown>> Sinks() const;
    // Invokes id on every dispatch sink; args in natural order, by-reference
    // arguments are updated in place by the sinks.
    void Fire(DISPID id, VARIANT* args, unsigned count) const;
    void Clear() { sinks_.clear(); }

  private:
    struct Sink {
        DWORD cookie;
        ComPtr<IUnknown> unk;
    };
    IConnectionPointContainer* container_; // uncounted, the same control
    IID iid_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
};

// An enumerator over the given points (each gets a reference of its own).
HRESULT EnumPoints(std::vector<IConnectionPoint*> points, IEnumConnectionPoints** e);

} // namespace glim
