#pragma once
// Late-bound calls on any automation object, by name or by dispatch
// identifier.  Failures raise glim::Error with the callee's error number.
#include "Variant.h"

#include <string>
#include <vector>

namespace glim::host {

DISPID IdOfName(IDispatch* object, const std::string& name);
bool HasMember(IDispatch* object, const std::string& name);

Variant GetProperty(IDispatch* object, DISPID id, const std::vector<Variant>& args = {});
Variant GetProperty(IDispatch* object, const std::string& name, const std::vector<Variant>& args = {});
void PutProperty(IDispatch* object, DISPID id, const Variant& value);
void PutProperty(IDispatch* object, const std::string& name, const Variant& value);
// Arguments in their written order; by-reference arguments may be built by
// the caller with VT_BYREF variants.
Variant CallMethod(IDispatch* object, DISPID id, const std::vector<Variant>& args = {});
Variant CallMethod(IDispatch* object, const std::string& name, const std::vector<Variant>& args = {});

} // namespace glim::host
