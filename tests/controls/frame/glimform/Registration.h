#pragma once
// Where the test program finds GlimForm.dll, and registering it with the
// real regsvr32 as an installer would.
#include <windows.h>

#include <string>

namespace glimtest {

// The folder of the test program, with its trailing separator.
std::string ExeDir();
std::string GlimFormDllPath();
// regsvr32 /s <args> GlimForm.dll; its exit code, ~0 when it did not run.
DWORD RunRegsvr32(const std::string& args = "");

} // namespace glimtest
