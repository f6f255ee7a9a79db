#include "MSubclass.h"
#include "NonCopyable.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "GlimError.h"

namespace glim {

namespace {

// The message and previous procedure of the dispatch under way on this thread.
thread_local UINT tCurrentMessage = 0;
thread_local WNDPROC tOldWindowProc = nullptr;
// How many dispatches with clients are running on this thread (nesting).
thread_local int tDispatchDepth = 0;

std::string ProcKey(HWND hWnd) {
    return std::to_string(reinterpret_cast<LONG_PTR>(hWnd));
}

WNDPROC GetOldProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(GetPropA(hWnd, ProcKey(hWnd).c_str()));
}

// Every read or write of a window's property list is a server round trip
// under Wine, and attaching a frame subscribes some thirty messages; so the
// counts and client lists live here, in process memory, and the list holds
// only the previous procedure, for code outside the module.
struct WindowRecord {
    enum State {
        Subclassed,  // attach count above 0
        PassThrough, // detached while another procedure sat above the shared one
        Out,         // not in the window's chain; kept only for its client lists
    };
    State state = Out;
    WNDPROC previous = nullptr; // the previous-procedure key, or what a pass-through forwards to
    LONG_PTR attached = 0;      // AttachMessage calls that passed the checks, less DetachMessage calls
    std::unordered_map<UINT, std::vector<ISubclass*>> clients; // raw client pointers, attach order
};

// Process-wide, as windows of any thread may be subclassed; nothing calls out
// while holding the lock.
class RecordTable {
  public:
    class Lock : NonCopyable {
      public:
        Lock() { AcquireSRWLockExclusive(&lock_); }
        ~Lock() { ReleaseSRWLockExclusive(&lock_); }
    };

    // Null when the module keeps no record of the window.
    static WindowRecord* Find(HWND hWnd) {
        const auto it = records_.find(hWnd);
        return it == records_.end() ? nullptr : &it->second;
    }
    static WindowRecord& FindOrCreate(HWND hWnd) {
        if (WindowRecord* record = Find(hWnd)) return *record;
        // Records of windows destroyed without a last dispatch go here, so
        // a recycled handle never meets a stale record.
        for (auto it = records_.begin(); it != records_.end();)
            it = IsWindow(it->first) ? std::next(it) : records_.erase(it);
        return records_[hWnd];
    }
    static void Erase(HWND hWnd) { records_.erase(hWnd); }

  private:
    static inline SRWLOCK lock_ = SRWLOCK_INIT;
    static inline std::unordered_map<HWND, WindowRecord> records_;
};

// A record with nothing left to keep goes.
void ForgetIfUnused(HWND hWnd) {
    const RecordTable::Lock lock;
    const WindowRecord* record = RecordTable::Find(hWnd);
    if (!record || record->state != WindowRecord::Out) return;
    for (const auto& [msg, list] : record->clients)
        if (!list.empty()) return;
    RecordTable::Erase(hWnd);
}

// Client i (1-based) of iMsg as the record holds it; 0 past the end.
ISubclass* RecordedClient(const WindowRecord& record, UINT iMsg, LONG_PTR i) {
    const auto it = record.clients.find(iMsg);
    if (it == record.clients.end() || i < 1 || static_cast<size_t>(i) > it->second.size()) return nullptr;
    return it->second[static_cast<size_t>(i - 1)];
}

// Keeps an outer client's view of the per-thread values across a nested
// dispatch; the outermost dispatch leaves its last values in place.
class DispatchScope : NonCopyable {
  public:
    DispatchScope() : savedMessage_(tCurrentMessage), savedProc_(tOldWindowProc) { ++tDispatchDepth; }
    ~DispatchScope() {
        if (--tDispatchDepth > 0) {
            tCurrentMessage = savedMessage_;
            tOldWindowProc = savedProc_;
        }
    }

  private:
    UINT savedMessage_;
    WNDPROC savedProc_;
};

// What the dispatcher needs of a window before its first client.
struct DispatchStart {
    bool known = false; // false: out of the chain, the previous procedure is read from the list
    bool passThrough = false;
    WNDPROC previous = nullptr;
    LONG_PTR clients = 0;
    ISubclass* first = nullptr; // entry 1, read in the same pass
};

DispatchStart StartOf(HWND hWnd, UINT iMsg) {
    DispatchStart start;
    const RecordTable::Lock lock;
    const WindowRecord* record = RecordTable::Find(hWnd);
    if (!record) return start;
    // Out of the chain yet called (through a copy of its address somebody
    // kept): the clients still subscribed answer.
    start.known = record->state != WindowRecord::Out;
    start.passThrough = record->state == WindowRecord::PassThrough;
    start.previous = record->previous;
    const auto it = record->clients.find(iMsg);
    if (it != record->clients.end() && !it->second.empty()) {
        start.clients = static_cast<LONG_PTR>(it->second.size());
        start.first = it->second.front();
    }
    return start;
}

// Entry i read afresh, as a client may have detached meanwhile.
ISubclass* ClientAt(HWND hWnd, UINT iMsg, LONG_PTR i) {
    const RecordTable::Lock lock;
    const WindowRecord* record = RecordTable::Find(hWnd);
    return record ? RecordedClient(*record, iMsg, i) : nullptr;
}

// The shared procedure left below somebody else's: it only forwards, and
// steps out once it is the window's procedure again.
LRESULT PassThrough(HWND hWnd, WNDPROC previous, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &MSubclass_WindowProc) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        const RecordTable::Lock lock;
        RecordTable::Erase(hWnd);
    }
    return CallWindowProcA(previous, hWnd, iMsg, wParam, lParam);
}

LRESULT Dispatch(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    const DispatchStart start = StartOf(hWnd, iMsg);
    if (start.passThrough) return PassThrough(hWnd, start.previous, iMsg, wParam, lParam);
    const WNDPROC oldProc = start.known ? start.previous : GetOldProc(hWnd);
    const LONG_PTR n = start.clients;
    bool oldCalled = false;
    LRESULT result = 0;

    if (n < 1) return CallWindowProcA(oldProc, hWnd, iMsg, wParam, lParam);

    DispatchScope scope;
    for (LONG_PTR i = 1; i <= n; ++i) {
        ISubclass* raw = i == 1 ? start.first : ClientAt(hWnd, iMsg, i);
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

    bool install = false;
    WNDPROC previous = nullptr;
    {
        const RecordTable::Lock lock;
        WindowRecord& record = RecordTable::FindOrCreate(hWnd);
        install = record.attached == 0;
        // Still in the chain below somebody else's procedure: it dispatches
        // again from there; installing it a second time would make it its
        // own previous procedure.
        if (install && record.state == WindowRecord::PassThrough) previous = record.previous;
        if (!install) ++record.attached;
    }
    if (install) {
        if (!previous) {
            previous = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MSubclass_WindowProc)));
            if (!previous) {
                ForgetIfUnused(hWnd);
                MSubclass_ErrRaise(kErrCantSubclass);
            }
        }
        SetPropA(hWnd, ProcKey(hWnd).c_str(), reinterpret_cast<HANDLE>(previous));
        const RecordTable::Lock lock;
        WindowRecord& record = RecordTable::FindOrCreate(hWnd);
        record.previous = previous;
        record.state = WindowRecord::Subclassed;
        record.attached = 1;
    }

    // The attach count stays raised on a duplicate, so that the caller's
    // matching DetachMessage balances it.
    const RecordTable::Lock lock;
    std::vector<ISubclass*>& list = RecordTable::FindOrCreate(hWnd).clients[iMsg];
    for (ISubclass* client : list)
        if (client == iwp) MSubclass_ErrRaise(kErrAlreadyHandled);
    list.push_back(iwp);
}

void DetachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) noexcept {
    WNDPROC previous = nullptr;
    bool last = false;
    {
        const RecordTable::Lock lock;
        WindowRecord* record = RecordTable::Find(hWnd);
        // A window that is not subclassed keeps its count at 0: a negative
        // count would keep the next AttachMessage from installing the procedure.
        if (!record) return;
        last = record->attached == 1;
        if (record->attached > 0) --record->attached;
        previous = record->previous;
        const auto it = record->clients.find(iMsg);
        if (it != record->clients.end()) {
            std::vector<ISubclass*>& list = it->second;
            const auto k = std::find(list.begin(), list.end(), iwp);
            if (k != list.end()) list.erase(k);
        }
    }
    if (last) {
        // A procedure installed above the shared one since keeps its place
        // and its own previous procedure: the shared one stays beneath it,
        // passing every message through.
        const bool onTop =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &MSubclass_WindowProc;
        if (onTop) SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hWnd, ProcKey(hWnd).c_str());
        const RecordTable::Lock lock;
        if (WindowRecord* record = RecordTable::Find(hWnd)) {
            record->previous = onTop ? nullptr : previous;
            record->state = onTop ? WindowRecord::Out : WindowRecord::PassThrough;
        }
    }
    ForgetIfUnused(hWnd);
}

long ClientCount(HWND hWnd, UINT iMsg) {
    const RecordTable::Lock lock;
    const WindowRecord* record = RecordTable::Find(hWnd);
    if (!record) return 0;
    const auto it = record->clients.find(iMsg);
    return it == record->clients.end() ? 0 : static_cast<long>(it->second.size());
}

UINT CurrentMessage() {
    return tCurrentMessage;
}

LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(tOldWindowProc, hWnd, iMsg, wParam, lParam);
}

LRESULT CALLBACK MSubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        result = Dispatch(hWnd, iMsg, wParam, lParam);
    } catch (...) {
        // Clients keep their errors to themselves; one that does not must
        // not unwind through the system's message dispatch.
    }
    if (iMsg == WM_NCDESTROY) {
        // The window's last message: its handle may be reused.
        const RecordTable::Lock lock;
        RecordTable::Erase(hWnd);
    }
    return result;
}

} // namespace glim
