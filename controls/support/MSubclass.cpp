#include "MSubclass.h"

#include <string>

#include "GlimError.h"

namespace glim {

namespace {

// The message and previous procedure of the dispatch under way on this thread.
thread_local UINT tCurrentMessage = 0;
thread_local WNDPROC tOldWindowProc = nullptr;
// How many dispatches with clients are running on this thread (nesting).
thread_local int tDispatchDepth = 0;

std::string Decimal(HWND hWnd) {
    return std::to_string(reinterpret_cast<LONG_PTR>(hWnd));
}

// Message numbers are written as signed 32-bit values.
std::string Decimal(UINT iMsg) {
    return std::to_string(static_cast<INT32>(iMsg));
}

std::string ProcKey(HWND hWnd) {
    return Decimal(hWnd);
}
std::string AttachCountKey(HWND hWnd) {
    std::string key = "C";
    key += Decimal(hWnd);
    return key;
}
std::string ClientCountKey(HWND hWnd, UINT iMsg) {
    return Decimal(hWnd) + "#" + Decimal(iMsg) + "C";
}
std::string ClientKey(HWND hWnd, UINT iMsg, LONG_PTR i) {
    return Decimal(hWnd) + "#" + Decimal(iMsg) + "#" + std::to_string(i);
}

LONG_PTR GetNumber(HWND hWnd, const std::string& key) {
    return reinterpret_cast<LONG_PTR>(GetPropA(hWnd, key.c_str()));
}
void SetNumber(HWND hWnd, const std::string& key, LONG_PTR value) {
    SetPropA(hWnd, key.c_str(), reinterpret_cast<HANDLE>(value));
}

ISubclass* GetClient(HWND hWnd, UINT iMsg, LONG_PTR i) {
    return reinterpret_cast<ISubclass*>(GetPropA(hWnd, ClientKey(hWnd, iMsg, i).c_str()));
}

WNDPROC GetOldProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(GetPropA(hWnd, ProcKey(hWnd).c_str()));
}

// Keeps an outer client's view of the per-thread values across a nested
// dispatch; the outermost dispatch leaves its last values in place.
class DispatchScope {
  public:
    DispatchScope() : savedMessage_(tCurrentMessage), savedProc_(tOldWindowProc) { ++tDispatchDepth; }
    ~DispatchScope() {
        if (--tDispatchDepth > 0) {
            tCurrentMessage = savedMessage_;
            tOldWindowProc = savedProc_;
        }
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

  private:
    UINT savedMessage_;
    WNDPROC savedProc_;
};

LRESULT Dispatch(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC oldProc = GetOldProc(hWnd);
    const LONG_PTR n = GetNumber(hWnd, ClientCountKey(hWnd, iMsg));
    bool oldCalled = false;
    LRESULT result = 0;

    if (n < 1) return CallWindowProcA(oldProc, hWnd, iMsg, wParam, lParam);

    DispatchScope scope;
    for (LONG_PTR i = 1; i <= n; ++i) {
        ISubclass* raw = GetClient(hWnd, iMsg, i);
        if (!raw) {
            // A client detached meanwhile: the window still gets its answer.
            result = CallWindowProcA(oldProc, hWnd, iMsg, wParam, lParam);
            continue;
        }
        // Counted for the length of this client's calls, so it may detach
        // and drop its last reference from inside.
        const Ref<ISubclass> client(raw);
        tCurrentMessage = iMsg;
        tOldWindowProc = oldProc;
        if (i == 1 && client->MsgResponse() == mrDefaultBefore && !oldCalled) {
            CallWindowProcA(oldProc, hWnd, iMsg, wParam, lParam);
            oldCalled = true;
        }
        result = client->WindowProc(hWnd, iMsg, wParam, lParam);
        if (i == n && client->MsgResponse() == mrDefaultAfter && !oldCalled) {
            result = CallWindowProcA(oldProc, hWnd, iMsg, wParam, lParam);
            oldCalled = true;
        }
    }
    return result;
}

const char* Description(long n) {
    switch (n) {
    case kErrCantSubclass:
        return "Can't subclass window";
    case kErrAlreadyHandled:
        return "Message already handled by another class";
    case kErrInvalidWindow:
        return "Invalid window";
    case kErrExternalWindow:
        return "Can't modify external window";
    default:
        return "";
    }
}

} // namespace

void MSubclass_ErrRaise(long n) {
    if (n <= 1000) throw Error(n, "", "");
    throw Error(static_cast<long>(0x80040000u | static_cast<unsigned long>(n)), kWindowProcSource,
                Description(n));
}

bool MSubclass_IsMyWindow(HWND hWnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    return pid == GetCurrentProcessId();
}

void AttachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) {
    if (!IsWindow(hWnd)) MSubclass_ErrRaise(kErrInvalidWindow);
    if (!MSubclass_IsMyWindow(hWnd)) MSubclass_ErrRaise(kErrExternalWindow);

    const LONG_PTR attached = GetNumber(hWnd, AttachCountKey(hWnd));
    if (attached != 0) {
        SetNumber(hWnd, AttachCountKey(hWnd), attached + 1);
    } else {
        const LONG_PTR old =
            SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MSubclass_WindowProc));
        if (old == 0) MSubclass_ErrRaise(kErrCantSubclass);
        SetNumber(hWnd, ProcKey(hWnd), old);
        SetNumber(hWnd, AttachCountKey(hWnd), 1);
    }

    // The attach count stays raised on a duplicate, so that the caller's
    // matching DetachMessage balances it.
    const LONG_PTR c = GetNumber(hWnd, ClientCountKey(hWnd, iMsg));
    for (LONG_PTR i = 1; i <= c; ++i)
        if (GetClient(hWnd, iMsg, i) == iwp) MSubclass_ErrRaise(kErrAlreadyHandled);

    SetNumber(hWnd, ClientCountKey(hWnd, iMsg), c + 1);
    SetPropA(hWnd, ClientKey(hWnd, iMsg, c + 1).c_str(), reinterpret_cast<HANDLE>(iwp));
}

void DetachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) noexcept {
    const LONG_PTR attached = GetNumber(hWnd, AttachCountKey(hWnd));
    if (attached == 1) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, GetNumber(hWnd, ProcKey(hWnd)));
        RemovePropA(hWnd, ProcKey(hWnd).c_str());
        RemovePropA(hWnd, AttachCountKey(hWnd).c_str());
    } else if (attached > 1) {
        SetNumber(hWnd, AttachCountKey(hWnd), attached - 1);
    }
    // A window that is not subclassed keeps its count at 0: a negative
    // count would keep the next AttachMessage from installing the procedure.

    const LONG_PTR c = GetNumber(hWnd, ClientCountKey(hWnd, iMsg));
    if (c <= 0) return;
    LONG_PTR k = 0;
    for (LONG_PTR i = 1; i <= c && k == 0; ++i)
        if (GetClient(hWnd, iMsg, i) == iwp) k = i;
    if (k == 0) return;
    for (LONG_PTR j = k + 1; j <= c; ++j)
        SetPropA(hWnd, ClientKey(hWnd, iMsg, j - 1).c_str(),
                 reinterpret_cast<HANDLE>(GetClient(hWnd, iMsg, j)));
    RemovePropA(hWnd, ClientKey(hWnd, iMsg, c).c_str());
    SetNumber(hWnd, ClientCountKey(hWnd, iMsg), c - 1);
}

UINT CurrentMessage() {
    return tCurrentMessage;
}

LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(tOldWindowProc, hWnd, iMsg, wParam, lParam);
}

LRESULT CALLBACK MSubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    try {
        return Dispatch(hWnd, iMsg, wParam, lParam);
    } catch (...) {
        // Clients keep their errors to themselves; one that does not must
        // not unwind through the system's message dispatch.
        return 0;
    }
}

} // namespace glim
