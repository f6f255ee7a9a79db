#include "HostMenu.h"

#include "HandlerGuard.h"
#include "HostForm.h"
#include "TypeNameInfo.h"

namespace glim::host {

namespace {
const DISPID kCaption = 1, kEnabled = 2, kChecked = 3, kVisible = 4, kName = 5;
}

ComPtr<HostMenu> HostMenu::Create(HostForm* form, HostMenu* parent, const std::string& name,
                                  const std::string& caption, UINT commandId) {
    ComPtr<HostMenu> menu(new HostMenu(form, parent, name, caption, commandId));
    if (parent) {
        parent->children_.push_back(menu.get());
        if (!parent->popup_) {
            // The parent becomes a submenu item, in place.
            parent->popup_.reset(CreatePopupMenu());
            parent->Update();
        }
    }
    return menu;
}

void RemoveAllItems(HMENU menu) {
    if (!menu) return;
    for (int n = GetMenuItemCount(menu); n > 0; --n)
        RemoveMenu(menu, static_cast<UINT>(n - 1), MF_BYPOSITION);
}

HostMenu::~HostMenu() {
    RemoveAllItems(popup_.get());
}

HostMenu::HostMenu(HostForm* form, HostMenu* parent, std::string name, std::string caption, UINT id)
    : form_(form), parent_(parent), name_(std::move(name)), caption_(std::move(caption)), commandId_(id) {
    table_.AddProperty(
        "Caption", kCaption, [this] { return Variant::String(caption_); },
        [this](const Variant& v) { SetCaption(v.ToText()); });
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
    Update();
    Changed();
}

void HostMenu::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
    Changed();
}

void HostMenu::SetChecked(bool checked) {
    checked_ = checked;
    Update();
    Changed();
}

void HostMenu::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (visible_) Remove();
    visible_ = visible;
    if (visible_) Insert();
    Changed();
}

HMENU HostMenu::Container() const {
    if (parent_) return parent_->popup_.get();
    return form_ ? form_->MenuBarHandle() : nullptr;
}

int HostMenu::Position() const {
    // Hidden siblings have no item: count the visible ones before this.
    int position = 0;
    if (parent_) {
        for (const HostMenu* sibling : parent_->children_) {
            if (sibling == this) break;
            position += sibling->visible_ ? 1 : 0;
        }
    } else if (form_) {
        for (const HostMenu* sibling : form_->TopLevelMenus()) {
            if (sibling == this) break;
            position += sibling->visible_ ? 1 : 0;
        }
    }
    return position;
}

MENUITEMINFOA HostMenu::ItemInfo() const {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    mii.wID = commandId_;
    mii.hSubMenu = popup_.get();
    if (caption_ == "-") {
        mii.fType = MFT_SEPARATOR;
        return mii;
    }
    mii.fMask |= MIIM_STRING;
    mii.fType = MFT_STRING;
    mii.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : MFS_UNCHECKED);
    mii.dwTypeData = const_cast<char*>(caption_.c_str());
    return mii;
}

void HostMenu::Insert() {
    const HMENU container = Container();
    if (!visible_ || !container) return;
    const MENUITEMINFOA mii = ItemInfo();
    InsertMenuItemA(container, static_cast<UINT>(Position()), TRUE, &mii);
}

void HostMenu::Update() {
    const HMENU container = Container();
    if (!visible_ || !container) return;
    const MENUITEMINFOA mii = ItemInfo();
    SetMenuItemInfoA(container, static_cast<UINT>(Position()), TRUE, &mii);
}

void HostMenu::Remove() {
    // RemoveMenu, not DeleteMenu: the submenu stays with this item.
    if (const HMENU container = Container())
        RemoveMenu(container, static_cast<UINT>(Position()), MF_BYPOSITION);
}

void HostMenu::Changed() {
    if (form_) form_->MenuChanged();
}

void HostMenu::Click() {
    if (!enabled_) return;
    // The handler may unload the form and release this item.
    ComPtr<HostMenu> keep(this);
    if (std::function<void()> handler = onClick_) RunHandler(handler);
}

} // namespace glim::host
