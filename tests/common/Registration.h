#pragma once
// Where the test program finds GlimForm.dll, and registering it with the
// real regsvr32 as an installer would.
#include "programs.h"

#include <windows.h>

#include <string>

namespace glimtest {

std::string GlimFormDllPath();
// regsvr32 /s <args> GlimForm.dll; its exit code, ~0 when it did not run.
DWORD RunRegsvr32(const std::string& args = "");
// Registers GlimForm.dll with regsvr32 the first time a test asks in this run.
void RegisterLibraryOnce();

} // namespace glimtest
