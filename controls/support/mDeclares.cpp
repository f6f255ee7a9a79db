#include "mDeclares.h"

#include <algorithm>
#include <vector>

namespace glim {

namespace {

// One set per thread: the hooks are thread hooks of this thread.
thread_local HHOOK tKeyboardHook = nullptr;
thread_local std::vector<IKeyboardClient*> tKeyboardClients; // uncounted, registration order
thread_local HHOOK tMenuHook = nullptr;
thread_local IMenuFilterClient* tMenuClient = nullptr; // uncounted; kept after the hook goes

constexpr LPARAM kAltDown = LPARAM(1) << 29;
constexpr LPARAM kKeyReleased = LPARAM(1) << 31;

bool IsAcceleratorCandidate(WPARAM vKey, LPARAM flags) {
    if (!(flags & kAltDown)) return false;
    if (vKey == 0 || vKey == VK_MENU) return false;
    if (flags & kKeyReleased) return false;
    // Any non-zero state, the pressed-since-last-query bit included, counts as Ctrl held.
    if (GetAsyncKeyState(VK_CONTROL) != 0) return false;
    if (vKey >= VK_F1 && vKey <= VK_F12) return false;
    if (vKey == VK_ESCAPE || vKey == VK_DELETE) return false;
    return true;
}

} // namespace

void mDeclares_AttachKeyboardHook(IKeyboardClient* client) {
    if (!tKeyboardHook)
        tKeyboardHook = SetWindowsHookExA(WH_KEYBOARD, mDeclares_FnPtr(&mDeclares_KeyboardProc), nullptr,
                                          GetCurrentThreadId());
    if (mDeclares_FindKeyboardClient(client) > 0) return;
    tKeyboardClients.push_back(client);
}

void mDeclares_DetachKeyboardHook(IKeyboardClient* client) {
    const long k = mDeclares_FindKeyboardClient(client);
    if (k > 0) tKeyboardClients.erase(tKeyboardClients.begin() + (k - 1));
    if (tKeyboardClients.empty() && tKeyboardHook) {
        UnhookWindowsHookEx(tKeyboardHook);
        tKeyboardHook = nullptr;
    }
}

long mDeclares_FindKeyboardClient(IKeyboardClient* client) {
    const auto it = std::find(tKeyboardClients.begin(), tKeyboardClients.end(), client);
    return it == tKeyboardClients.end() ? 0 : static_cast<long>(it - tKeyboardClients.begin()) + 1;
}

bool mDeclares_GetActiveKeyboardClient(Ref<IKeyboardClient>& client) {
    // By index: a client may unregister while it is asked.
    for (size_t i = 0; i < tKeyboardClients.size(); ++i) {
        IKeyboardClient* raw = tKeyboardClients[i];
        if (!raw) continue;
        Ref<IKeyboardClient> candidate = mDeclares_ObjectFromPtr(raw);
        if (candidate->WindowActive()) {
            client = candidate;
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK mDeclares_KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = tKeyboardHook;
    try {
        Ref<IKeyboardClient> client;
        if (nCode == HC_ACTION && hook && IsAcceleratorCandidate(wParam, lParam) &&
            mDeclares_GetActiveKeyboardClient(client) && client->AltKeyAccelerator(static_cast<long>(wParam)))
            return 1;
    } catch (...) {
        // A failing client neither swallows the key nor passes it on.
        return 0;
    }
    return CallNextHookEx(hook, nCode, wParam, lParam);
}

void mDeclares_InstallMenuHook(IMenuFilterClient* client) {
    mDeclares_RemoveMenuHook();
    tMenuClient = client;
    tMenuHook = SetWindowsHookExA(WH_MSGFILTER, mDeclares_FnPtr(&mDeclares_MsgFilterProc), nullptr,
                                  GetCurrentThreadId());
}

void mDeclares_RemoveMenuHook() {
    if (!tMenuHook) return;
    UnhookWindowsHookEx(tMenuHook);
    tMenuHook = nullptr;
}

LRESULT CALLBACK mDeclares_MsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == MSGF_MENU && tMenuClient && lParam) {
        const Ref<IMenuFilterClient> client = mDeclares_ObjectFromPtr(tMenuClient);
        MSG copy = *reinterpret_cast<const MSG*>(lParam);
        bool handled = false;
        try {
            client->MsgFilter(copy, handled);
        } catch (...) {
            // No error may unwind through the menu loop; the message goes on.
            handled = false;
        }
        if (handled) return 1;
    }
    return CallNextHookEx(tMenuHook, nCode, wParam, lParam);
}

HHOOK mDeclares_KeyboardHook() {
    return tKeyboardHook;
}

long mDeclares_KeyboardClientCount() {
    return static_cast<long>(tKeyboardClients.size());
}

HHOOK mDeclares_MenuHook() {
    return tMenuHook;
}

IMenuFilterClient* mDeclares_MenuClient() {
    return tMenuClient;
}

} // namespace glim
