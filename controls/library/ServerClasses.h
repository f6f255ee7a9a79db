#pragma once
// The control classes this library serves.  Only classes that are built
// are listed: the factory refuses and registration leaves out the others.
#include "ControlClass.h"

#include <span>

namespace glim {

std::span<const ControlClass* const> ServerClasses();
const ControlClass* FindServerClass(REFCLSID clsid);

} // namespace glim
