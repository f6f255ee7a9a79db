// Skinning and painting leave no GDI or USER object behind, counted by
// probing the handle tables.  The counts are exact: an object kept per skin,
// per paint or per form shows after one round, so a couple of rounds after
// the first, which sets up what is kept for good, are enough.
#include <gtest/gtest.h>

#include "settings_store.h"
#include "SkinResourceIds.h"
#include "SkinningHarness.h"
#include "pump.h"

namespace skintest {
namespace {

using glimtest::CountGdiObjects;
using glimtest::CountUserObjects;

TEST(Leaks, TheCountersSeeOneObjectComeAndGo) {
    const int gdi = CountGdiObjects(), user = CountUserObjects();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HMENU menu = CreatePopupMenu();
    EXPECT_EQ(CountGdiObjects(), gdi + 1);
    EXPECT_EQ(CountUserObjects(), user + 1);
    DeleteObject(brush);
    DestroyMenu(menu);
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountUserObjects(), user);
}

TEST(Leaks, EverySkinTwiceAndAsManyFramePaintsLeaveNothing) {
    constexpr int kRounds = 2 * glim::skinres::kSkinCount;
    glimtest::DeleteSettingSection("Skin");
    SkinnedForm form(6000, 4500, true);
    ASSERT_NE(form.Control(), nullptr);
    // One round first, so that what a skinned form keeps between skins exists.
    for (short s = 0; s < glim::skinres::kSkinCount; ++s) {
        short idx = s;
        ASSERT_EQ(form.LoadSkin(idx), S_OK);
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_EQ(form.CloseSkin(), S_OK);
    }
    glimtest::PumpPending();
    const int gdi = CountGdiObjects(), user = CountUserObjects();

    for (int i = 0; i < kRounds; ++i) {
        short idx = static_cast<short>(i % glim::skinres::kSkinCount);
        ASSERT_EQ(form.LoadSkin(idx), S_OK) << i;
        ASSERT_EQ(form.CloseSkin(), S_OK) << i;
    }
    glimtest::PumpPending();
    EXPECT_EQ(CountGdiObjects(), gdi) << "GDI objects after LoadSkin/CloseSkin on every skin twice";
    EXPECT_EQ(CountUserObjects(), user) << "USER objects after LoadSkin/CloseSkin on every skin twice";

    short idx = 13;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    // Both looks once, for what the first paint of each sets up to keep.
    for (int i = 0; i < 2; ++i) {
        SendMessageA(form.hWnd(), WM_NCACTIVATE, i & 1, 0);
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
    glimtest::PumpPending();
    const int gdiSkinned = CountGdiObjects(), userSkinned = CountUserObjects();
    for (int i = 0; i < kRounds; ++i) {
        // Active and inactive paints alternate.
        SendMessageA(form.hWnd(), WM_NCACTIVATE, i & 1, 0);
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
    glimtest::PumpPending();
    EXPECT_EQ(CountGdiObjects(), gdiSkinned) << "GDI objects after the frame paints";
    EXPECT_EQ(CountUserObjects(), userSkinned) << "USER objects after the frame paints";
    ASSERT_EQ(form.CloseSkin(), S_OK);
    glimtest::DeleteSettingSection("Skin");
}

TEST(Leaks, SkinnedFormsThatComeAndGoLeaveNothing) {
    auto once = [] {
        SkinnedForm form(5000, 4000, true);
        short idx = 10;
        ASSERT_EQ(form.LoadSkin(idx), S_OK);
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    };
    once();
    glimtest::PumpPending();
    const int gdi = CountGdiObjects(), user = CountUserObjects();
    for (int i = 0; i < 3; ++i)
        once();
    glimtest::PumpPending();
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountUserObjects(), user);
    glimtest::DeleteSettingSection("Skin");
}

} // namespace
} // namespace skintest
