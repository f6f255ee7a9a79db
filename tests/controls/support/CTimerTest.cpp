// Timer objects on real system timers: ticks, restarts, slot reuse, the
// 101st timer, and handlers that stop their own timer.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "CTimer.h"
#include "GlimError.h"
#include "MTimer.h"
#include "pump.h"
#include "raised.h"

using glim::CTimer;
using glim::Ref;

namespace {

class ProbeTimer : public CTimer {
  public:
    explicit ProbeTimer(bool* destroyed) : destroyed_(destroyed) {}

  private:
    ~ProbeTimer() override { *destroyed_ = true; }
    bool* destroyed_;
};

// Pumps like PumpUntil, but notes the identifier of every thread timer tick
// (no window: in this program only the timer module makes those) before
// dispatching it.
std::set<UINT_PTR> PumpRecordingTicks(DWORD ms) {
    std::set<UINT_PTR> ids;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == nullptr) ids.insert(msg.wParam);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return ids;
}

int SlotOf(CTimer* t) {
    for (int i = 1; i <= glim::kTimerSlots; ++i)
        if (glim::MTimer_Timers(i) == t) return i;
    return 0;
}

int FilledSlots() {
    int n = 0;
    for (int i = 1; i <= glim::kTimerSlots; ++i)
        n += glim::MTimer_Timers(i) != nullptr;
    return n;
}

class Timers : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(FilledSlots(), 0) << "a previous test left a timer running"; }
};

TEST_F(Timers, RunningTimerTicksUntilStopped) {
    auto t = glim::MakeRef<CTimer>();
    int ticks = 0;
    t->ThatTime = [&] { ++ticks; };
    t->SetInterval(15);
    EXPECT_EQ(t->Interval(), 15);
    EXPECT_NE(t->TimerID(), 0u);
    EXPECT_EQ(t->RefCount(), 2u); // ours and the table's
    EXPECT_TRUE(glimtest::PumpUntil([&] { return ticks >= 3; }, 3000));

    const UINT_PTR id = t->TimerID();
    t->SetInterval(0);
    EXPECT_EQ(t->Interval(), 0);
    EXPECT_EQ(t->TimerID(), id); // kept after a stop
    EXPECT_EQ(SlotOf(t.get()), 0);
    EXPECT_EQ(t->RefCount(), 1u);
    // The system timer is gone too: no tick of it arrives any more.
    const int seen = ticks;
    EXPECT_EQ(PumpRecordingTicks(120).count(id), 0u);
    EXPECT_EQ(ticks, seen);
}

TEST_F(Timers, SameIntervalTwiceKeepsOneSystemTimer) {
    auto t = glim::MakeRef<CTimer>();
    t->SetInterval(20);
    const UINT_PTR id = t->TimerID();
    const int slot = SlotOf(t.get());
    t->SetInterval(20);
    EXPECT_EQ(t->TimerID(), id);
    EXPECT_EQ(SlotOf(t.get()), slot);
    EXPECT_EQ(FilledSlots(), 1);
    EXPECT_EQ(PumpRecordingTicks(150), (std::set<UINT_PTR>{id}));
    t->SetInterval(0);
}

TEST_F(Timers, ChangingIntervalReplacesTheSystemTimer) {
    auto t = glim::MakeRef<CTimer>();
    t->SetInterval(50);
    t->SetInterval(20);
    EXPECT_EQ(t->Interval(), 20);
    EXPECT_EQ(FilledSlots(), 1);
    // Only the new system timer is alive.
    EXPECT_EQ(PumpRecordingTicks(200), (std::set<UINT_PTR>{t->TimerID()}));
    t->SetInterval(0);
}

TEST_F(Timers, ZeroOrNegativeStopsOnlyARunningTimer) {
    auto t = glim::MakeRef<CTimer>();
    t->SetInterval(-5);
    EXPECT_EQ(t->Interval(), 0);
    EXPECT_EQ(t->TimerID(), 0u);
    EXPECT_EQ(FilledSlots(), 0);

    t->SetInterval(30);
    ASSERT_NE(SlotOf(t.get()), 0);
    t->SetInterval(-1);
    EXPECT_EQ(t->Interval(), 0);
    EXPECT_EQ(SlotOf(t.get()), 0);
}

TEST_F(Timers, SlotsAreReusedLowestFirstAndCountNeverDrops) {
    auto a = glim::MakeRef<CTimer>();
    auto b = glim::MakeRef<CTimer>();
    auto c = glim::MakeRef<CTimer>();
    a->SetInterval(100000);
    b->SetInterval(100000);
    c->SetInterval(100000);
    EXPECT_EQ(SlotOf(a.get()), 1);
    EXPECT_EQ(SlotOf(b.get()), 2);
    EXPECT_EQ(SlotOf(c.get()), 3);
    const short count = glim::MTimer_TimerCount();
    EXPECT_GE(count, 3);

    b->SetInterval(0);
    c->SetInterval(0);
    EXPECT_EQ(glim::MTimer_TimerCount(), count);
    auto d = glim::MakeRef<CTimer>();
    d->SetInterval(100000);
    EXPECT_EQ(SlotOf(d.get()), 2);
    b->SetInterval(100000);
    EXPECT_EQ(SlotOf(b.get()), 3);
    // A stopped timer that starts again takes the lowest free slot.
    a->SetInterval(0);
    c->SetInterval(100000);
    EXPECT_EQ(SlotOf(c.get()), 1);
    EXPECT_EQ(glim::MTimer_TimerCount(), count);

    for (auto* t : {b.get(), c.get(), d.get()})
        t->SetInterval(0);
}

TEST_F(Timers, HundredAndFirstTimerRaisesAndLeavesNothingRunning) {
    std::vector<Ref<CTimer>> all;
    for (int i = 0; i < glim::kTimerSlots; ++i) {
        all.push_back(glim::MakeRef<CTimer>());
        all.back()->SetInterval(100000);
    }
    EXPECT_EQ(glim::MTimer_TimerCount(), glim::kTimerSlots);

    auto extra = glim::MakeRef<CTimer>();
    int extraTicks = 0;
    extra->ThatTime = [&] { ++extraTicks; };
    // The 101st timer does not start.
    glimtest::ExpectWindowProcError([&] { extra->SetInterval(5); }, 0x80043553u,
                                    "No more than 10 timers allowed per class");
    EXPECT_EQ(extra->Interval(), 0);
    EXPECT_EQ(SlotOf(extra.get()), 0);
    // Its 5 ms system timer was killed: none of the module's timers ticks.
    EXPECT_TRUE(PumpRecordingTicks(150).empty());
    EXPECT_EQ(extraTicks, 0);

    // A freed slot takes it; stopped means a later start really starts.
    all[36]->SetInterval(0);
    extra->SetInterval(5);
    EXPECT_EQ(SlotOf(extra.get()), 37);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return extraTicks > 0; }, 3000));
    EXPECT_EQ(glim::MTimer_TimerCount(), glim::kTimerSlots);

    extra->SetInterval(0);
    for (auto& t : all)
        t->SetInterval(0);
}

TEST_F(Timers, HandlerStoppingItsOwnTimerKeepsItAliveUntilThePulseReturns) {
    bool destroyed = false;
    bool aliveAfterStop = false;
    int ticks = 0;
    CTimer* raw = nullptr;
    {
        auto t = glim::MakeRef<ProbeTimer>(&destroyed);
        raw = t.get();
        t->SetInterval(10);
    } // only the table holds it now
    raw->ThatTime = [&] {
        ++ticks;
        raw->SetInterval(0);
        aliveAfterStop = !destroyed && raw->Interval() == 0;
    };
    EXPECT_TRUE(glimtest::PumpUntil([&] { return destroyed; }, 3000));
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(aliveAfterStop);
}

TEST_F(Timers, DroppedRunningTimerKeepsTicking) {
    int ticks = 0;
    CTimer* raw = nullptr;
    {
        auto t = glim::MakeRef<CTimer>();
        t->ThatTime = [&] { ++ticks; };
        t->SetInterval(10);
        raw = t.get();
    }
    EXPECT_TRUE(glimtest::PumpUntil([&] { return ticks >= 2; }, 3000));
    EXPECT_EQ(glim::MTimer_Timers(SlotOf(raw)), raw);
    raw->SetInterval(0); // the table lets go and the object goes
    EXPECT_EQ(FilledSlots(), 0);
}

TEST_F(Timers, HandlerMayReplaceItselfWhileRunning) {
    auto t = glim::MakeRef<CTimer>();
    int first = 0;
    int second = 0;
    t->ThatTime = [&, captured = std::vector<int>(1000, 7)] {
        // Runs from a copy, so overwriting ThatTime does not free this closure.
        first += captured[999] == 7 ? 1 : 100;
        t->ThatTime = [&] { ++second; };
        first += captured[0] == 7 ? 1 : 100;
    };
    t->SetInterval(10);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return second >= 1; }, 3000));
    EXPECT_EQ(first, 2);
    t->SetInterval(0);
}

TEST_F(Timers, PulseRaisesThatTimeAndItemKeepsTheValue) {
    auto t = glim::MakeRef<CTimer>();
    t->PulseTimer(); // no handler: nothing happens
    int pulses = 0;
    t->ThatTime = [&] { ++pulses; };
    t->PulseTimer();
    EXPECT_EQ(pulses, 1);

    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(L"menu");
    t->SetItem(v);
    VariantClear(&v);
    ASSERT_EQ(t->Item().vt, VT_BSTR);
    EXPECT_STREQ(t->Item().bstrVal, L"menu");
    VARIANT n;
    VariantInit(&n);
    n.vt = VT_I4;
    n.lVal = 12;
    t->SetItem(n);
    EXPECT_EQ(t->Item().vt, VT_I4);
    EXPECT_EQ(t->Item().lVal, 12);
}

TEST_F(Timers, ErrorScheme) {
    glimtest::ExpectWindowProcError([] { glim::CTimer_ErrRaise(13652); }, 0x80043554u,
                                    "Can't create system timer");
    // Other numbers are raised alone.
    glimtest::ExpectRaises([] { glim::CTimer_ErrRaise(380); }, 380, static_cast<HRESULT>(0x800A017C), "", "");
}

} // namespace
