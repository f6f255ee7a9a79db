#pragma once
// A form's default instance: the one a program reaches by the form's name.
// It is made on first use and made again after it was unloaded, so showing
// a form twice shows the same window.
#include "ComPtr.h"

namespace glim::host {

// Form is a program's form class with a static Create() returning a
// ComPtr<Form> and a Loaded() member.
template <class Form>
class DefaultForm {
  public:
    static Form& Get() {
        ComPtr<Form>& instance = Slot();
        if (!instance || !instance->Loaded()) instance = Form::Create();
        return *instance.get();
    }
    // The instance if one is loaded, else null; makes none.
    static Form* IfLoaded() {
        ComPtr<Form>& instance = Slot();
        return instance && instance->Loaded() ? instance.get() : nullptr;
    }
    // Lets go of the instance (at the end of the program).
    static void Reset() { Slot().reset(); }

  private:
    static ComPtr<Form>& Slot() {
        static ComPtr<Form> instance;
        return instance;
    }
};

} // namespace glim::host
