#pragma once
// A system library loaded by its first use instead of with the program.
// Under Wine an imported library is mapped, initialised and reads its
// registry settings at every start, with the libraries it imports in turn:
// comdlg32 brings the shell, common-control and printer libraries, winmm
// the audio codec manager.  Once loaded the library stays until the process
// ends, as an import would: its windows and threads (a dialog's shell view,
// the media player's notifications) may outlive any one caller.
#include <windows.h>

#include "NonCopyable.h"

#include <atomic>

namespace glim::host {

class LateLibrary : NonCopyable {
  public:
    explicit constexpr LateLibrary(const char* file) : file_(file) {}

    // A procedure of the library, by the type of the declared function;
    // raises "Error in loading DLL" (48) or "Specified DLL function not
    // found" (453) when the library or the procedure is missing.
    template <class F>
    F* Proc(const char* name) {
        return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(Find(name)));
    }

  private:
    FARPROC Find(const char* name);

    const char* file_;                      // as LoadLibrary takes it
    std::atomic<HMODULE> module_ = nullptr; // loaded by the first Find, never freed
};

} // namespace glim::host
