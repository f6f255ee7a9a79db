// A form in use keeps nothing per event or notification: mouse moves through
// a real control, handled the way the editor handles events, and puts that
// notify leave the program's live heap bytes where they were.  This program
// counts them by replacing the global allocation functions.
#include "HostForm.h"
#include "LateBound.h"
#include "ProbeControl.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> liveBytes{0};
// Each block starts with its size; the header keeps the alignment malloc gives.
constexpr size_t kHeader = 16;

} // namespace

void* operator new(size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(kHeader + size));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    liveBytes += static_cast<long>(size);
    return block + kHeader;
}
void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    if (!p) return;
    unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
    liveBytes -= static_cast<long>(*reinterpret_cast<size_t*>(block));
    std::free(block);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

using glimtest::ProbeControl;
namespace host = glim::host;
namespace ev = glimtest::probe_events;

TEST(FormMemory, EventsAndNotificationsLeaveNothingBehindOnAFormInUse) {
    ProbeControl::RegisterClasses();
    glim::ComPtr<host::HostForm> form = host::HostForm::Create("Quiet host", 7000, 5000);
    ASSERT_TRUE(form);
    glim::ComPtr<host::ControlSite> site =
        form->AddControl(ProbeControl::ClsidText(ProbeControl::CheckClass()), "Probe1", 600, 300, 1500, 600);
    ASSERT_TRUE(site && site->Events());
    form->Show();
    size_t moves = 0;
    site->Events()->On(ev::MouseMove, [&](host::EventArgs&) { ++moves; });
    const HWND hwnd = site->Window();
    IDispatch* d = site->ControlDispatch().get();
    const auto moveAndPut = [&](size_t count) {
        const size_t target = moves + count;
        for (size_t i = 0; i < count; ++i) {
            PostMessageA(hwnd, WM_MOUSEMOVE, 0,
                         MAKELPARAM(static_cast<WORD>(i % 90), static_cast<WORD>(i % 30)));
            VARIANT value;
            V_VT(&value) = VT_I2;
            V_I2(&value) = static_cast<short>(i % 2);
            glim::PutProperty(d, dispid::GlimCheck::Value, value);
        }
        // The real pointer may add moves of its own.
        return glimtest::PumpUntil([&] { return moves >= target; });
    };
    ASSERT_TRUE(moveAndPut(50)) << moves; // what the first ones set up to keep
    const long before = liveBytes;
    constexpr size_t kCount = 2000;
    ASSERT_TRUE(moveAndPut(kCount)) << moves;
    // Less than a notification's identifier for every two of them.
    EXPECT_LT(liveBytes - before, static_cast<long>(kCount * sizeof(DISPID) / 2))
        << "bytes kept across " << kCount << " moves and puts";
    site.reset();
    form->Unload();
    form.reset();
    glimtest::PumpPending();
    ProbeControl::RevokeClasses();
}

} // namespace
