#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A crash that no test catches (on another thread, at exit) ends the program
// at once with its exception code: Wine's debugger would wait, unseen, for
// someone to close its dialog until ctest's time ran out.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "crash: exception %08lx at %p\n", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

// Every test program runs on one apartment-threaded UI thread, as hosts do.
int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(EndOnCrash);
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) return 2;
    int rc = RUN_ALL_TESTS();
    OleUninitialize();
    return rc;
}
