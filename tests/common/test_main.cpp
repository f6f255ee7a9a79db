#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

// Every test program runs on one apartment-threaded UI thread, as hosts do.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) return 2;
    int rc = RUN_ALL_TESTS();
    OleUninitialize();
    return rc;
}
