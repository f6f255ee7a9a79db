// Writes one screenshot per skin of a skinned form with its menu bar and
// one popup open, as PNG files in "screenshots" beside the test program.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "settings_store.h"
#include "SkinResourceIds.h"
#include "SkinningHarness.h"
#include "pump.h"
#include "screenshots.h"

namespace skintest {
namespace {

HWND gPopup = nullptr;
RECT gShotRect{};
skingen::Raster gShot;

BOOL CALLBACK FindPopup(HWND hWnd, LPARAM) {
    char cls[16] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) == "#32768" && IsWindowVisible(hWnd)) gPopup = hWnd;
    return TRUE;
}

// Runs inside the popup's menu loop: takes the picture and ends the loop.
void CALLBACK ShootPopup(HWND, UINT, UINT_PTR id, DWORD) {
    gPopup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindPopup, 0);
    if (!gPopup) return; // not open yet: the next tick looks again
    KillTimer(nullptr, id);
    RECT pr{};
    GetWindowRect(gPopup, &pr);
    RECT all{};
    UnionRect(&all, &gShotRect, &pr);
    gShotRect = all;
    gShot = glimtest::CaptureScreen(all);
    EndMenu();
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

TEST(Screenshots, OneSkinnedFormPerSkinWithItsMenuOpen) {
    glimtest::DeleteSettingSection("Skin");
    int withPopup = 0;
    for (short s = 0; s < glim::skinres::kSkinCount; ++s) {
        SCOPED_TRACE(s);
        SkinnedForm form(6000, 3600, true);
        ASSERT_NE(form.Control(), nullptr);
        SetWindowTextA(form.hWnd(), ("Versolo - " + std::to_string(s)).c_str());
        short idx = s;
        ASSERT_EQ(form.LoadSkin(idx), S_OK);
        SetForegroundWindow(form.hWnd());
        // The cursor off the bar, so that no item is painted hot yet.
        MoveTo(form.hWnd(), POINT{200, 150});
        RedrawWindow(form.hWnd(), nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        glimtest::PumpFor(120);
        GetWindowRect(form.hWnd(), &gShotRect);

        // A real press on the first item of the skinned bar, where it was painted.
        const PictureReader caption(SkinBitmap(glim::skinres::Caption(s)));
        const std::vector<Span> items = PaintedBarItems(form.hWnd(), caption);
        ASSERT_FALSE(items.empty());
        MoveTo(form.hWnd(),
               POINT{(items[0].left + items[0].right) / 2, (items[0].top + items[0].bottom) / 2});
        gShot = skingen::Raster();
        const UINT_PTR shoot = SetTimer(nullptr, 0, 50, &ShootPopup);
        const UINT_PTR giveUp = SetTimer(nullptr, 0, 4000, &GiveUp);
        SendButton(MOUSEEVENTF_LEFTDOWN);
        glimtest::PumpUntil([] { return gShot.Width() > 0; }, 5000);
        SendButton(MOUSEEVENTF_LEFTUP);
        KillTimer(nullptr, shoot);
        KillTimer(nullptr, giveUp);
        glimtest::PumpPending();
        if (gShot.Width() > 0) {
            ++withPopup;
        } else {
            RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            GetWindowRect(form.hWnd(), &gShotRect);
            gShot = glimtest::CaptureScreen(gShotRect);
        }
        char name[64];
        std::snprintf(name, sizeof name, "skin-%02d.png", s);
        EXPECT_TRUE(glimtest::WriteShot(name, gShot));
        ASSERT_EQ(form.CloseSkin(), S_OK);
    }
    EXPECT_EQ(withPopup, glim::skinres::kSkinCount) << "each shot shows the File popup";
    glimtest::DeleteSettingSection("Skin");
}

} // namespace
} // namespace skintest
