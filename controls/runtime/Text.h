#pragma once
// Conversions between the system code page the controls speak and the
// UTF-16 that COM carries.
#include <windows.h>

#include <string>

namespace glim {

std::wstring Widen(const std::string& s);
std::string Narrow(const wchar_t* s, int length = -1);
inline std::string Narrow(const std::wstring& s) {
    return Narrow(s.c_str(), static_cast<int>(s.size()));
}
// A BSTR's whole length, embedded zeros included.
std::string NarrowBstr(BSTR s);
// A new BSTR the caller owns.
BSTR AllocBstr(const std::string& s);

} // namespace glim
