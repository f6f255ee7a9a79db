#pragma once
// Property get/put and method calls by name on any IDispatch, as late-bound
// host code does them.  Failures raise the callee's error.
#include "ComPtr.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace glim {

// The dispatch identifier of a name; raises 438 when the object has none.
DISPID DispIdOf(IDispatch* obj, const std::string& name);

Variant GetProperty(IDispatch* obj, const std::string& name);
Variant GetProperty(IDispatch* obj, DISPID id);
void PutProperty(IDispatch* obj, const std::string& name, const VARIANT& value);
void PutProperty(IDispatch* obj, DISPID id, const VARIANT& value);
// Arguments in natural order; by-reference VARIANTs are read back by the caller.
Variant CallMethod(IDispatch* obj, const std::string& name, std::vector<VARIANT> args = {});
// Raw invoke with natural-order arguments.
Variant InvokeById(IDispatch* obj, DISPID id, WORD flags, std::vector<VARIANT> args);

// The type name hosts show for an object (its type information's name,
// without the leading underscore of a default interface).
std::string TypeName(IDispatch* obj);

// The members of a collection in its own order (For Each), each a counted
// reference; raises 438 when the object cannot be enumerated.
std::vector<ComPtr<IDispatch>> CollectionItems(IDispatch* collection);
// An object reference held by a VARIANT (raises 91 when Nothing, 13 when not an object).
ComPtr<IDispatch> ObjectOf(const VARIANT& v);

} // namespace glim
