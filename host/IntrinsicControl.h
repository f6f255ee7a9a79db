#pragma once
// The host's own controls (text box, label, picture box, timer, multimedia,
// common dialog) are plain windows with an automation face.  Each one
// declares its members once, as rows of IntrinsicMember; this base answers
// IDispatch from the rows and loads and saves the persisted ones, in row
// order.  A control writes code only for what a member does beyond keeping
// a value.
#include "BuiltinControl.h"
#include "DispatchObject.h"
#include "Text.h"
#include "TypeNameInfo.h"

#include <olectl.h>

#include <span>
#include <string>
#include <variant>

namespace glim::host {

enum IntrinsicFlags : unsigned {
    kReadOnly = 1,    // programs may not put it
    kRepaint = 2,     // a put that only keeps the value repaints the window
    kPersist = 4,     // loaded and saved under the member's name
    kSaveAlways = 8,  // saved even while it holds its default
    kZeroOrOne = 16,  // a long kept as 0 or 1, whatever non-zero value comes
    kDesignOnly = 32, // only in the bag: programs do not see it
};

template <class D>
struct IntrinsicMember {
    // Where the value is kept; empty for a member that is only behaviour.
    using Field = std::variant<std::monostate, long D::*, bool D::*, OLE_COLOR D::*, std::string D::*,
                               std::wstring D::*>;
    // A get of its own, used instead of the field's value.
    using Get = std::variant<std::monostate, Variant (D::*)() const, long (D::*)() const, bool (D::*)() const,
                             std::string (D::*)() const>;
    // A put of its own, given the value converted to its parameter; loading calls it too.
    using Put = std::variant<std::monostate, void (D::*)(const Variant&), void (D::*)(const std::string&),
                             void (D::*)(long), void (D::*)(bool)>;
    using Call = std::variant<std::monostate, void (D::*)(), bool (D::*)()>;

    const char* name;
    DISPID id;
    Field field{};
    unsigned flags = 0;
    long byDefault = 0; // not saved while it holds this (text: while empty)
    Get get{};
    Put put{};
    Call call{}; // a method: no get, no put
};

template <class D>
class IntrinsicControl : public DispatchObject<D>, public BuiltinControl {
  public:
    using Member = IntrinsicMember<D>;

    static ComPtr<D> Create() { return ComPtr<D>(new D()); }
    void* Find(REFIID iid) { return this->FindDispatch(iid); }

    IDispatch* Dispatch() override { return static_cast<IDispatch*>(this); }
    const char* TypeName() const override { return typeName_; }
    HWND Window() const override { return hwnd_; }
    void DestroyWindowNow() override {
        if (!hwnd_) return;
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    void Load(MemoryPropertyBag* bag) override {
        if (!bag) return;
        for (const Member& m : members_) {
            if (!(m.flags & kPersist) || !bag->Contains(m.name)) continue;
            const Variant v = bag->Get(m.name);
            if (m.put.index())
                Put(m, v);
            else
                Keep(m, v);
        }
    }
    void Save(MemoryPropertyBag* bag) const override {
        for (const Member& m : members_) {
            if (!(m.flags & kPersist)) continue;
            Variant v = Get(m);
            if ((m.flags & kSaveAlways) || !IsDefault(v, m.byDefault)) bag->Set(m.name, std::move(v));
        }
    }
    bool TakesFocus() const override { return false; }

  protected:
    IntrinsicControl(const char* typeName, std::span<const Member> members)
        : typeName_(typeName), members_(members) {
        for (const Member& m : members_) {
            if (m.flags & kDesignOnly) continue;
            if (m.call.index()) {
                this->table_.AddMethod(m.name, m.id, [this, &m](const DispArgs&) {
                    std::visit([this](auto fn) { Invoke(fn); }, m.call);
                    return Variant();
                });
            } else if (m.flags & kReadOnly) {
                this->table_.AddProperty(m.name, m.id, [this, &m] { return Get(m); });
            } else {
                this->table_.AddProperty(
                    m.name, m.id, [this, &m] { return Get(m); }, [this, &m](const Variant& v) { Put(m, v); });
            }
        }
    }
    // A window left behind would reach a control that is gone.
    ~IntrinsicControl() override { IntrinsicControl::DestroyWindowNow(); }

    ComPtr<ITypeInfo> TypeInfo() override {
        return TypeNameInfo::Create(typeName_, GUID_NULL, TKIND_COCLASS);
    }

    // The control's window, of a class registered once; the window procedure
    // finds the control through GWLP_USERDATA.
    HWND MakeWindow(const char* windowClass, WNDPROC proc, HWND parent, const RECT& px, DWORD style,
                    DWORD exStyle = 0, const char* text = "") {
        EnsureWindowClass(windowClass, proc);
        hwnd_ = CreateWindowExA(exStyle, windowClass, text, style, px.left, px.top, px.right - px.left,
                                px.bottom - px.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (hwnd_) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<D*>(this)));
        return hwnd_;
    }
    // A window never shown: it only carries messages.
    HWND MakeHiddenWindow(const char* windowClass, WNDPROC proc, HWND parent, const RECT& px) {
        return MakeWindow(windowClass, proc, parent, {px.left, px.top, px.left, px.top}, WS_CHILD);
    }

    HWND hwnd_ = nullptr;

  private:
    D* Self() { return static_cast<D*>(this); }
    const D* Self() const { return static_cast<const D*>(this); }

    Variant Get(const Member& m) const {
        if (m.get.index())
            return std::visit(
                [this](auto fn) -> Variant {
                    if constexpr (std::is_same_v<decltype(fn), std::monostate>)
                        return Variant();
                    else
                        return ToVariant((Self()->*fn)());
                },
                m.get);
        return std::visit(
            [this](auto field) -> Variant {
                if constexpr (std::is_same_v<decltype(field), std::monostate>)
                    return Variant();
                else
                    return ToVariant(Self()->*field);
            },
            m.field);
    }

    void Put(const Member& m, const Variant& v) {
        if (!m.put.index()) {
            Keep(m, v);
            if ((m.flags & kRepaint) && hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
            return;
        }
        std::visit(
            [this, &v](auto fn) {
                if constexpr (std::is_same_v<decltype(fn), void (D::*)(const Variant&)>)
                    (Self()->*fn)(v);
                else if constexpr (std::is_same_v<decltype(fn), void (D::*)(const std::string&)>)
                    (Self()->*fn)(v.ToText());
                else if constexpr (std::is_same_v<decltype(fn), void (D::*)(long)>)
                    (Self()->*fn)(v.ToLong());
                else if constexpr (std::is_same_v<decltype(fn), void (D::*)(bool)>)
                    (Self()->*fn)(v.ToBool());
            },
            m.put);
    }

    // Stores a value in the member's field, converted to the field's type.
    void Keep(const Member& m, const Variant& v) {
        std::visit(
            [this, &m, &v](auto field) {
                using F = decltype(field);
                if constexpr (std::is_same_v<F, long D::*>)
                    Self()->*field = (m.flags & kZeroOrOne) ? (v.ToLong() ? 1 : 0) : v.ToLong();
                else if constexpr (std::is_same_v<F, bool D::*>)
                    Self()->*field = v.ToBool();
                else if constexpr (std::is_same_v<F, OLE_COLOR D::*>)
                    Self()->*field = static_cast<OLE_COLOR>(v.ToLong());
                else if constexpr (std::is_same_v<F, std::string D::*>)
                    Self()->*field = v.ToText();
                else if constexpr (std::is_same_v<F, std::wstring D::*>)
                    Self()->*field = Widen(v.ToText());
            },
            m.field);
    }

    void Invoke(std::monostate) {}
    template <class R>
    void Invoke(R (D::*fn)()) {
        (Self()->*fn)();
    }

    static Variant ToVariant(const Variant& v) { return v; }
    static Variant ToVariant(long n) { return Variant::Long(n); }
    static Variant ToVariant(bool b) { return Variant::Bool(b); }
    static Variant ToVariant(OLE_COLOR c) { return Variant::Long(static_cast<long>(c)); }
    static Variant ToVariant(const std::string& s) { return Variant::String(s); }
    static Variant ToVariant(const std::wstring& s) { return Variant::String(Narrow(s.c_str())); }

    static bool IsDefault(const Variant& v, long byDefault) {
        switch (v.vt()) {
        case VT_EMPTY:
            return true;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return !v.get()->punkVal;
        case VT_BSTR:
            return v.ToText().empty();
        case VT_BOOL:
            return v.ToBool() == (byDefault != 0);
        default:
            return v.ToLong() == byDefault;
        }
    }

    const char* typeName_;
    std::span<const Member> members_;
};

} // namespace glim::host
