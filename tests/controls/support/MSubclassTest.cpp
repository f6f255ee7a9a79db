// Subclassing through real windows: dispatch order, results, the previous
// procedure on the window, errors and detaching in the middle of a dispatch.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "GSubclass.h"
#include "GlimError.h"
#include "MSubclass.h"
#include "pump.h"
#include "raised.h"

using glim::ISubclass;
using glim::MsgResponseMode;

namespace {

constexpr UINT kMsg = WM_APP + 1;
constexpr UINT kOtherMsg = WM_APP + 2;
constexpr LRESULT kOldResult = 4242;

std::vector<std::string>* gLog = nullptr;

void Record(const std::string& what) {
    if (gLog) gLog->push_back(what);
}

// The window's own procedure: records, answers kOldResult for private messages.
LRESULT CALLBACK OldProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP) {
        Record("old");
        return kOldResult + static_cast<LRESULT>(wParam);
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// A second procedure placed above OldProc by plain subclassing.
WNDPROC gBelowChain = nullptr;
LRESULT CALLBACK ChainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP) Record("chain");
    return CallWindowProcA(gBelowChain, hWnd, msg, wParam, lParam);
}

class Client : public ISubclass {
  public:
    Client(std::string name, long mode, LRESULT result, bool* destroyed = nullptr)
        : name_(std::move(name)), mode_(mode), result_(result), destroyed_(destroyed) {}

    MsgResponseMode MsgResponse() override {
        Record(name_ + ".response");
        return static_cast<MsgResponseMode>(mode_);
    }
    LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override {
        Record(name_ + ".proc");
        seenMessage = glim::CurrentMessage();
        ++calls;
        if (onProc) return onProc(hWnd, iMsg, wParam, lParam);
        return result_;
    }

    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> onProc;
    UINT seenMessage = 0;
    int calls = 0;

  private:
    ~Client() override {
        if (destroyed_) *destroyed_ = true;
    }
    std::string name_;
    long mode_;
    LRESULT result_;
    bool* destroyed_;
};

std::string H(HWND w) {
    return std::to_string(reinterpret_cast<LONG_PTR>(w));
}

struct PropSnapshot {
    std::set<std::string> keys;
};

BOOL CALLBACK CollectProp(HWND, LPSTR key, HANDLE, ULONG_PTR data) {
    // Atoms come as small integers; the module only uses strings.
    if (reinterpret_cast<ULONG_PTR>(key) > 0xFFFF) reinterpret_cast<PropSnapshot*>(data)->keys.insert(key);
    return TRUE;
}

std::set<std::string> PropKeys(HWND w) {
    PropSnapshot s;
    EnumPropsExA(w, CollectProp, reinterpret_cast<LPARAM>(&s));
    return s.keys;
}

LONG_PTR Prop(HWND w, const std::string& key) {
    return reinterpret_cast<LONG_PTR>(GetPropA(w, key.c_str()));
}

class Subclassing : public ::testing::Test {
  protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }

    glim::Ref<Client> Make(const char* name, long mode, LRESULT result = 0) {
        return glim::MakeRef<Client>(name, mode, result);
    }

    std::vector<std::string> log;
    glimtest::TestWindow w{WS_OVERLAPPEDWINDOW, 200, 100, OldProc};
};

using Log = std::vector<std::string>;

TEST_F(Subclassing, ThreeClientsFirstAsksBeforeCallsOldOnceFirstAndReturnsLastResult) {
    auto c1 = Make("c1", glim::mrDefaultBefore, 1);
    auto c2 = Make("c2", glim::mrDefaultAfter, 2); // never read
    auto c3 = Make("c3", glim::mrNoDefault, 3);
    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::AttachMessage(c, w, kMsg);

    EXPECT_EQ(SendMessageA(w, kMsg, 0, 0), 3);
    EXPECT_EQ(log, (Log{"c1.response", "old", "c1.proc", "c2.proc", "c3.proc", "c3.response"}));

    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::DetachMessage(c, w, kMsg);
}

TEST_F(Subclassing, LastClientAskingAfterGetsOldResult) {
    auto c1 = Make("c1", glim::mrNoDefault, 1);
    auto c2 = Make("c2", glim::mrDefaultBefore, 2); // in the middle: never read
    auto c3 = Make("c3", glim::mrDefaultAfter, 3);
    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::AttachMessage(c, w, kMsg);

    EXPECT_EQ(SendMessageA(w, kMsg, 5, 0), kOldResult + 5);
    EXPECT_EQ(log, (Log{"c1.response", "c1.proc", "c2.proc", "c3.proc", "c3.response", "old"}));

    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::DetachMessage(c, w, kMsg);
}

TEST_F(Subclassing, NoDefaultAndUnknownValuesNeverCallOld) {
    auto c1 = Make("c1", 7, 1);
    auto c2 = Make("c2", glim::mrNoDefault, 2);
    auto c3 = Make("c3", -1, 3);
    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::AttachMessage(c, w, kMsg);

    EXPECT_EQ(SendMessageA(w, kMsg, 0, 0), 3);
    EXPECT_EQ(log, (Log{"c1.response", "c1.proc", "c2.proc", "c3.proc", "c3.response"}));

    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::DetachMessage(c, w, kMsg);
}

TEST_F(Subclassing, OneClientIsAskedBeforeAndAfter) {
    auto after = Make("c", glim::mrDefaultAfter, 9);
    glim::AttachMessage(after.get(), w, kMsg);
    EXPECT_EQ(SendMessageA(w, kMsg, 1, 0), kOldResult + 1);
    EXPECT_EQ(log, (Log{"c.response", "c.proc", "c.response", "old"}));
    glim::DetachMessage(after.get(), w, kMsg);

    log.clear();
    auto before = Make("b", glim::mrDefaultBefore, 9);
    glim::AttachMessage(before.get(), w, kMsg);
    EXPECT_EQ(SendMessageA(w, kMsg, 1, 0), 9);
    EXPECT_EQ(log, (Log{"b.response", "old", "b.proc", "b.response"}));
    glim::DetachMessage(before.get(), w, kMsg);
}

TEST_F(Subclassing, FirstBeforeAndLastAfterCallOldOnlyOnce) {
    auto c1 = Make("c1", glim::mrDefaultBefore, 1);
    auto c2 = Make("c2", glim::mrDefaultAfter, 2);
    glim::AttachMessage(c1.get(), w, kMsg);
    glim::AttachMessage(c2.get(), w, kMsg);
    EXPECT_EQ(SendMessageA(w, kMsg, 0, 0), 2);
    EXPECT_EQ(log, (Log{"c1.response", "old", "c1.proc", "c2.proc", "c2.response"}));
    glim::DetachMessage(c1.get(), w, kMsg);
    glim::DetachMessage(c2.get(), w, kMsg);
}

TEST_F(Subclassing, UnsubscribedMessageGoesStraightToOldAndLeavesCurrentMessage) {
    auto c = Make("c", glim::mrNoDefault, 1);
    glim::AttachMessage(c.get(), w, kMsg);
    SendMessageA(w, kMsg, 0, 0);
    ASSERT_EQ(glim::CurrentMessage(), kMsg);

    log.clear();
    EXPECT_EQ(SendMessageA(w, kOtherMsg, 3, 0), kOldResult + 3);
    EXPECT_EQ(log, (Log{"old"}));
    EXPECT_EQ(glim::CurrentMessage(), kMsg);
    glim::DetachMessage(c.get(), w, kMsg);
}

TEST_F(Subclassing, TheWindowCarriesOnlyItsPreviousProcedure) {
    const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
    const auto keysBefore = PropKeys(w);
    auto c1 = Make("c1", 0);
    auto c2 = Make("c2", 0);
    glim::AttachMessage(c1.get(), w, kMsg);
    glim::AttachMessage(c2.get(), w, kMsg);
    glim::AttachMessage(c1.get(), w, WM_NCHITTEST);

    const std::string h = H(w);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&glim::MSubclass_WindowProc));
    EXPECT_EQ(Prop(w, h), original);
    auto keys = keysBefore;
    keys.insert(h);
    EXPECT_EQ(PropKeys(w), keys);
    EXPECT_EQ(glim::ClientCount(w, kMsg), 2);
    EXPECT_EQ(glim::ClientCount(w, WM_NCHITTEST), 1);
    // Uncounted: the lists hold no references.
    EXPECT_EQ(c1->RefCount(), 1u);

    glim::DetachMessage(c1.get(), w, kMsg);
    EXPECT_EQ(glim::ClientCount(w, kMsg), 1);
    glim::DetachMessage(c2.get(), w, kMsg);
    EXPECT_EQ(Prop(w, h), original);
    glim::DetachMessage(c1.get(), w, WM_NCHITTEST);

    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
    EXPECT_EQ(PropKeys(w), keysBefore);
    EXPECT_EQ(glim::ClientCount(w, kMsg), 0);
}

TEST_F(Subclassing, RestoresTheExactProcedureOfAPlainChain) {
    gBelowChain =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc)));
    auto c = Make("c", glim::mrDefaultAfter, 1);
    glim::AttachMessage(c.get(), w, kMsg);
    EXPECT_EQ(SendMessageA(w, kMsg, 2, 0), kOldResult + 2);
    EXPECT_EQ(log, (Log{"c.response", "c.proc", "c.response", "chain", "old"}));
    glim::DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ChainProc));
}

// A procedure installed above the shared one must not be cut off by the last
// detach; the shared one forwards until it is on top again, then steps out.
TEST_F(Subclassing, LastDetachBeneathAnotherProcedureKeepsItAndPassesThrough) {
    const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
    const std::string h = H(w);
    auto c = Make("c", glim::mrDefaultAfter, 1);
    glim::AttachMessage(c.get(), w, kMsg);
    gBelowChain =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc)));
    ASSERT_EQ(gBelowChain, &glim::MSubclass_WindowProc);

    struct Phase {
        const char* what;
        bool attach;  // attach (true) or detach (false) the client first
        Log expected; // what one kMsg then reaches
    };
    const Phase phases[] = {
        {"detached beneath the chain", false, {"chain", "old"}},
        {"attached again from beneath", true, {"chain", "c.response", "c.proc", "c.response", "old"}},
        {"detached again", false, {"chain", "old"}},
    };
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.what);
        if (phase.attach)
            glim::AttachMessage(c.get(), w, kMsg);
        else
            glim::DetachMessage(c.get(), w, kMsg);
        EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ChainProc));
        // The property list keeps the previous procedure exactly while subclassed, whatever the chain.
        EXPECT_EQ(Prop(w, h), phase.attach ? original : 0);
        log.clear();
        EXPECT_EQ(SendMessageA(w, kMsg, 2, 0), kOldResult + 2);
        EXPECT_EQ(log, phase.expected);
    }

    // The chain steps out; the shared procedure follows at the next message.
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBelowChain));
    log.clear();
    EXPECT_EQ(SendMessageA(w, kMsg, 3, 0), kOldResult + 3);
    EXPECT_EQ(log, (Log{"old"}));
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);

    // And a new subscription installs afresh.
    glim::AttachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&glim::MSubclass_WindowProc));
    EXPECT_EQ(Prop(w, h), original);
    glim::DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
}

TEST_F(Subclassing, DoubleAttachRaisesAndKeepsCountRaisedUntilPairedDetach) {
    auto c = Make("c", glim::mrNoDefault, 1);
    const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
    glim::AttachMessage(c.get(), w, kMsg);
    // A second attach of the same client raises.
    glimtest::ExpectWindowProcError([&] { glim::AttachMessage(c.get(), w, kMsg); }, 0x8004331Au,
                                    "Message already handled by another class");
    EXPECT_EQ(glim::ClientCount(w, kMsg), 1);

    SendMessageA(w, kMsg, 0, 0);
    EXPECT_EQ(c->calls, 1);

    glim::DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&glim::MSubclass_WindowProc));
    glim::DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
}

TEST_F(Subclassing, DetachOfUnsubscribedClientLowersCountOnly) {
    auto a = Make("a", 0);
    auto b = Make("b", 0);
    auto stranger = Make("s", 0);
    glim::AttachMessage(a.get(), w, kMsg);
    glim::AttachMessage(b.get(), w, kMsg);
    glim::DetachMessage(stranger.get(), w, kMsg);
    EXPECT_EQ(glim::ClientCount(w, kMsg), 2);

    SendMessageA(w, kMsg, 0, 0);
    EXPECT_EQ(log, (Log{"a.response", "a.proc", "b.proc", "b.response"}));

    // The count reached 1 above, so this detach ends the subclassing.
    glim::DetachMessage(a.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OldProc));
    glim::DetachMessage(b.get(), w, kMsg);
}

TEST_F(Subclassing, DetachOnWindowNotSubclassedLeavesNextAttachWorking) {
    auto c = Make("c", glim::mrNoDefault, 77);
    glim::DetachMessage(c.get(), w, kMsg);
    glim::DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(PropKeys(w).count(H(w)), 0u);

    glim::AttachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&glim::MSubclass_WindowProc));
    EXPECT_EQ(SendMessageA(w, kMsg, 0, 0), 77);
    EXPECT_EQ(c->calls, 1);
    glim::DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OldProc));
}

TEST_F(Subclassing, InvalidAndExternalWindowsRaiseAndChangeNothing) {
    auto c = Make("c", 0);
    HWND gone = nullptr;
    {
        glimtest::TestWindow temp;
        gone = temp;
    }
    // A destroyed window is refused.
    glimtest::ExpectWindowProcError([&] { glim::AttachMessage(c.get(), gone, kMsg); }, 0x8004331Bu,
                                    "Invalid window");

    // The desktop window belongs to another process under Wine and Windows.
    HWND desktop = GetDesktopWindow();
    DWORD pid = 0;
    GetWindowThreadProcessId(desktop, &pid);
    if (pid == GetCurrentProcessId()) GTEST_SKIP() << "desktop window lives in this process";
    EXPECT_FALSE(glim::MSubclass_IsMyWindow(desktop));
    EXPECT_TRUE(glim::MSubclass_IsMyWindow(w));
    const auto keysBefore = PropKeys(desktop);
    glimtest::ExpectWindowProcError([&] { glim::AttachMessage(c.get(), desktop, kMsg); }, 0x8004331Cu,
                                    "Can't modify external window");
    EXPECT_EQ(PropKeys(desktop), keysBefore);
}

TEST_F(Subclassing, SmallErrorNumbersAreRaisedAlone) {
    glimtest::ExpectRaises([] { glim::MSubclass_ErrRaise(5); }, 5, static_cast<HRESULT>(0x800A0005), "", "");
    glimtest::ExpectWindowProcError([] { glim::MSubclass_ErrRaise(13081); }, 0x80043319u,
                                    "Can't subclass window");
}

TEST_F(Subclassing, ClientDetachingItselfShiftsTheListAndOldFillsTheGap) {
    auto c1 = Make("c1", glim::mrNoDefault, 1);
    auto c2 = Make("c2", glim::mrNoDefault, 2);
    auto c3 = Make("c3", glim::mrNoDefault, 3);
    for (auto* c : {c1.get(), c2.get(), c3.get()})
        glim::AttachMessage(c, w, kMsg);
    c1->onProc = [&](HWND hWnd, UINT iMsg, WPARAM, LPARAM) -> LRESULT {
        glim::DetachMessage(c1.get(), hWnd, iMsg);
        return 1;
    };

    // c2 moved into c1's place and is skipped; index 3 is empty now.
    EXPECT_EQ(SendMessageA(w, kMsg, 0, 0), kOldResult);
    EXPECT_EQ(log, (Log{"c1.response", "c1.proc", "c3.proc", "old"}));

    log.clear();
    EXPECT_EQ(SendMessageA(w, kMsg, 0, 0), 3);
    EXPECT_EQ(log, (Log{"c2.response", "c2.proc", "c3.proc", "c3.response"}));
    glim::DetachMessage(c2.get(), w, kMsg);
    glim::DetachMessage(c3.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OldProc));
}

TEST_F(Subclassing, ClientDroppingItsLastReferenceInsideDispatchLivesUntilItsCallsEnd) {
    bool destroyed = false;
    auto owner = glim::MakeRef<Client>("c", glim::mrDefaultAfter, 5, &destroyed);
    Client* raw = owner.get();
    glim::AttachMessage(raw, w, kMsg);
    bool aliveAfterDrop = false;
    raw->onProc = [&](HWND hWnd, UINT iMsg, WPARAM, LPARAM) -> LRESULT {
        glim::DetachMessage(raw, hWnd, iMsg); // last subscription: the window is restored
        owner.reset();
        aliveAfterDrop = !destroyed;
        return 5;
    };
    // Still asked after its WindowProc, then the old procedure answers.
    EXPECT_EQ(SendMessageA(w, kMsg, 1, 0), kOldResult + 1);
    EXPECT_TRUE(aliveAfterDrop);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(log, (Log{"c.response", "c.proc", "c.response", "old"}));
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OldProc));
}

TEST_F(Subclassing, NestedDispatchOnAnotherWindowLeavesOuterClientItsOwnValues) {
    glimtest::TestWindow other(WS_OVERLAPPEDWINDOW, 100, 100, DefWindowProcA);
    auto inner = Make("inner", glim::mrNoDefault, 0);
    auto outer = Make("outer", glim::mrNoDefault, 0);
    glim::AttachMessage(inner.get(), other, kOtherMsg);
    glim::AttachMessage(outer.get(), w, kMsg);
    UINT afterNested = 0;
    outer->onProc = [&](HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        SendMessageA(other, kOtherMsg, 0, 0);
        afterNested = glim::CurrentMessage();
        return glim::CallOldWindowProc(hWnd, iMsg, wParam, lParam);
    };

    // Without restoring, CallOldWindowProc would reach DefWindowProcA (0).
    EXPECT_EQ(SendMessageA(w, kMsg, 8, 0), kOldResult + 8);
    EXPECT_EQ(afterNested, kMsg);
    EXPECT_EQ(inner->seenMessage, kOtherMsg);
    EXPECT_EQ(log, (Log{"outer.response", "outer.proc", "inner.response", "inner.proc", "inner.response",
                        "old", "outer.response"}));
    glim::DetachMessage(outer.get(), w, kMsg);
    glim::DetachMessage(inner.get(), other, kOtherMsg);
}

TEST_F(Subclassing, RealSystemMessagesReachClientsAndOld) {
    // WM_SETTEXT through the shared procedure: the client sees it and the
    // previous procedure still stores the text.
    auto c = Make("c", glim::mrDefaultBefore, TRUE);
    glim::AttachMessage(c.get(), w, WM_SETTEXT);
    SetWindowTextA(w, "abc");
    char text[16] = {};
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(c->calls, 1);
    EXPECT_EQ(c->seenMessage, static_cast<UINT>(WM_SETTEXT));
    glim::DetachMessage(c.get(), w, WM_SETTEXT);
}

TEST_F(Subclassing, GSubclassForwardsToTheModule) {
    glim::GSubclass g;
    auto c = Make("c", glim::mrNoDefault, 0);
    LRESULT viaObject = 0;
    UINT current = 0;
    c->onProc = [&](HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        current = g.CurrentMessage();
        viaObject = g.CallOldWindowProc(hWnd, iMsg, wParam, lParam);
        return 1;
    };
    g.AttachMessage(c.get(), w, kMsg);
    EXPECT_THROW(g.AttachMessage(c.get(), w, kMsg), glim::Error);
    EXPECT_EQ(SendMessageA(w, kMsg, 4, 0), 1);
    EXPECT_EQ(viaObject, kOldResult + 4);
    EXPECT_EQ(current, kMsg);
    g.DetachMessage(c.get(), w, kMsg);
    g.DetachMessage(c.get(), w, kMsg);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OldProc));
}

} // namespace
