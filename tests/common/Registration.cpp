#include "Registration.h"

#include <gtest/gtest.h>

namespace glimtest {

std::string GlimFormDllPath() {
    return ExeDir() + "GlimForm.dll";
}

DWORD RunRegsvr32(const std::string& args) {
    std::string cmd = "regsvr32.exe /s " + args + " \"" + GlimFormDllPath() + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return ~0u;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = ~0u;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

void RegisterLibraryOnce() {
    static bool done = false;
    if (done) return;
    ASSERT_EQ(RunRegsvr32(), 0u);
    done = true;
}

} // namespace glimtest
