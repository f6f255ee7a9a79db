#pragma once
// A form's Controls: the extenders of its controls in creation order,
// indexed from 0 or by name.
#include "DispatchObject.h"

namespace glim::host {

class HostForm;

class ControlsCollection : public DispatchObject<ControlsCollection> {
  public:
    static ComPtr<ControlsCollection> Create(HostForm* form);
    void* Find(REFIID iid) { return FindDispatch(iid); }

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    explicit ControlsCollection(HostForm* form);
    std::vector<ComPtr<IDispatch>> Items() const;

    ComPtr<HostForm> form_; // counted: the collection may outlive the caller's form reference
};

} // namespace glim::host
