#include "PropertyBagText.h"

#include "Text.h"

namespace glim::host {

namespace {
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
        out += key + "=" + EscapeLine(ValueText(bag.Get(key))) + "\r\n";
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
        bag->Set(line.substr(0, eq), Variant::String(UnescapeLine(line.substr(eq + 1))));
    }
    return bag;
}

} // namespace glim::host
