#pragma once
// Property get/put and method calls by name or by dispatch identifier on any
// IDispatch, as late-bound host code does them.  A member the object does not
// have raises 438; any other failure raises the callee's own error.
#include "ComPtr.h"
#include "GlimError.h"

#include <string>
#include <vector>

namespace glim {

// The dispatch identifier of a name; raises 438 when the object has none.
DISPID DispIdOf(IDispatch* obj, const std::string& name);
// The same question without raising, for members a caller may do without.
bool HasMember(IDispatch* obj, const std::string& name);

// Arguments in their written order; by-reference arguments are VT_BYREF
// variants the caller reads back.
Variant GetProperty(IDispatch* obj, DISPID id, const std::vector<Variant>& args = {});
Variant GetProperty(IDispatch* obj, const std::string& name, const std::vector<Variant>& args = {});
// Objects are assigned by reference.
void PutProperty(IDispatch* obj, DISPID id, const Variant& value);
void PutProperty(IDispatch* obj, const std::string& name, const Variant& value);
Variant CallMethod(IDispatch* obj, DISPID id, const std::vector<Variant>& args = {});
Variant CallMethod(IDispatch* obj, const std::string& name, const std::vector<Variant>& args = {});

// The type name hosts show for an object (its type information's name,
// without the leading underscore of a default interface).
std::string TypeName(IDispatch* obj);

// The members of a collection in its own order (For Each), each a counted
// reference; raises 438 when the object cannot be enumerated.
std::vector<ComPtr<IDispatch>> CollectionItems(IDispatch* collection);
// An object reference held by a VARIANT (raises 91 when Nothing, 13 when not an object).
ComPtr<IDispatch> ObjectOf(const VARIANT& v);

} // namespace glim
