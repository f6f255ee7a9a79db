#pragma once
// A control's binding table: one row per property or persisted key the
// runtime keeps for it.  The description says what hosts see (names,
// identifiers, keys, defaults, order); a row says where the value lives (a
// typed field of the control), what may refuse a put before anything
// changes, and what a put does once the value is kept.  The runtime makes
// the get and the put of every row, loads and saves its key, and tells the
// container.
#include "ComPtr.h"
#include "Conversions.h"
#include "LateBound.h"
#include "RuntimeErrors.h"
#include "Text.h"

#include <olectl.h>

#include <string>
#include <type_traits>
#include <variant>

namespace glim {

enum BindingFlags : unsigned {
    kQuiet = 1,      // a put tells the container nothing
    kTellFirst = 2,  // the container hears of a put before its action runs
    kLoadsAsPut = 4, // loading the key runs the action and tells the container, as a put does
};

// A facet (Bold, Size, Name, ...) of the font a field holds, by the font's
// dispatch identifier: read and written on that font itself.
template <class D>
struct FontFacet {
    ComPtr<IFontDisp> D::*font;
    DISPID facet;
};

template <class D>
struct Binding {
    // Where the value lives.  Empty: the window's own (Enabled, MousePointer,
    // MouseIcon, hWnd).  An OLE_COLOR field takes only colours the platform
    // can translate.
    using Field =
        std::variant<std::monostate, bool D::*, short D::*, long D::*, OLE_COLOR D::*, std::string D::*,
                     ComPtr<IFontDisp> D::*, ComPtr<IPictureDisp> D::*, Variant D::*, FontFacet<D>>;

    const char* name; // the member, or the key of a value no member shows
    Field field{};
    void (D::*check)(long value) = nullptr; // refuses a put by raising, before anything changes
    void (D::*after)() = nullptr;           // what a put does once the value is kept
    unsigned flags = 0;                     // BindingFlags
};

// What the runtime reads of a row without its types.
struct BindingInfo {
    const char* name;
    unsigned flags;
    bool windowKeeps; // no field: the window keeps the value
    bool colour;      // an OLE colour
};

namespace binding {

template <class D>
BindingInfo Info(const Binding<D>& b) {
    return {b.name, b.flags, b.field.index() == 0, std::holds_alternative<OLE_COLOR D::*>(b.field)};
}

// The field's value as a variant; a 16-bit field read as a Boolean keeps
// whatever number it holds.
template <class D>
Variant Get(D& self, const Binding<D>& b, VARTYPE as) {
    return std::visit(
        [&](auto field) -> Variant {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, std::monostate>) {
                return Variant();
            } else if constexpr (std::is_same_v<F, FontFacet<D>>) {
                IFontDisp* font = (self.*field.font).get();
                if (!font) RaiseError(kErrObjectNotSet);
                return GetProperty(font, field.facet);
            } else {
                const auto& v = self.*field;
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, bool>) return Variant::Bool(v);
                if constexpr (std::is_same_v<T, short>) {
                    if (as != VT_BOOL) return Variant::Integer(v);
                    Variant r;
                    V_VT(r.get()) = VT_BOOL;
                    V_BOOL(r.get()) = v;
                    return r;
                }
                if constexpr (std::is_same_v<T, long> || std::is_same_v<T, OLE_COLOR>)
                    return Variant::Long(static_cast<long>(v));
                if constexpr (std::is_same_v<T, std::string>) return Variant::String(v);
                if constexpr (std::is_same_v<T, ComPtr<IFontDisp>>)
                    return Variant::Object(static_cast<IDispatch*>(v.get()));
                if constexpr (std::is_same_v<T, ComPtr<IPictureDisp>>)
                    return Variant::Object(static_cast<IDispatch*>(v.get()));
                if constexpr (std::is_same_v<T, Variant>) return v;
            }
        },
        b.field);
}

// Keeps a value already converted to the row's type in its field.
template <class D>
void Set(D& self, const Binding<D>& b, const VARIANT& value) {
    std::visit(
        [&](auto field) {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, std::monostate>) {
            } else if constexpr (std::is_same_v<F, FontFacet<D>>) {
                IFontDisp* font = (self.*field.font).get();
                if (!font) RaiseError(kErrObjectNotSet);
                PutProperty(font, field.facet, Variant(value));
            } else {
                auto& v = self.*field;
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, bool>) v = ToBool(value);
                if constexpr (std::is_same_v<T, short>)
                    v = V_VT(&value) == VT_BOOL ? V_BOOL(&value) : ToShort(value);
                if constexpr (std::is_same_v<T, long>) v = ToLong(value);
                if constexpr (std::is_same_v<T, OLE_COLOR>) v = static_cast<OLE_COLOR>(ToLong(value));
                if constexpr (std::is_same_v<T, std::string>) v = ToText(value);
                if constexpr (std::is_same_v<T, ComPtr<IFontDisp>>) v = ObjectAs<IFontDisp>(value);
                if constexpr (std::is_same_v<T, ComPtr<IPictureDisp>>) v = ObjectAs<IPictureDisp>(value);
                if constexpr (std::is_same_v<T, Variant>) v = Variant(value);
            }
        },
        b.field);
}

} // namespace binding

} // namespace glim
