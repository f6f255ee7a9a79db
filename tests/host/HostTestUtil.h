#pragma once
// Helpers shared by the host tests.
#include "HostForm.h"
#include "LateBound.h"
#include "TestControl.h"

#include <functional>

namespace hosttest {

// Pumps through the forms' key pre-translation until pred() holds or the
// deadline passes.
inline bool PumpHostUntil(const std::function<bool()>& pred, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    for (;;) {
        glim::host::HostForm::PumpPending();
        if (pred()) return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpHost() {
    PumpHostUntil([] { return false; }, 0);
}

// Sets the thread's view of a modifier key for posted keyboard messages.
inline void SetKeyDown(int vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Posts a key press to the focused window (or a given one).
inline void PostKey(UINT vk, HWND target = nullptr, bool alt = false) {
    HWND to = target ? target : GetFocus();
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM flags = 1 | (alt ? (1 << 29) : 0);
    PostMessageA(to, down, vk, flags);
}

inline glim::Variant Prop(IDispatch* d, const char* name) {
    return glim::GetProperty(d, name);
}

} // namespace hosttest
