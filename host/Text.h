#pragma once
// Conversions between the ANSI texts the host keeps and the wide strings OLE
// carries.  ANSI is the system code page (936 on the systems the texts are
// written for).
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace glim::host {

std::wstring Widen(const std::string& text, UINT codePage = CP_ACP);
std::string Narrow(const wchar_t* text, UINT codePage = CP_ACP);
// A new BSTR the caller frees.
BSTR AllocBstr(const std::string& text);
// Case-insensitive comparison of two ANSI names, as OLE looks names up.
bool SameName(const std::string& a, const std::string& b);

} // namespace glim::host
