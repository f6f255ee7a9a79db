#pragma once
// One menu item of a form: a top-level item of its menu bar or an item of a
// parent's submenu.  The form rebuilds its Win32 menu bar from these.
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
    // A new popup holding this item's visible children.
    OwnedMenu BuildPopup() const;
    // Appends this item (with its submenu, if it has children) to a menu.
    void AppendTo(HMENU menu) const;
    // The form is gone: changes no longer reach a menu bar.
    void Detach() { form_ = nullptr; }

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    HostMenu(HostForm* form, HostMenu* parent, std::string name, std::string caption, UINT id);
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
};

} // namespace glim::host
