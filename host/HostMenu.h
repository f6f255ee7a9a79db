#pragma once
// One menu item of a form: a top-level item of its menu bar or an item of a
// parent's submenu.  Changes are made in place on the form's menu handles,
// which stay the same for the form's life: a skinned frame keeps drawing
// the bar it was given.
#include "DispatchObject.h"
#include "Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace glim::host {

class HostForm;

class HostMenu : public DispatchObject<HostMenu> {
  public:
    static ComPtr<HostMenu> Create(HostForm* form, HostMenu* parent, const std::string& name,
                                   const std::string& caption, UINT commandId);
    void* Find(REFIID iid) { return FindDispatch(iid); }

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    bool Enabled() const { return enabled_; }
    bool Checked() const { return checked_; }
    bool Visible() const { return visible_; }
    void SetCaption(const std::string& caption);
    void SetEnabled(bool enabled);
    void SetChecked(bool checked);
    void SetVisible(bool visible);

    HostMenu* Parent() const { return parent_; }
    const std::vector<HostMenu*>& Children() const { return children_; }
    UINT CommandId() const { return commandId_; }

    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    void Click();
    // The submenu holding the visible children; null while there are none yet.
    HMENU Popup() const { return popup_.get(); }
    // Puts this item into its parent's submenu or the form's bar when visible.
    void Insert();
    // The form is gone: changes no longer reach a menu bar.
    void Detach() { form_ = nullptr; }
    ~HostMenu() override;

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    HostMenu(HostForm* form, HostMenu* parent, std::string name, std::string caption, UINT id);
    HMENU Container() const;
    int Position() const;
    MENUITEMINFOA ItemInfo() const;
    void Update();
    void Remove();
    void Changed();

    HostForm* form_;                  // owner, uncounted: the form holds its menus
    HostMenu* parent_;                // parent item, uncounted; null on the bar
    std::vector<HostMenu*> children_; // items of the submenu, in creation order
    std::string name_;                // the menu's name in the form
    std::string caption_;             // its text; "-" makes a separator
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    UINT commandId_; // WM_COMMAND identifier
    std::function<void()> onClick_;
    OwnedMenu popup_; // submenu, created with the first child; its items are removed before it goes
};

// Takes every item out of a menu without destroying submenus, which have
// owners of their own.
void RemoveAllItems(HMENU menu);

} // namespace glim::host
