// LoadSkin and CloseSkin through COM: the painted frame, the Idx setting and
// the index guard.
#include <gtest/gtest.h>

#include <vector>

#include "MSubclass.h"
#include "Settings.h"
#include "settings_store.h"
#include "SkinResourceIds.h"
#include "SkinningHarness.h"
#include "pump.h"

namespace skintest {
namespace {

using glim::skinres::Border;
using glim::skinres::Caption;

class SkinMethods : public testing::Test {
  protected:
    void SetUp() override {
        glimtest::DeleteSettingSection("Skin");
        ASSERT_NE(form.Control(), nullptr);
    }
    void TearDown() override { glimtest::DeleteSettingSection("Skin"); }

    double MatchOfSkin(int skin) {
        const PictureReader caption(SkinBitmap(Caption(skin)));
        const PictureReader border(SkinBitmap(Border(skin)));
        return FrameMatch(form.hWnd(), caption, border);
    }

    SkinnedForm form;
};

TEST_F(SkinMethods, LoadSkinPaintsTheFrameFromTheSkinAndCloseSkinGivesTheFormItsOwnBack) {
    const WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC));
    EXPECT_LT(MatchOfSkin(7), 0.5) << "no skin before LoadSkin";
    short idx = 7;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MatchOfSkin(7), 1.0);
    EXPECT_EQ(StoredIdx(), "7");
    // The frame margins are the skin's: caption 50, border 10.
    RECT wr{}, cr{};
    GetWindowRect(form.hWnd(), &wr);
    GetClientRect(form.hWnd(), &cr);
    POINT origin{0, 0};
    ClientToScreen(form.hWnd(), &origin);
    EXPECT_EQ(origin.x - wr.left, 10);
    EXPECT_EQ(origin.y - wr.top, 50);

    // Switching skins repaints from the new one.
    idx = 19;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MatchOfSkin(19), 1.0);
    EXPECT_LT(MatchOfSkin(7), 0.5);
    EXPECT_EQ(StoredIdx(), "19");

    ASSERT_EQ(form.CloseSkin(), S_OK);
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_LT(MatchOfSkin(19), 0.5);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC)), own);
    // CloseSkin changes no setting, and a second one does nothing.
    EXPECT_EQ(StoredIdx(), "19");
    EXPECT_EQ(form.CloseSkin(), S_OK);
}

TEST_F(SkinMethods, ANegativeIndexAppliesSkinZeroAndWritesZeroBack) {
    short idx = -5;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(StoredIdx(), "0");
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MatchOfSkin(0), 1.0);
}

TEST_F(SkinMethods, IndicesPastTheLastSkinDoNothingAndTwentyFourRaises) {
    short idx = 5;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    for (short none : {short(25), short(255), short(300)}) {
        idx = none;
        EXPECT_EQ(form.LoadSkin(idx), S_OK) << none;
        EXPECT_EQ(idx, none);
        EXPECT_EQ(StoredIdx(), "5") << none;
    }
    // 24 passes the guard but has no bitmaps: the resource error reaches the caller.
    idx = 24;
    EXCEPINFO ei{};
    EXPECT_EQ(form.LoadSkin(idx, &ei), DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A0146));
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    EXPECT_EQ(StoredIdx(), "5");
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MatchOfSkin(5), 1.0) << "the frame stays";
}

TEST_F(SkinMethods, TheMenuStyleGoesThroughIdxFirst) {
    // In range: the style is written as "idx", then LoadSkin stores its index.
    ASSERT_EQ(form.SetMnuStyleIdx(12), S_OK);
    short idx = 3;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    EXPECT_EQ(StoredIdx(), "3");
    // Out of range: the stored value is read and kept until LoadSkin writes.
    ASSERT_EQ(form.SetMnuStyleIdx(40), S_OK);
    idx = 8;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    EXPECT_EQ(StoredIdx(), "8");
    // A damaged stored value does not stop the skin.
    glim::SaveSetting("Skin", "Idx", "garbage");
    idx = 9;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    EXPECT_EQ(StoredIdx(), "9");
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MatchOfSkin(9), 1.0);
}

TEST_F(SkinMethods, CloseSkinLetsGoOfTheForm) {
    glim::host::HostForm* f = form.Form();
    const auto references = [f] {
        f->AddRef();
        return f->Release();
    };
    const ULONG before = references();
    short idx = 1;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    ASSERT_EQ(form.CloseSkin(), S_OK);
    EXPECT_EQ(references(), before) << "form, GlimForm and painter must not hold each other";
}

std::vector<SIZE> gSizes;
WNDPROC gBeneath = nullptr;
LRESULT CALLBACK RecordSizes(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) gSizes.push_back(SIZE{LOWORD(lParam), HIWORD(lParam)});
    return CallWindowProcA(gBeneath, hWnd, msg, wParam, lParam);
}

TEST_F(SkinMethods, ANewSkinOnASkinnedFormGivesItOneSize) {
    gBeneath = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordSizes)));
    short idx = 0;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    gSizes.clear();
    idx = 4; // a caption one pixel lower: the client area changes once
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    RECT cr{};
    GetClientRect(form.hWnd(), &cr);
    EXPECT_FALSE(gSizes.empty());
    for (const SIZE& s : gSizes) {
        EXPECT_EQ(s.cx, cr.right) << "no passing size from the platform's own frame";
        EXPECT_EQ(s.cy, cr.bottom);
    }
    ASSERT_EQ(form.CloseSkin(), S_OK);
    if (GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&RecordSizes))
        SetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBeneath));
}

TEST_F(SkinMethods, TheSkinGivesTheFormItsGreyBackColour) {
    short idx = 2;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    EXPECT_EQ(form.Form()->BackColor(), 0xE0E0E0u);
    UpdateWindow(form.hWnd());
    RECT cr{};
    GetClientRect(form.hWnd(), &cr);
    EXPECT_EQ(glimtest::ClientPixel(form.hWnd(), cr.right - 3, cr.bottom - 3), RGB(0xE0, 0xE0, 0xE0));
}

TEST_F(SkinMethods, TheTrayIconOfTheControlLivesBesideTheSkin) {
    short idx = 4;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    IDispatch* menu = nullptr;
    BSTR tip = SysAllocString(L"Versolo");
    VARIANT vm, vt;
    V_VT(&vm) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&vm) = &menu;
    V_VT(&vt) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&vt) = &tip;
    ASSERT_EQ(Invoke(form.Control(), 0x6003000F, DISPATCH_METHOD, {vm, vt}), S_OK);
    SysFreeString(tip);
    ASSERT_EQ(form.CloseSkin(), S_OK);
    idx = 6;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MatchOfSkin(6), 1.0);
    // A left release on the icon reaches the form's SetFocus through the skin.
    SetFocus(nullptr);
    SendMessageA(form.hWnd(), 2025, 0, WM_LBUTTONUP);
    glimtest::PumpPending();
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == form.hWnd() || IsChild(form.hWnd(), focus));
    ASSERT_EQ(Invoke(form.Control(), 0x60030010, DISPATCH_METHOD, {}), S_OK);
    ASSERT_EQ(form.CloseSkin(), S_OK);
    // Whatever the order, the form is left with its own procedure and answers.
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(form.hWnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
    EXPECT_EQ(GetPropA(form.hWnd(), "GlimTray.Previous"), nullptr);
}

} // namespace
} // namespace skintest
