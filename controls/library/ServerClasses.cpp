#include "ServerClasses.h"

#include "GlimForm.h"
#include "GlimPressBar.h"

namespace glim {

namespace {

// One line per built control class.
const ControlClass* const kClasses[] = {
    &GlimForm::kClass,
    &GlimPressBar::kClass,
};

} // namespace

std::span<const ControlClass* const> ServerClasses() {
    return kClasses;
}

const ControlClass* FindServerClass(REFCLSID clsid) {
    for (const ControlClass* c : kClasses)
        if (IsEqualCLSID(*c->clsid, clsid)) return c;
    return nullptr;
}

} // namespace glim
