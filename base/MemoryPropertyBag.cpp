#include "MemoryPropertyBag.h"

#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

namespace {

const DWORD kMagic = 0x42504C47; // "GLPB"

// Bytes a value takes inside its VARIANT, for the types stored as they are.
// Every member of the value union starts where V_UI1 does.
bool PlainSize(VARTYPE vt, ULONG& size) {
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
        size = 0;
        return true;
    case VT_UI1:
        size = 1;
        return true;
    case VT_I2:
    case VT_BOOL:
        size = sizeof(SHORT);
        return true;
    case VT_I4:
    case VT_ERROR:
    case VT_R4:
        size = sizeof(LONG);
        return true;
    case VT_R8:
    case VT_DATE:
    case VT_CY:
        size = sizeof(DOUBLE);
        return true;
    default:
        return false;
    }
}

HRESULT WriteAll(IStream* s, const void* p, ULONG n) {
    ULONG done = 0;
    HRESULT hr = s->Write(p, n, &done);
    return FAILED(hr) ? hr : (done == n ? S_OK : STG_E_MEDIUMFULL);
}

HRESULT ReadAll(IStream* s, void* p, ULONG n) {
    ULONG done = 0;
    HRESULT hr = s->Read(p, n, &done);
    return FAILED(hr) ? hr : (done == n ? S_OK : E_FAIL);
}

HRESULT WriteText(IStream* s, const wchar_t* text, ULONG length) {
    HRESULT hr = WriteAll(s, &length, sizeof length);
    if (SUCCEEDED(hr) && length) hr = WriteAll(s, text, length * sizeof(wchar_t));
    return hr;
}

HRESULT ReadText(IStream* s, std::wstring& out) {
    ULONG length = 0;
    HRESULT hr = ReadAll(s, &length, sizeof length);
    if (FAILED(hr)) return hr;
    if (length > (1u << 24)) return E_FAIL; // refuse a corrupt length before allocating
    out.assign(length, L'\0');
    return length ? ReadAll(s, out.data(), length * sizeof(wchar_t)) : S_OK;
}

HRESULT SaveValue(IStream* s, const VARIANT& v) {
    ULONG size = 0;
    if (PlainSize(V_VT(&v), size)) return size ? WriteAll(s, &V_UI1(&v), size) : S_OK;
    switch (V_VT(&v)) {
    case VT_BSTR:
        return WriteText(s, V_BSTR(&v), SysStringLen(V_BSTR(&v)));
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        const BYTE present = V_UNKNOWN(&v) ? 1 : 0;
        HRESULT hr = WriteAll(s, &present, 1);
        if (FAILED(hr) || !present) return hr;
        ComPtr<IPersistStream> ps;
        hr = V_UNKNOWN(&v)->QueryInterface(IID_IPersistStream, ps.put_void());
        return SUCCEEDED(hr) ? OleSaveToStream(ps.get(), s) : hr;
    }
    default:
        return DISP_E_BADVARTYPE;
    }
}

HRESULT LoadValue(IStream* s, VARTYPE vt, Variant& out) {
    VARIANT& v = *out.put();
    ULONG size = 0;
    if (PlainSize(vt, size)) {
        const HRESULT hr = size ? ReadAll(s, &V_UI1(&v), size) : S_OK;
        if (SUCCEEDED(hr)) V_VT(&v) = vt;
        return hr;
    }
    switch (vt) {
    case VT_BSTR: {
        std::wstring text;
        const HRESULT hr = ReadText(s, text);
        if (FAILED(hr)) return hr;
        V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!V_BSTR(&v)) return E_OUTOFMEMORY;
        V_VT(&v) = VT_BSTR;
        return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        BYTE present = 0;
        HRESULT hr = ReadAll(s, &present, 1);
        IUnknown* obj = nullptr;
        if (SUCCEEDED(hr) && present)
            hr = OleLoadFromStream(s, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown,
                                   reinterpret_cast<void**>(&obj));
        if (FAILED(hr)) return hr;
        V_VT(&v) = vt;
        V_UNKNOWN(&v) = obj;
        return S_OK;
    }
    default:
        return DISP_E_BADVARTYPE;
    }
}

} // namespace

ComPtr<MemoryPropertyBag> MemoryPropertyBag::Create() {
    return ComPtr<MemoryPropertyBag>(new MemoryPropertyBag());
}

size_t MemoryPropertyBag::IndexOf(const std::string& key) const {
    size_t i = 0;
    while (i < entries_.size() && !SameName(entries_[i].key, key))
        ++i;
    return i;
}

STDMETHODIMP MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    const size_t i = IndexOf(Narrow(name));
    if (i == entries_.size()) return E_INVALIDARG;
    VARIANT* kept = entries_[i].value.get();
    const VARTYPE want = V_VT(value);
    // The caller's variant carries only the type it wants on the way in.
    VariantInit(value);
    if (want == VT_EMPTY || want == V_VT(kept)) return VariantCopy(value, kept);
    const HRESULT hr = VariantChangeType(value, kept, 0, want);
    if (FAILED(hr)) VariantInit(value);
    return hr;
}

STDMETHODIMP MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    try {
        Set(Narrow(name), Deref(*value));
    } catch (const Error&) {
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

void MemoryPropertyBag::Set(const std::string& key, const Variant& value) {
    const size_t i = IndexOf(key);
    if (i < entries_.size())
        entries_[i].value = value;
    else
        entries_.push_back({key, value});
}

bool MemoryPropertyBag::Contains(const std::string& key) const {
    return IndexOf(key) < entries_.size();
}

Variant MemoryPropertyBag::Get(const std::string& key) const {
    const size_t i = IndexOf(key);
    if (i == entries_.size()) RaiseError(kErrInvalidCall);
    return entries_[i].value;
}

std::vector<std::string> MemoryPropertyBag::Keys() const {
    std::vector<std::string> keys;
    for (const Entry& e : entries_)
        keys.push_back(e.key);
    return keys;
}

HRESULT MemoryPropertyBag::SaveTo(IStream* s) const {
    if (!s) return E_POINTER;
    const DWORD count = static_cast<DWORD>(entries_.size());
    HRESULT hr = WriteAll(s, &kMagic, sizeof kMagic);
    if (SUCCEEDED(hr)) hr = WriteAll(s, &count, sizeof count);
    for (const Entry& e : entries_) {
        if (FAILED(hr)) break;
        const std::wstring key = Widen(e.key);
        hr = WriteText(s, key.c_str(), static_cast<ULONG>(key.size()));
        const VARTYPE vt = e.value.vt();
        if (SUCCEEDED(hr)) hr = WriteAll(s, &vt, sizeof vt);
        if (SUCCEEDED(hr)) hr = SaveValue(s, *e.value);
    }
    return hr;
}

HRESULT MemoryPropertyBag::LoadFrom(IStream* s) {
    if (!s) return E_POINTER;
    DWORD magic = 0, count = 0;
    HRESULT hr = ReadAll(s, &magic, sizeof magic);
    if (SUCCEEDED(hr) && magic != kMagic) hr = E_FAIL;
    if (SUCCEEDED(hr)) hr = ReadAll(s, &count, sizeof count);
    std::vector<Entry> entries;
    for (DWORD i = 0; SUCCEEDED(hr) && i < count; ++i) {
        std::wstring key;
        VARTYPE vt = VT_EMPTY;
        Variant value;
        hr = ReadText(s, key);
        if (SUCCEEDED(hr)) hr = ReadAll(s, &vt, sizeof vt);
        if (SUCCEEDED(hr)) hr = LoadValue(s, vt, value);
        if (SUCCEEDED(hr)) entries.push_back({Narrow(key), std::move(value)});
    }
    if (SUCCEEDED(hr)) entries_ = std::move(entries);
    return hr;
}

} // namespace glim
