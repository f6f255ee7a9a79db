// ControlBase: persistence and kept values (the bag and stream interfaces,
// each bound member's default, read, put and save).
#include "ControlBase.h"

#include "MemoryPropertyBag.h"
#include "OleColor.h"
#include "Text.h"

namespace glim {

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

} // namespace glim
