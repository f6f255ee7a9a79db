// Build-time generator: writes GlimFormControl.tlb and the C++ interface
// header from the one description.
//   glim_typelib_gen win32|win64 <tlb path> <header path>
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "GlimFormControlDesc.h"
#include "HeaderWriter.h"
#include "TypeLibWriter.h"

namespace {

std::wstring WideArg(const char* s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

// Leaves an unchanged header alone so its users are not rebuilt.
bool WriteIfChanged(const char* path, const std::string& text) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::ostringstream old;
            old << in.rdbuf();
            if (old.str() == text) return true;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[1], "win32") != 0 && std::strcmp(argv[1], "win64") != 0)) {
        std::fprintf(stderr, "usage: glim_typelib_gen win32|win64 <tlb> <header>\n");
        return 2;
    }
    const SYSKIND syskind = std::strcmp(argv[1], "win32") == 0 ? SYS_WIN32 : SYS_WIN64;
    if (FAILED(CoInitialize(nullptr))) {
        std::fprintf(stderr, "glim_typelib_gen: COM did not start\n");
        return 1;
    }
    int rc = 0;
    try {
        const glim::typelib::Library& lib = glim::typelib::GlimFormControl();
        const std::string header = glim::typelib::BuildHeader(lib);
        DeleteFileW(WideArg(argv[2]).c_str());
        glim::typelib::WriteTypeLib(lib, syskind, WideArg(argv[2]));
        if (!WriteIfChanged(argv[3], header)) {
            std::fprintf(stderr, "glim_typelib_gen: cannot write %s\n", argv[3]);
            rc = 1;
        }
    } catch (const glim::typelib::WriteError& e) {
        std::fprintf(stderr, "glim_typelib_gen: %s\n", e.what());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}
