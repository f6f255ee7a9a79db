#pragma once
// Late-bound calls the way a host makes them, for tests of the COM surface.
#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace glimtest {

// IDispatch::Invoke by identifier with the arguments in call order; a put
// names its value as DISPID_PROPERTYPUT.  The exception information is
// freed unless the caller asks for it.
HRESULT Invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result = nullptr,
               EXCEPINFO* ei = nullptr, UINT* argErr = nullptr);

// Arguments by value.
VARIANT I2(short v);
VARIANT I4(long v);
VARIANT R8(double v);
VARIANT Bool(bool v);
VARIANT Text(const wchar_t* s); // the caller clears it

} // namespace glimtest
