#include "Text.h"

namespace glim::host {

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const wchar_t* text, UINT codePage) {
    if (!text || !*text) return {};
    const int len = static_cast<int>(wcslen(text));
    const int n = WideCharToMultiByte(codePage, 0, text, len, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text, len, out.data(), n, nullptr, nullptr);
    return out;
}

BSTR AllocBstr(const std::string& text) {
    const std::wstring w = Widen(text);
    return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

bool SameName(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace glim::host
