#include "ServerClasses.h"

#include "GlimButton.h"
#include "GlimCheck.h"
#include "GlimContainr.h"
#include "GlimForm.h"
#include "GlimOption.h"
#include "GlimPressBar.h"
#include "GlimSlider.h"
#include "GlimToolTip.h"

namespace glim {

namespace {

// One line per built control class.
const ControlClass* const kClasses[] = {
    &GlimForm::kClass,  &GlimContainr::kClass, &GlimButton::kClass,  &GlimPressBar::kClass,
    &GlimCheck::kClass, &GlimOption::kClass,   &GlimToolTip::kClass, &GlimSlider::kClass,
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
