#include "PropertyBag.h"

#include "Text.h"
#include "GlimError.h"

namespace glim::host {

namespace {
std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char n = s[++i];
            out += n == 'r' ? '\r' : n == 'n' ? '\n' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string ValueText(const Variant& v) {
    if (v.vt() == VT_EMPTY || v.vt() == VT_NULL) return {};
    Variant text;
    if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(v.get()), 0, VT_BSTR))) return {};
    return Narrow(text.get()->bstrVal);
}
} // namespace

ComPtr<PropertyBag> PropertyBag::Create() {
    return ComPtr<PropertyBag>(new PropertyBag());
}

ComPtr<PropertyBag> PropertyBag::FromText(const std::string& text) {
    ComPtr<PropertyBag> bag = Create();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pos = end + 1;
        const size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        bag->Set(line.substr(0, eq), Variant::String(Unescape(line.substr(eq + 1))));
    }
    return bag;
}

void* PropertyBag::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IPropertyBag) return static_cast<IPropertyBag*>(this);
    return nullptr;
}

PropertyBag::Entry* PropertyBag::Lookup(const std::string& key) {
    for (Entry& e : entries_)
        if (SameName(e.key, key)) return &e;
    return nullptr;
}

const PropertyBag::Entry* PropertyBag::Lookup(const std::string& key) const {
    return const_cast<PropertyBag*>(this)->Lookup(key);
}

STDMETHODIMP PropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    const Entry* e = Lookup(Narrow(name));
    if (!e) return E_INVALIDARG;
    const VARTYPE want = value->vt;
    // The caller's variant carries only the type it wants on the way in.
    VariantInit(value);
    if (want == VT_EMPTY || want == e->value.vt())
        return VariantCopy(value, const_cast<VARIANT*>(e->value.get()));
    HRESULT hr = VariantChangeType(value, const_cast<VARIANT*>(e->value.get()), 0, want);
    if (FAILED(hr)) VariantInit(value);
    return hr;
}

STDMETHODIMP PropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    try {
        Set(Narrow(name), Deref(*value));
    } catch (const glim::Error&) {
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

void PropertyBag::Set(const std::string& key, const Variant& value) {
    if (Entry* e = Lookup(key)) {
        e->value = value;
        return;
    }
    entries_.push_back({key, value});
}

bool PropertyBag::Contains(const std::string& key) const {
    return Lookup(key) != nullptr;
}

Variant PropertyBag::Get(const std::string& key) const {
    const Entry* e = Lookup(key);
    if (!e) throw glim::Error(5, "Host", "Invalid procedure call or argument");
    return e->value;
}

std::vector<std::string> PropertyBag::Keys() const {
    std::vector<std::string> keys;
    for (const Entry& e : entries_)
        keys.push_back(e.key);
    return keys;
}

std::string PropertyBag::ToText() const {
    std::string out;
    for (const Entry& e : entries_)
        out += e.key + "=" + Escape(ValueText(e.value)) + "\r\n";
    return out;
}

} // namespace glim::host
