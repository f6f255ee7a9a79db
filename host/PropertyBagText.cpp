#include "PropertyBagText.h"

#include "Text.h"

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
    return NarrowBstr(V_BSTR(text.get()));
}
} // namespace

std::string BagToText(const MemoryPropertyBag& bag) {
    std::string out;
    for (const std::string& key : bag.Keys())
        out += key + "=" + Escape(ValueText(bag.Get(key))) + "\r\n";
    return out;
}

ComPtr<MemoryPropertyBag> BagFromText(const std::string& text) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
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

} // namespace glim::host
