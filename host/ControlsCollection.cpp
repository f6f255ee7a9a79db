#include "ControlsCollection.h"

#include "ControlsEnum.h"
#include "Extender.h"
#include "HostForm.h"
#include "Text.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

namespace glim::host {

ComPtr<ControlsCollection> ControlsCollection::Create(HostForm* form) {
    return ComPtr<ControlsCollection>(new ControlsCollection(form));
}

ControlsCollection::ControlsCollection(HostForm* form) : form_(form) {
    table_.AddProperty("Count", 1, [this] { return Variant::Long(static_cast<long>(Items().size())); });
    table_.AddMethod("Item", DISPID_VALUE, [this](const DispArgs& args) {
        const Variant key = args.Get(0);
        const std::vector<ComPtr<IDispatch>> items = Items();
        if (key.vt() == VT_BSTR) {
            if (ControlSite* site = form_->Site(key.ToText()))
                if (!site->Closed() && site->GetExtender())
                    return Variant::Object(static_cast<IDispatch*>(site->GetExtender()));
        } else {
            const long index = key.ToLong();
            if (index >= 0 && static_cast<size_t>(index) < items.size())
                return Variant::Object(items[static_cast<size_t>(index)].get());
        }
        throw glim::Error(9, "Host", "Subscript out of range");
    });
    table_.AddMethod("_NewEnum", DISPID_NEWENUM, [this](const DispArgs&) {
        ComPtr<ControlsEnum> e = ControlsEnum::Create(Items());
        return Variant::Unknown(static_cast<IEnumVARIANT*>(e.get()));
    });
}

std::vector<ComPtr<IDispatch>> ControlsCollection::Items() const {
    std::vector<ComPtr<IDispatch>> items;
    for (ControlSite* site : form_->Sites())
        if (!site->Closed() && site->GetExtender())
            items.emplace_back(static_cast<IDispatch*>(site->GetExtender()));
    return items;
}

ComPtr<ITypeInfo> ControlsCollection::TypeInfo() {
    return TypeNameInfo::Create("Object", GUID_NULL, TKIND_DISPATCH);
}

} // namespace glim::host
