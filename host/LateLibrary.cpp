#include "LateLibrary.h"

#include "GlimError.h"

#include <string>

namespace glim::host {

FARPROC LateLibrary::Find(const char* name) {
    HMODULE module = module_.load();
    if (!module) {
        HMODULE loaded = LoadLibraryA(file_);
        if (!loaded) throw glim::Error(48, file_, std::string("Error in loading DLL ") + file_);
        // Two threads may load it at once: the library counts both loads, and
        // the one that comes second gives its count back.
        if (module_.compare_exchange_strong(module, loaded))
            module = loaded;
        else
            FreeLibrary(loaded);
    }
    const FARPROC proc = GetProcAddress(module, name);
    if (!proc) throw glim::Error(453, file_, std::string("Specified DLL function not found: ") + name);
    return proc;
}

} // namespace glim::host
