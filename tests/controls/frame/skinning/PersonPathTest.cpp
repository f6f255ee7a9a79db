// A skinned form used the way a person uses it: real mouse input at the
// screen positions of what was painted, found from the painted pixels, on
// every built-in skin; and the screenshot sheet of every skin with its File
// popup open, "skins.png" in "screenshots" beside the test program.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "HostForm.h"
#include "Settings.h"
#include "settings_store.h"
#include "SkinResourceIds.h"
#include "SkinningHarness.h"
#include "pump.h"
#include "screenshots.h"

namespace skintest {
namespace {

// A popup menu opened on this thread, caught from inside its modal loop and
// closed again.
HMENU gOpened = nullptr;
bool gSeen = false;
std::unique_ptr<WindowShot> gPopupShot; // the popup as it was painted
RECT gShotArea{};                       // when set, the screen area pictured with the popup
skingen::Raster gShot;                  // that picture

BOOL CALLBACK FindOpenPopup(HWND hWnd, LPARAM out) {
    char cls[16] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) == "#32768" && IsWindowVisible(hWnd)) *reinterpret_cast<HWND*>(out) = hWnd;
    return TRUE;
}

void CALLBACK CatchPopup(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindOpenPopup, reinterpret_cast<LPARAM>(&popup));
    if (!popup || gSeen) return;
    if (!IsRectEmpty(&gShotArea)) {
        // The sheet's picture waits for the screen to show the popup.
        if (!glimtest::ShownOnScreen(popup)) return;
        RECT pr{}, all{};
        GetWindowRect(popup, &pr);
        UnionRect(&all, &gShotArea, &pr);
        gShot = glimtest::CaptureScreen(all);
    }
    gOpened = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    gPopupShot = std::make_unique<WindowShot>(popup);
    gSeen = true;
    EndMenu();
}

// Presses the left button at a painted point and reports the popup that
// opened, or null when none did.  A popup opens while the press is handled
// (its modal loop runs inside the pump), so none comes after.
HMENU PressAndCatch(HWND hWnd, POINT windowPoint) {
    gOpened = nullptr;
    gSeen = false;
    MoveTo(hWnd, windowPoint);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CatchPopup);
    EXPECT_TRUE(SendButton(MOUSEEVENTF_LEFTDOWN));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(SendButton(MOUSEEVENTF_LEFTUP));
    return gSeen ? gOpened : nullptr;
}

// Top-left of the close glyph as painted: the window cell that equals the
// glyph cell of the caption picture.
bool FindCloseGlyph(HWND hWnd, const PictureReader& caption, bool pressed, POINT& at) {
    constexpr int kW = 19, kH = 20;
    const WindowShot shot(hWnd);
    const int row = pressed ? kH : 0;
    for (int y = 0; y < 12; ++y)
        for (int x = shot.Width() - 80; x < shot.Width() - kW; ++x) {
            bool same = true;
            for (int dy = 0; same && dy < kH; ++dy)
                for (int dx = 0; same && dx < kW; ++dx)
                    same = shot.At(x + dx, y + dy) == caption.At(240 + dx, row + dy);
            if (same) {
                at = POINT{x, y};
                return true;
            }
        }
    return false;
}

bool HasSystemCommands(HMENU menu) {
    return menu && GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

// Skinned, active, the cursor away from the bar so nothing is painted hot.
void ShowSkinned(SkinnedForm& form, short skin) {
    short idx = skin;
    ASSERT_EQ(form.LoadSkin(idx), S_OK);
    SetForegroundWindow(form.hWnd());
    ASSERT_TRUE(glimtest::PumpUntil([&] { return GetActiveWindow() == form.hWnd(); }));
    MoveTo(form.hWnd(), POINT{200, 150});
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    glimtest::PumpPending();
}

POINT CentreOf(const Span& s) {
    return POINT{(s.left + s.right) / 2, (s.top + s.bottom) / 2};
}

TEST(PersonPath, BarItemsWindowMenuAndTitleButtonsOnEverySkin) {
    glimtest::DeleteSettingSection("Skin");
    constexpr int kCols = 4, kCellW = 420, kCellH = 260;
    skingen::Raster sheet(kCols * kCellW, (glim::skinres::kSkinCount + kCols - 1) / kCols * kCellH,
                          skingen::RGB8(255, 255, 255));
    for (short s = 0; s < glim::skinres::kSkinCount; ++s) {
        SCOPED_TRACE("skin " + std::to_string(s));
        SkinnedForm form(6000, 3600, true);
        ASSERT_NE(form.Control(), nullptr);
        SetWindowTextA(form.hWnd(), ("Versolo - " + std::to_string(s)).c_str());
        gShot = skingen::Raster();
        const HMENU bar = GetMenu(form.hWnd());
        ASSERT_NE(bar, nullptr);
        ShowSkinned(form, s);
        const PictureReader caption(SkinBitmap(GLIM_RES_CAPTION + s));

        const std::vector<Span> items = PaintedBarItems(form.hWnd(), caption);
        ASSERT_EQ(items.size(), 2u) << "File and Help painted in the menu band";
        for (size_t k = 0; k < items.size(); ++k) {
            const Span& it = items[k];
            // The left half of the first item lies under the window-menu box's old reach.
            const POINT points[] = {CentreOf(it), {it.left + 2, (it.top + it.bottom) / 2}};
            for (const POINT& p : points) {
                // The first popup of each skin goes on the sheet.
                if (k == 0 && &p == &points[0]) GetWindowRect(form.hWnd(), &gShotArea);
                const HMENU opened = PressAndCatch(form.hWnd(), p);
                gShotArea = RECT{};
                EXPECT_EQ(opened, GetSubMenu(bar, static_cast<int>(k)))
                    << "item " << k + 1 << " clicked at " << p.x << "," << p.y;
            }
        }
        sheet.CopyFrom(gShot, 0, 0, kCellW - 4, kCellH - 4, (s % kCols) * kCellW, (s / kCols) * kCellH);
        EXPECT_EQ(PressAndCatch(form.hWnd(),
                                POINT{items.back().right + 12, (items.back().top + items.back().bottom) / 2}),
                  nullptr)
            << "right of the last item nothing opens";

        // The window menu from its painted icon place, left of the title.
        EXPECT_TRUE(HasSystemCommands(PressAndCatch(form.hWnd(), POINT{15, 13}))) << "window menu";

        // An armed close button released outside the window, then a stray
        // release over it: neither runs the command.
        POINT glyph{};
        ASSERT_TRUE(FindCloseGlyph(form.hWnd(), caption, false, glyph));
        const POINT centre{glyph.x + 9, glyph.y + 10};
        MoveTo(form.hWnd(), centre);
        EXPECT_TRUE(SendButton(MOUSEEVENTF_LEFTDOWN));
        POINT pressedAt{};
        EXPECT_TRUE(glimtest::PumpUntil([&] {
            return FindCloseGlyph(form.hWnd(), caption, true, pressedAt);
        })) << "the close glyph shows pressed";
        RECT wr{};
        GetWindowRect(form.hWnd(), &wr);
        SetCursorPos(wr.right + 40, wr.bottom + 40);
        glimtest::PumpPending();
        EXPECT_TRUE(SendButton(MOUSEEVENTF_LEFTUP)) << "the armed button holds the mouse";
        ASSERT_TRUE(IsWindow(form.hWnd())) << "released outside: no close";
        MoveTo(form.hWnd(), centre);
        EXPECT_TRUE(SendButton(MOUSEEVENTF_LEFTUP));
        ASSERT_TRUE(IsWindow(form.hWnd())) << "a stray release runs nothing";
        EXPECT_TRUE(glimtest::PumpUntil([&] {
            return FindCloseGlyph(form.hWnd(), caption, false, pressedAt);
        })) << "nothing is left looking pressed";

        // A whole click on it closes the form.
        EXPECT_TRUE(SendButton(MOUSEEVENTF_LEFTDOWN));
        SendButton(MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(glimtest::PumpUntil([&] { return !IsWindow(form.hWnd()); })) << "a click closes";
    }
    EXPECT_TRUE(glimtest::WriteShot("skins.png", sheet));
    glimtest::DeleteSettingSection("Skin");
}

TEST(PersonPath, TheFormsMenuChangesShowOnTheSkinnedBar) {
    glimtest::DeleteSettingSection("Skin");
    SkinnedForm form(6000, 3600, true);
    ASSERT_NE(form.Control(), nullptr);
    glim::host::HostForm* host = form.Form();
    const HMENU bar = GetMenu(form.hWnd());
    ASSERT_NE(bar, nullptr);
    ShowSkinned(form, 0);
    const PictureReader caption(SkinBitmap(GLIM_RES_CAPTION));
    const std::vector<Span> before = PaintedBarItems(form.hWnd(), caption);
    ASSERT_EQ(before.size(), 2u);

    // A longer caption, a checked mark and a disabled item, while skinned.
    host->Menu("mnuHelp")->SetCaption("\xB0\xEF\xD6\xFA\xCB\xB5\xC3\xF7(&H)"); // 帮助说明
    host->Menu("mnuOpen")->SetChecked(true);
    host->Menu("mnuSave")->SetEnabled(false);
    std::vector<Span> after;
    EXPECT_TRUE(glimtest::PumpUntil([&] {
        after = PaintedBarItems(form.hWnd(), caption);
        return after.size() == 2 && after[1].right - after[1].left > before[1].right - before[1].left + 10;
    })) << "the new caption is painted";
    EXPECT_EQ(host->MenuBarHandle(), bar) << "changed in place";
    ASSERT_EQ(after.size(), 2u);

    const HMENU file = PressAndCatch(form.hWnd(), CentreOf(after[0]));
    ASSERT_EQ(file, GetSubMenu(bar, 0));
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED) << "Open";
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED) << "Save";
    EXPECT_EQ(PressAndCatch(form.hWnd(), CentreOf(after[1])), GetSubMenu(bar, 1));

    // Hiding an item takes it off the painted bar; showing brings it back.
    host->Menu("mnuFile")->SetVisible(false);
    std::vector<Span> hidden;
    ASSERT_TRUE(
        glimtest::PumpUntil([&] { return (hidden = PaintedBarItems(form.hWnd(), caption)).size() == 1; }));
    EXPECT_EQ(PressAndCatch(form.hWnd(), CentreOf(hidden[0])), GetSubMenu(bar, 0)) << "Help is first now";
    host->Menu("mnuFile")->SetVisible(true);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return PaintedBarItems(form.hWnd(), caption).size() == 2; }));

    ASSERT_EQ(form.CloseSkin(), S_OK);
    EXPECT_EQ(GetMenu(form.hWnd()), bar) << "the form gets its own bar back";
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    glimtest::DeleteSettingSection("Skin");
}

// Whether the popup's items lie on the background pattern of a menu style:
// the left margin of the first item shows it from the item's corner.
bool PopupShowsStyle(const WindowShot& popup, int style) {
    const PictureReader pattern(
        static_cast<HBITMAP>(LoadImageA(Library(), MAKEINTRESOURCEA(style ? style : GLIM_RES_MENU_STYLE0),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (pattern.Width() < 1) return false;
    for (int oy = 0; oy < 8; ++oy)
        for (int ox = 0; ox < 8; ++ox) {
            bool same = true;
            for (int y = 1; same && y < 6; ++y)
                for (int x = 1; same && x < 20; ++x)
                    same = popup.At(ox + x, oy + y) == pattern.At(x % pattern.Width(), y % pattern.Height());
            if (same) return true;
        }
    return false;
}

TEST(PersonPath, PopupsTakeTheMenuStyleThroughTheStoredSetting) {
    struct Case {
        short mnuStyleIdx;
        const char* stored; // "Idx" before the skin; null: none
        short skin;
        int style; // what the popup items show
    };
    const Case cases[] = {{12, nullptr, 3, 12}, {40, "7", 8, 7}, {40, nullptr, 8, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("MnuStyleIdx " + std::to_string(c.mnuStyleIdx));
        glimtest::DeleteSettingSection("Skin");
        if (c.stored) glim::SaveSetting("Skin", "Idx", c.stored);
        SkinnedForm form(6000, 3600, true);
        ASSERT_NE(form.Control(), nullptr);
        const HMENU bar = GetMenu(form.hWnd());
        ASSERT_EQ(form.SetMnuStyleIdx(c.mnuStyleIdx), S_OK);
        ShowSkinned(form, c.skin);
        const PictureReader caption(SkinBitmap(GLIM_RES_CAPTION + c.skin));
        const std::vector<Span> items = PaintedBarItems(form.hWnd(), caption);
        ASSERT_FALSE(items.empty());
        ASSERT_EQ(PressAndCatch(form.hWnd(), CentreOf(items[0])), GetSubMenu(bar, 0));
        ASSERT_TRUE(gPopupShot);
        EXPECT_TRUE(PopupShowsStyle(*gPopupShot, c.style));
        EXPECT_FALSE(PopupShowsStyle(*gPopupShot, c.skin)) << "not the skin's own index";
        EXPECT_EQ(StoredIdx(), std::to_string(c.skin));
    }
    glimtest::DeleteSettingSection("Skin");
}

} // namespace
} // namespace skintest
