#pragma once
// Conversions between the system code page the controls and the host speak
// (936 on the systems the texts are written for) and the UTF-16 that COM
// carries.  Lengths are honoured, so embedded zeros survive both ways.
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace glim {

std::wstring Widen(const std::string& s, UINT codePage = CP_ACP);
std::string Narrow(const wchar_t* s, int length = -1);
inline std::string Narrow(const std::wstring& s) {
    return Narrow(s.c_str(), static_cast<int>(s.size()));
}
// A BSTR's whole length, embedded zeros included.
std::string NarrowBstr(BSTR s);
// A new BSTR the caller owns.
BSTR AllocBstr(const std::string& s);
// Case-insensitive comparison of two names, as OLE looks names up.
bool SameName(const std::string& a, const std::string& b);
// The access key a caption marks with "&": the whole character after the
// first single "&" (both bytes of a double-byte one), an ASCII letter in
// lower case; "&&" is a literal ampersand.  Empty when there is none, or
// when it is not among the first `marks` ampersands or pairs examined.
std::string AccessKeyOf(const std::string& caption, size_t marks = std::string::npos);
// A text on one line: backslash, CR and LF written as \\, \r and \n.
std::string EscapeLine(const std::string& s);
// The text EscapeLine wrote.
std::string UnescapeLine(const std::string& s);

} // namespace glim
