// Controls of GlimForm.dll leave the process's heaps as they found them: each
// of the eight made by its ProgID for IDispatch and released without a site,
// as a script host does, and a button with the hand pointer loaded from a
// bag on a host form and closed again.  Bytes are counted by walking every
// heap of the process, so the library's own allocations count too.
#include "HostForm.h"
#include "LateBound.h"
#include "MemoryPropertyBag.h"
#include "Registration.h"
#include "Text.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

namespace host = glim::host;

// Bytes in use in every heap of the process.  Nothing is allocated while
// counting, so the count does not count itself.
long long LiveHeapBytes() {
    HANDLE heaps[256];
    const DWORD n = GetProcessHeaps(256, heaps);
    long long bytes = 0;
    for (DWORD i = 0; i < n && i < 256; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY e{};
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += static_cast<long long>(e.cbData);
        HeapUnlock(heaps[i]);
    }
    return bytes;
}

// Bytes the heaps grew by per run of cycle, once a few runs have made what
// is made once.
double BytesKeptPerCycle(int cycles, const std::function<void()>& cycle) {
    for (int i = 0; i < 5; ++i)
        cycle();
    const long long before = LiveHeapBytes();
    for (int i = 0; i < cycles; ++i)
        cycle();
    return static_cast<double>(LiveHeapBytes() - before) / cycles;
}

// Eight classes at 125 each make the thousand cycles a script host's loop would.
constexpr int kCyclesPerClass = 125;
constexpr int kLoads = 250;
// A kept allocation of the smallest kind costs more than this per cycle.
constexpr double kNothingKept = 8;

// One case per class, so that shards of the program share the classes out.
class ControlMemoryOfClass : public ::testing::TestWithParam<const char*> {};

TEST_P(ControlMemoryOfClass, MadeAndReleasedWithoutASiteKeepsNothing) {
    glimtest::RegisterLibraryOnce();
    const char* name = GetParam();
    CLSID clsid{};
    ASSERT_EQ(S_OK, CLSIDFromProgID(glim::Widen(std::string("GlimFormControl.") + name).c_str(), &clsid))
        << name;
    bool released = true;
    const double kept = BytesKeptPerCycle(kCyclesPerClass, [&] {
        IDispatch* d = nullptr;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&d)))) {
            released = false;
            return;
        }
        released = d->Release() == 0 && released;
        glimtest::PumpPending();
    });
    EXPECT_TRUE(released) << name;
    EXPECT_LT(kept, kNothingKept) << "bytes per cycle for " << name;
}

INSTANTIATE_TEST_SUITE_P(EachControl, ControlMemoryOfClass,
                         ::testing::Values("GlimForm", "GlimButton", "GlimCheck", "GlimOption", "GlimSlider",
                                           "GlimPressBar", "GlimContainr", "GlimToolTip"));

TEST(ControlMemory, AButtonWithTheHandPointerKeepsNothingAcrossLoadAndClose) {
    glimtest::RegisterLibraryOnce();
    glim::ComPtr<host::HostForm> form = host::HostForm::Create("Hands", 6000, 4000);
    form->Show();
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    bag->Set("HAND", glim::Variant::Bool(true));
    // Every cursor made from the library's resources and destroyed again
    // keeps memory inside Wine that no heap of the process shows: the loads
    // must all show the one hand.
    long hand = 0; // the cursor of the first load
    int otherHands = 0;
    const double kept = BytesKeptPerCycle(kLoads, [&] {
        glim::ComPtr<host::ControlSite> site =
            form->AddControl("GlimFormControl.GlimButton", "Hand1", 120, 120, 1200, 360, bag.get());
        const glim::ComPtr<IDispatch> icon =
            site ? glim::ObjectOf(*glim::GetProperty(site->ControlDispatch().get(), "MouseIcon")) : nullptr;
        const long shown = icon ? glim::GetProperty(icon.get(), "Handle").ToLong() : 0;
        if (!hand) hand = shown;
        if (!shown || shown != hand) ++otherHands;
        form->RemoveControl("Hand1");
        glimtest::PumpPending();
    });
    EXPECT_EQ(0, otherHands) << "loads without the first load's hand";
    EXPECT_LT(kept, kNothingKept) << "bytes per load and close";
    form->Unload();
}

} // namespace
