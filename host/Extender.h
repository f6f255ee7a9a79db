#pragma once
// The extender of one control: the properties the form adds to every
// control (position, name, parent, tab order, ...).  Names it does not know
// go on to the control itself, and so do interfaces it does not implement,
// so a caller holding an item of Controls reaches the control through it.
#include "DispatchObject.h"

namespace glim::host {

class ControlSite;

class Extender : public DispatchObject<Extender> {
  public:
    static ComPtr<Extender> Create(ControlSite* site);
    void* Find(REFIID iid);
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    // The site is closing: from now on every member raises an error.
    void Detach() { site_ = nullptr; }
    ControlSite* Site() const { return site_; }

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;
    HRESULT MoreIds(LPOLESTR name, DISPID* id) override;
    HRESULT MoreInvoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) override;

  private:
    explicit Extender(ControlSite* site);
    // The members, added to the table in the order hosts see them.
    void AddPlacement();
    void AddRelations();
    void AddState();
    ControlSite& Live() const;

    ControlSite* site_; // uncounted: the site owns its extender and detaches it on close
};

} // namespace glim::host
