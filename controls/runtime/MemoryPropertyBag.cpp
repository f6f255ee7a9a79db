#include "MemoryPropertyBag.h"

#include <cwctype>

namespace glim {

namespace {

const DWORD kMagic = 0x42504C47; // "GLPB"

bool SameName(const std::wstring& a, LPCOLESTR b) {
    return _wcsicmp(a.c_str(), b) == 0;
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

} // namespace

ComPtr<MemoryPropertyBag> MemoryPropertyBag::Create() {
    return ComPtr<MemoryPropertyBag>(new MemoryPropertyBag());
}

STDMETHODIMP MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    for (auto& [key, v] : items_) {
        if (!SameName(key, name)) continue;
        const VARTYPE want = V_VT(value);
        VariantClear(value);
        if (want == VT_EMPTY || want == v.vt()) return VariantCopy(value, v.get());
        return VariantChangeType(value, v.get(), 0, want);
    }
    return E_INVALIDARG;
}

STDMETHODIMP MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    for (auto& [key, v] : items_)
        if (SameName(key, name)) {
            v = Variant(*value);
            return S_OK;
        }
    items_.emplace_back(name, Variant(*value));
    return S_OK;
}

HRESULT MemoryPropertyBag::SaveTo(IStream* s) const {
    if (!s) return E_POINTER;
    const DWORD count = static_cast<DWORD>(items_.size());
    HRESULT hr = WriteAll(s, &kMagic, sizeof kMagic);
    if (SUCCEEDED(hr)) hr = WriteAll(s, &count, sizeof count);
    for (const auto& [key, v] : items_) {
        if (FAILED(hr)) break;
        hr = WriteText(s, key.c_str(), static_cast<ULONG>(key.size()));
        VARTYPE vt = v.vt();
        if (SUCCEEDED(hr)) hr = WriteAll(s, &vt, sizeof vt);
        if (FAILED(hr)) break;
        const VARIANT& var = *v;
        switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_I2:
        case VT_BOOL:
            hr = WriteAll(s, &V_I2(&var), sizeof(SHORT));
            break;
        case VT_I4:
        case VT_ERROR:
            hr = WriteAll(s, &V_I4(&var), sizeof(LONG));
            break;
        case VT_UI1:
            hr = WriteAll(s, &V_UI1(&var), 1);
            break;
        case VT_R4:
            hr = WriteAll(s, &V_R4(&var), sizeof(FLOAT));
            break;
        case VT_R8:
        case VT_DATE:
            hr = WriteAll(s, &V_R8(&var), sizeof(DOUBLE));
            break;
        case VT_CY:
            hr = WriteAll(s, &V_CY(&var), sizeof(CY));
            break;
        case VT_BSTR:
            hr = WriteText(s, V_BSTR(&var), SysStringLen(V_BSTR(&var)));
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            BYTE present = V_UNKNOWN(&var) ? 1 : 0;
            hr = WriteAll(s, &present, 1);
            if (SUCCEEDED(hr) && present) {
                ComPtr<IPersistStream> ps;
                hr = V_UNKNOWN(&var)->QueryInterface(IID_IPersistStream, ps.put_void());
                if (SUCCEEDED(hr)) hr = OleSaveToStream(ps.get(), s);
            }
            break;
        }
        default:
            hr = DISP_E_BADVARTYPE;
        }
    }
    return hr;
}

HRESULT MemoryPropertyBag::LoadFrom(IStream* s) {
    if (!s) return E_POINTER;
    DWORD magic = 0, count = 0;
    HRESULT hr = ReadAll(s, &magic, sizeof magic);
    if (SUCCEEDED(hr) && magic != kMagic) hr = E_FAIL;
    if (SUCCEEDED(hr)) hr = ReadAll(s, &count, sizeof count);
    std::vector<std::pair<std::wstring, Variant>> items;
    for (DWORD i = 0; SUCCEEDED(hr) && i < count; ++i) {
        std::wstring key;
        VARTYPE vt = VT_EMPTY;
        hr = ReadText(s, key);
        if (SUCCEEDED(hr)) hr = ReadAll(s, &vt, sizeof vt);
        if (FAILED(hr)) break;
        Variant v;
        VARIANT& var = *v;
        V_VT(&var) = vt;
        switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_I2:
        case VT_BOOL:
            hr = ReadAll(s, &V_I2(&var), sizeof(SHORT));
            break;
        case VT_I4:
        case VT_ERROR:
            hr = ReadAll(s, &V_I4(&var), sizeof(LONG));
            break;
        case VT_UI1:
            hr = ReadAll(s, &V_UI1(&var), 1);
            break;
        case VT_R4:
            hr = ReadAll(s, &V_R4(&var), sizeof(FLOAT));
            break;
        case VT_R8:
        case VT_DATE:
            hr = ReadAll(s, &V_R8(&var), sizeof(DOUBLE));
            break;
        case VT_CY:
            hr = ReadAll(s, &V_CY(&var), sizeof(CY));
            break;
        case VT_BSTR: {
            std::wstring text;
            V_VT(&var) = VT_EMPTY;
            hr = ReadText(s, text);
            if (SUCCEEDED(hr)) {
                V_VT(&var) = VT_BSTR;
                V_BSTR(&var) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            }
            break;
        }
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            BYTE present = 0;
            V_UNKNOWN(&var) = nullptr;
            hr = ReadAll(s, &present, 1);
            if (SUCCEEDED(hr) && present) {
                IUnknown* obj = nullptr;
                hr = OleLoadFromStream(s, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown,
                                       reinterpret_cast<void**>(&obj));
                V_UNKNOWN(&var) = SUCCEEDED(hr) ? obj : nullptr;
            }
            break;
        }
        default:
            V_VT(&var) = VT_EMPTY;
            hr = DISP_E_BADVARTYPE;
        }
        if (SUCCEEDED(hr)) items.emplace_back(std::move(key), std::move(v));
    }
    if (SUCCEEDED(hr)) items_ = std::move(items);
    return hr;
}

} // namespace glim
