#include "ConnectionPoint.h"

#include <olectl.h>

#include <algorithm>

namespace glim {

namespace {

// A snapshot enumerator over connections or connection points.
template <class Itf, class Item, const IID& ItfIid>
class SnapshotEnum final : public ComObject<SnapshotEnum<Itf, Item, ItfIid>, Itf> {
  public:
    explicit SnapshotEnum(std::vector<Item> items, size_t pos = 0) : items_(std::move(items)), pos_(pos) {}

    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == ItfIid ? static_cast<Itf*>(this) : nullptr;
    }
    STDMETHODIMP Next(ULONG n, Item* out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        ULONG got = 0;
        while (got < n && pos_ < items_.size()) {
            out[got] = items_[pos_++];
            AddRefItem(out[got]);
            ++got;
        }
        if (fetched) *fetched = got;
        return got == n ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG n) override {
        pos_ = std::min<size_t>(items_.size(), pos_ + n);
        return pos_ < items_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Itf** out) override {
        if (!out) return E_POINTER;
        auto* c = new SnapshotEnum(items_, pos_);
        for (Item& i : c->items_)
            AddRefItem(i);
        c->AddRef();
        *out = c;
        return S_OK;
    }

  private:
    ~SnapshotEnum() override {
        for (Item& i : items_)
            ReleaseItem(i);
    }
    static void AddRefItem(CONNECTDATA& c) { c.pUnk->AddRef(); }
    static void ReleaseItem(CONNECTDATA& c) { c.pUnk->Release(); }
    static void AddRefItem(IConnectionPoint* p) { p->AddRef(); }
    static void ReleaseItem(IConnectionPoint* p) { p->Release(); }

    std::vector<Item> items_;
    size_t pos_;
};

} // namespace

ConnectionPoint::ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID iid)
    : ComPart(owner), container_(container), iid_(iid) {}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** cpc) {
    if (!cpc) return E_POINTER;
    *cpc = container_;
    container_->AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    ComPtr<IUnknown> held;
    // Dispatch event sinks often answer only IDispatch.
    if (FAILED(sink->QueryInterface(iid_, held.put_void())) &&
        (iid_ == IID_IPropertyNotifySink || FAILED(sink->QueryInterface(IID_IDispatch, held.put_void()))))
        return CONNECT_E_CANNOTCONNECT;
    sinks_.push_back({nextCookie_, held});
    *cookie = nextCookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    sinks_.erase(it);
    return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** e) {
    if (!e) return E_POINTER;
    std::vector<CONNECTDATA> items;
    for (const Sink& s : sinks_) {
        s.unk->AddRef();
        items.push_back({s.unk.get(), s.cookie});
    }
    auto* en = new SnapshotEnum<IEnumConnections, CONNECTDATA, IID_IEnumConnections>(std::move(items));
    en->AddRef();
    *e = en;
    return S_OK;
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
    std::vector<ComPtr<IUnknown>> r;
    for (const Sink& s : sinks_)
        r.push_back(s.unk);
    return r;
}

void ConnectionPoint::Fire(DISPID id, VARIANT* args, unsigned count) const {
    std::vector<VARIANT> reversed(args, args + count);
    std::reverse(reversed.begin(), reversed.end());
    for (const ComPtr<IUnknown>& s : Sinks()) {
        ComPtr<IDispatch> d;
        if (FAILED(s->QueryInterface(IID_IDispatch, d.put_void()))) continue;
        DISPPARAMS dp{};
        dp.cArgs = count;
        dp.rgvarg = count ? reversed.data() : nullptr;
        Variant result;
        EXCEPINFO ei{};
        UINT argErr = 0;
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, result.get(), &ei, &argErr);
        SysFreeString(ei.bstrSource);
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrHelpFile);
    }
}

HRESULT EnumPoints(std::vector<IConnectionPoint*> points, IEnumConnectionPoints** e) {
    if (!e) return E_POINTER;
    for (IConnectionPoint* p : points)
        p->AddRef();
    auto* en = new SnapshotEnum<IEnumConnectionPoints, IConnectionPoint*, IID_IEnumConnectionPoints>(
        std::move(points));
    en->AddRef();
    *e = en;
    return S_OK;
}

} // namespace glim
