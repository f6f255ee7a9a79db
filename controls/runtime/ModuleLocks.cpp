#include "ModuleLocks.h"

#include <windows.h>

namespace glim {

namespace {
LONG g_locks = 0;
}

void LockModule() {
    InterlockedIncrement(&g_locks);
}
void UnlockModule() {
    InterlockedDecrement(&g_locks);
}
long ModuleLockCount() {
    return g_locks;
}

} // namespace glim
