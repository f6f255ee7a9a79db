#include "Extender.h"

#include "ControlSite.h"
#include "HostForm.h"
#include "LateBound.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

#include <iterator>

namespace glim::host {

namespace {
// Extender members keep to their own range so they cannot hide the control's.
const DISPID kName = 0x80010000, kVisible = 0x80010007, kParent = 0x80010008, kLeft = 0x80010100,
             kTop = 0x80010101, kWidth = 0x80010102, kHeight = 0x80010103, kEnabled = 0x80010104,
             kTabIndex = 0x8001000f, kTabStop = 0x8001000e, kTag = 0x8001000d, kObject = 0x80010010,
             kContainer = 0x80010011, kDefault = 0x80010012;
} // namespace

ComPtr<Extender> Extender::Create(ControlSite* site) {
    return ComPtr<Extender>(new Extender(site));
}

Extender::Extender(ControlSite* site) : site_(site) {
    table_.AddProperty("Name", kName, [this] { return Variant::String(Live().Name()); });
    AddPlacement();
    AddRelations();
    AddState();
}

// Left, Top, Width and Height: each put moves the control with the other
// three as they are.
void Extender::AddPlacement() {
    struct Edge {
        const char* name;
        DISPID id;
        long (ControlSite::*get)() const;
    };
    static constexpr Edge kEdges[] = {{"Left", kLeft, &ControlSite::Left},
                                      {"Top", kTop, &ControlSite::Top},
                                      {"Width", kWidth, &ControlSite::Width},
                                      {"Height", kHeight, &ControlSite::Height}};
    for (size_t i = 0; i < std::size(kEdges); ++i) {
        const Edge& edge = kEdges[i];
        table_.AddProperty(
            edge.name, edge.id, [this, get = edge.get] { return Variant::Long((Live().*get)()); },
            [this, i](const Variant& v) {
                ControlSite& s = Live();
                long place[] = {s.Left(), s.Top(), s.Width(), s.Height()};
                place[i] = v.ToLong();
                // A position may be anywhere; a size below zero is refused.
                if (i >= 2 && place[i] < 0) throw glim::Error(380, "Host", "Invalid property value");
                s.Move(place[0], place[1], place[2], place[3]);
            });
    }
}

// Parent, Container and Object: what the control lies in, and the control itself.
void Extender::AddRelations() {
    table_.AddProperty("Parent", kParent, [this] {
        HostForm* form = Live().Form();
        return Variant::Object(form ? static_cast<IDispatch*>(form) : nullptr);
    });
    table_.AddProperty("Container", kContainer, [this] {
        ControlSite& s = Live();
        if (s.Container() && s.Container()->GetExtender())
            return Variant::Object(static_cast<IDispatch*>(s.Container()->GetExtender()));
        return Variant::Object(s.Form() ? static_cast<IDispatch*>(s.Form()) : nullptr);
    });
    table_.AddProperty("Object", kObject, [this] { return Variant::Object(Live().ControlDispatch().get()); });
}

// Visible, Enabled, TabIndex, TabStop, Tag and Default.
void Extender::AddState() {
    table_.AddProperty(
        "Visible", kVisible, [this] { return Variant::Bool(Live().Visible()); },
        [this](const Variant& v) { Live().SetVisible(v.ToBool()); });
    // A control with its own Enabled keeps its state and look in step.
    table_.AddProperty(
        "Enabled", kEnabled,
        [this] {
            ControlSite& s = Live();
            if (HasMember(s.ControlDispatch().get(), "Enabled"))
                return Variant::Bool(GetProperty(s.ControlDispatch().get(), "Enabled").ToBool());
            return Variant::Bool(s.Enabled());
        },
        [this](const Variant& v) {
            ControlSite& s = Live();
            if (HasMember(s.ControlDispatch().get(), "Enabled"))
                PutProperty(s.ControlDispatch().get(), "Enabled", Variant::Bool(v.ToBool()));
            else
                s.SetEnabled(v.ToBool());
        });
    table_.AddProperty(
        "TabIndex", kTabIndex,
        [this] {
            ControlSite& s = Live();
            return Variant::Long(s.Form() ? s.Form()->TabIndexOf(&s) : 0);
        },
        [this](const Variant& v) {
            ControlSite& s = Live();
            const long index = v.ToLong();
            if (index < 0) throw glim::Error(380, "Host", "Invalid property value");
            if (s.Form()) s.Form()->SetTabIndex(&s, index);
        });
    table_.AddProperty(
        "TabStop", kTabStop, [this] { return Variant::Bool(Live().TabStop()); },
        [this](const Variant& v) { Live().SetTabStop(v.ToBool()); });
    table_.AddProperty(
        "Tag", kTag, [this] { return Variant::String(Live().Tag()); },
        [this](const Variant& v) { Live().SetTag(v.ToText()); });
    table_.AddProperty(
        "Default", kDefault, [this] { return Variant::Bool(Live().IsDefault()); },
        [this](const Variant& v) {
            ControlSite& s = Live();
            if (s.Form()) s.Form()->SetDefaultSite(v.ToBool() ? &s : nullptr);
        });
}

ControlSite& Extender::Live() const {
    if (!site_ || site_->Closed())
        throw glim::Error(91, "Host", "Object variable or With block variable not set");
    return *site_;
}

void* Extender::Find(REFIID iid) {
    return FindDispatch(iid);
}

STDMETHODIMP Extender::QueryInterface(REFIID iid, void** out) {
    const HRESULT hr = DispatchObject::QueryInterface(iid, out);
    if (hr != E_NOINTERFACE || iid == IID_IUnknown) return hr;
    // A type test against the control's own interfaces succeeds on its extender.
    if (site_ && site_->Control()) return site_->Control()->QueryInterface(iid, out);
    return hr;
}

ComPtr<ITypeInfo> Extender::TypeInfo() {
    if (!site_) return {};
    if (ComPtr<ITypeInfo> info = site_->ClassInfo()) return info;
    const std::string name = site_->TypeName();
    return name.empty() ? ComPtr<ITypeInfo>() : TypeNameInfo::Create(name, GUID_NULL, TKIND_COCLASS);
}

HRESULT Extender::MoreIds(LPOLESTR name, DISPID* id) {
    *id = DISPID_UNKNOWN;
    if (!site_ || !site_->ControlDispatch()) return DISP_E_UNKNOWNNAME;
    return site_->ControlDispatch()->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT Extender::MoreInvoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
    if (!site_ || !site_->ControlDispatch()) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    UINT argErr = 0;
    return site_->ControlDispatch()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params ? params : &none,
                                            result, info, &argErr);
}

} // namespace glim::host
