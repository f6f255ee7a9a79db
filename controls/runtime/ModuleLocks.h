#pragma once
// Count of live objects and server locks, for DllCanUnloadNow.
namespace glim {

void LockModule();
void UnlockModule();
long ModuleLockCount();

} // namespace glim
