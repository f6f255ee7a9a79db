#pragma once
// Marks for count_requests.sh, which counts the window server's requests
// between them.  Opening a named event that does not exist is one request,
// and the server's trace shows it with its name.
#include <windows.h>

#include <string>

namespace glimbench {

// The next `times` operations are one measurement called label (no colons).
inline void BeginRequests(const std::string& label, int times) {
    const std::string name = "GlimBench:" + label + ":" + std::to_string(times);
    if (const HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, name.c_str())) CloseHandle(h);
}

// The measurement begun last ends here.
inline void EndRequests() {
    if (const HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, "GlimBench:end")) CloseHandle(h);
}

// The programs this process starts, and those they start, are one
// measurement called label up to EndRequests: their requests count, this
// process's own do not.  Begun before the start, it counts from the first.
inline void BeginStartedRequests(const std::string& label) {
    const std::string name = "GlimBench:" + label + ":1:started";
    if (const HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, name.c_str())) CloseHandle(h);
}

// Runs f times times between the marks of one measurement.
template <class F>
void CountRequests(const std::string& label, int times, F&& f) {
    BeginRequests(label, times);
    for (int i = 0; i < times; ++i)
        f();
    EndRequests();
}

} // namespace glimbench
