#pragma once
// The text form of a control's stored data in the host's form files: one
// "key=value" line per entry, in the bag's order; CR, LF and backslash in
// values are escaped so every entry stays on its line.
#include "ComPtr.h"
#include "MemoryPropertyBag.h"

#include <string>

namespace glim::host {

// Objects are written through their default value.
std::string BagToText(const MemoryPropertyBag& bag);
// Values come back as strings.
ComPtr<MemoryPropertyBag> BagFromText(const std::string& text);

} // namespace glim::host
