#pragma once
// Writes the C++ side of the type library: identifiers, enumerations,
// dispatch identifiers and the dual interfaces in slot order.
#include <string>

#include "GlimFormControlDesc.h"

namespace glim::typelib {

// The whole header text; throws WriteError when a name has no C++ spelling.
std::string BuildHeader(const Library& lib);

} // namespace glim::typelib
