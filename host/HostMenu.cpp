#include "HostMenu.h"

#include "HostForm.h"
#include "TypeNameInfo.h"

namespace glim::host {

namespace {
const DISPID kCaption = 1, kEnabled = 2, kChecked = 3, kVisible = 4, kName = 5;
}

ComPtr<HostMenu> HostMenu::Create(HostForm* form, HostMenu* parent, const std::string& name,
                                  const std::string& caption, UINT commandId) {
    ComPtr<HostMenu> menu(new HostMenu(form, parent, name, caption, commandId));
    if (parent) parent->children_.push_back(menu.get());
    return menu;
}

HostMenu::HostMenu(HostForm* form, HostMenu* parent, std::string name, std::string caption, UINT id)
    : form_(form), parent_(parent), name_(std::move(name)), caption_(std::move(caption)), commandId_(id) {
    table_.AddProperty(
        "Caption", kCaption, [this] { return Variant::String(caption_); },
        [this](const Variant& v) { SetCaption(v.ToString()); });
    table_.AddProperty(
        "Enabled", kEnabled, [this] { return Variant::Bool(enabled_); },
        [this](const Variant& v) { SetEnabled(v.ToBool()); });
    table_.AddProperty(
        "Checked", kChecked, [this] { return Variant::Bool(checked_); },
        [this](const Variant& v) { SetChecked(v.ToBool()); });
    table_.AddProperty(
        "Visible", kVisible, [this] { return Variant::Bool(visible_); },
        [this](const Variant& v) { SetVisible(v.ToBool()); });
    table_.AddProperty("Name", kName, [this] { return Variant::String(name_); });
}

ComPtr<ITypeInfo> HostMenu::TypeInfo() {
    return TypeNameInfo::Create("Menu", GUID_NULL, TKIND_COCLASS);
}

void HostMenu::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}

void HostMenu::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}

void HostMenu::SetChecked(bool checked) {
    checked_ = checked;
    Changed();
}

void HostMenu::SetVisible(bool visible) {
    visible_ = visible;
    Changed();
}

void HostMenu::Changed() {
    if (form_) form_->RebuildMenuBar();
}

void HostMenu::Click() {
    if (!enabled_) return;
    // The handler may unload the form and release this item.
    ComPtr<HostMenu> keep(this);
    if (std::function<void()> handler = onClick_) handler();
}

OwnedMenu HostMenu::BuildPopup() const {
    OwnedMenu popup(CreatePopupMenu());
    for (const HostMenu* child : children_)
        if (child->visible_) child->AppendTo(popup.get());
    return popup;
}

void HostMenu::AppendTo(HMENU menu) const {
    if (caption_ == "-") {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    UINT flags = MF_STRING | (enabled_ ? MF_ENABLED : MF_GRAYED) | (checked_ ? MF_CHECKED : MF_UNCHECKED);
    if (!children_.empty()) {
        OwnedMenu popup = BuildPopup();
        // The parent menu owns the submenu from here on.
        AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.release()), caption_.c_str());
    } else {
        AppendMenuA(menu, flags, commandId_, caption_.c_str());
    }
}

} // namespace glim::host
