#include "Text.h"

#include <cctype>

namespace glim {

std::wstring Widen(const std::string& s, UINT codePage) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Narrow(const wchar_t* s, int length) {
    if (!s) return {};
    if (length < 0) length = static_cast<int>(wcslen(s));
    if (length == 0) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, s, length, nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, s, length, a.data(), n, nullptr, nullptr);
    return a;
}

std::string NarrowBstr(BSTR s) {
    return Narrow(s, static_cast<int>(SysStringLen(s)));
}

BSTR AllocBstr(const std::string& s) {
    const std::wstring w = Widen(s);
    return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

bool SameName(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string AccessKeyOf(const std::string& caption, size_t marks) {
    for (size_t i = caption.find('&'); i != std::string::npos && marks > 0;
         i = caption.find('&', i + 2), --marks) {
        if (i + 1 >= caption.size()) break;
        const auto c = static_cast<unsigned char>(caption[i + 1]);
        if (c == '&') continue;
        if (c < 0x80) return std::string(1, static_cast<char>(std::tolower(c)));
        return caption.substr(i + 1, IsDBCSLeadByte(c) && i + 2 < caption.size() ? 2 : 1);
    }
    return {};
}

std::string EscapeLine(const std::string& s) {
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

std::string UnescapeLine(const std::string& s) {
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

} // namespace glim
