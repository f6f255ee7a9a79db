#pragma once
// A control class served from this thread through CoRegisterClassObject,
// so that hosts create it by CLSID as they create the library's own.
#include "ComObject.h"
#include "ControlClass.h"

#include <unknwn.h>

#include <string>

namespace glimtest {

// The "{...}" text of a CLSID, as host forms take it in place of a ProgID.
std::string ClsidText(const CLSID& clsid);

// A static object: COM's references do not own it.
class ServedClass final : public glim::UncountedComObject<ServedClass, IClassFactory> {
  public:
    explicit ServedClass(const glim::ControlClass& cls) : cls_(cls) {}
    // Serves the class until Revoke; either does nothing when repeated.
    void Register();
    void Revoke();

    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

  private:
    const glim::ControlClass& cls_;
    DWORD cookie_ = 0;
};

} // namespace glimtest
