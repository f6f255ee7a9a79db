// Popup items while a menu loop runs: conversion to owner-drawn items and
// their exact restoration, WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "MenuBarHarness.h"
#include "PatternColors.h"

namespace {

constexpr int kTol = 40; // glyph edges are antialiased

using mbtest::Pattern0;
using mbtest::Pattern1;

struct ItemState {
    UINT type = 0;
    UINT id = 0;
    ULONG_PTR data = 0;
    UINT state = 0;
    std::string text;
};

ItemState ReadItem(HMENU menu, UINT pos) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    GetMenuItemInfoA(menu, pos, TRUE, &mii);
    ItemState s{mii.fType, mii.wID, mii.dwItemData, mii.fState, {}};
    if (!(mii.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP))) {
        std::string buffer(4096, '\0');
        mii.dwTypeData = buffer.data();
        mii.cch = static_cast<UINT>(buffer.size());
        GetMenuItemInfoA(menu, pos, TRUE, &mii);
        s.text.assign(buffer.c_str());
    }
    return s;
}

// Sets the data or the state of an item, as the mask says.
void SetItem(HMENU menu, UINT pos, UINT mask, ULONG_PTR data, UINT state) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = mask;
    mii.dwItemData = data;
    mii.fState = state;
    SetMenuItemInfoA(menu, pos, TRUE, &mii);
}

void SetItemData(HMENU menu, UINT pos, ULONG_PTR data) {
    SetItem(menu, pos, MIIM_DATA, data, 0);
}

void SetItemState(HMENU menu, UINT pos, UINT state) {
    SetItem(menu, pos, MIIM_STATE, 0, state);
}

const std::string kLongText = "&Long " + std::string(1500, 'x') + "\tCtrl+L";

class PopupItems : public testing::Test {
  protected:
    void SetUp() override {
        popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 100, "&Open\tCtrl+O");                     // 0
        AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);                            // 1
        AppendMenuA(popup, MF_STRING, 101, kLongText.c_str());                   // 2
        AppendMenuA(popup, MF_STRING, 102, "Dup &A");                            // 3
        AppendMenuA(popup, MF_STRING, 102, "Dup &B");                            // 4
        AppendMenuA(popup, MF_OWNERDRAW, 103, reinterpret_cast<LPCSTR>(0xABCD)); // 5: the host's own
        AppendMenuA(popup, MF_STRING, 104, "Save&");                             // 6
        AppendMenuA(popup, MF_OWNERDRAW, 101,
                    reinterpret_cast<LPCSTR>(3)); // 7: the host's, data like an index
        SetItemData(popup, 0, 0x1111);
        SetItemData(popup, 2, 0x2222);
        for (UINT p = 0; p < 8; ++p)
            before.push_back(ReadItem(popup, p));
        bar = MakeRef<cMenuBar>();
        host.bar = bar;
        bar->Attach(host.hwnd(), 0);
        bar->cMenuBar_SetColors(kNormal, RGB(0, 0, 255), 0, 0);
    }
    void TearDown() override {
        bar->cMenuBar_RestoreMenus();
        bar->Detach();
        host.bar.reset();
        DestroyMenu(popup);
    }

    LRESULT Measure(UINT id, ULONG_PTR data, MEASUREITEMSTRUCT& mis, UINT type = ODT_MENU) {
        mis = MEASUREITEMSTRUCT{};
        mis.CtlType = type;
        mis.itemID = id;
        mis.itemData = data;
        return SendMessageA(host.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    }
    // Draws popup item `pos` (as the menu would) into the surface at (L, T), w x h.
    LRESULT Draw(Surface& s, UINT pos, int L = 5, int T = 7, int w = 150, int h = 20, UINT type = ODT_MENU) {
        const ItemState item = ReadItem(popup, pos);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = type;
        dis.itemID = item.id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = reinterpret_cast<HWND>(popup);
        dis.hDC = s.dc();
        dis.rcItem = RECT{L, T, L + w, T + h};
        dis.itemData = item.data;
        return SendMessageA(host.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    }
    void Restyle(short style) {
        bar->Attach(host.hwnd(), style);
        bar->cMenuBar_SetColors(kNormal, RGB(0, 0, 255), 0, 0);
    }

    Host host{false};
    Ref<cMenuBar> bar;
    HMENU popup = nullptr;
    std::vector<ItemState> before;
};

TEST_F(PopupItems, PreparationMakesItemsOwnerDrawnWithTheirRecordIndex) {
    bar->cMenuBar_PreparePopup(popup);
    ASSERT_EQ(bar->RecordCount(), 6) << "the host's own owner-drawn items get no record";
    const UINT ours[] = {0, 1, 2, 3, 4, 6};
    for (long k = 1; k <= 6; ++k) {
        const ItemState now = ReadItem(popup, ours[k - 1]);
        EXPECT_TRUE(now.type & MFT_OWNERDRAW) << "position " << ours[k - 1];
        EXPECT_EQ(now.data, static_cast<ULONG_PTR>(k));
        EXPECT_EQ(now.id, before[ours[k - 1]].id);
        EXPECT_EQ(bar->Record(k).owner, popup);
        EXPECT_EQ(bar->Record(k).position, static_cast<long>(ours[k - 1]));
    }
    EXPECT_TRUE(ReadItem(popup, 1).type & MFT_SEPARATOR);
    EXPECT_EQ(ReadItem(popup, 5).data, 0xABCDu);
    EXPECT_EQ(ReadItem(popup, 7).data, 3u);

    EXPECT_EQ(bar->Record(1).caption, "&Open");
    EXPECT_EQ(bar->Record(1).shortcut, "Ctrl+O");
    EXPECT_EQ(bar->Record(1).mnemonic, "O");
    EXPECT_EQ(bar->Record(3).text, kLongText);
    EXPECT_EQ(bar->Record(3).shortcut, "Ctrl+L");
    EXPECT_EQ(bar->Record(4).mnemonic, "A");
    EXPECT_EQ(bar->Record(6).caption, "Save&");
    EXPECT_EQ(bar->Record(6).mnemonic, "") << "a trailing & marks no letter";

    // Widest caption and shortcut are shared by every record of the popup.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bar->cMenuBar_GetFontHandle());
    long widest = 0;
    for (long k = 1; k <= 6; ++k) {
        RECT rc{0, 0, 0, 0};
        DrawTextA(dc, bar->Record(k).caption.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE);
        widest = std::max<long>(widest, rc.right - rc.left + 1);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    for (long k = 1; k <= 6; ++k)
        EXPECT_EQ(bar->Record(k).widestCaption, widest);
    EXPECT_GT(bar->Record(2).widestShortcut, 0);

    // Opening the same popup again in this loop adds nothing.
    bar->cMenuBar_PreparePopup(popup);
    EXPECT_EQ(bar->RecordCount(), 6);
}

TEST_F(PopupItems, RestorationGivesBackTypeDataTextAndId) {
    bar->cMenuBar_PreparePopup(popup);
    bar->cMenuBar_RestoreMenus();
    EXPECT_EQ(bar->RecordCount(), 0);
    for (UINT p = 0; p < 8; ++p) {
        const ItemState now = ReadItem(popup, p);
        EXPECT_EQ(now.type, before[p].type) << "position " << p;
        EXPECT_EQ(now.id, before[p].id) << "position " << p;
        EXPECT_EQ(now.data, before[p].data) << "position " << p;
        EXPECT_EQ(now.text, before[p].text) << "position " << p;
    }
    EXPECT_EQ(ReadItem(popup, 2).text.size(), kLongText.size()) << "long texts come back whole";
    bar->cMenuBar_RestoreMenus(); // nothing left to do
    EXPECT_EQ(ReadItem(popup, 0).text, "&Open\tCtrl+O");

    // The next loop starts from scratch.
    bar->cMenuBar_PreparePopup(popup);
    EXPECT_EQ(bar->RecordCount(), 6);
}

TEST_F(PopupItems, AnItemThatLostItsOwnerDrawnFormIsRecordedAgain) {
    bar->cMenuBar_PreparePopup(popup);
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_TYPE;
    mii.fType = MFT_STRING;
    char text[] = "&Reset";
    mii.dwTypeData = text;
    SetMenuItemInfoA(popup, 0, TRUE, &mii);
    bar->cMenuBar_PreparePopup(popup);
    EXPECT_EQ(bar->RecordCount(), 6);
    EXPECT_EQ(bar->Record(1).caption, "&Reset");
    EXPECT_TRUE(ReadItem(popup, 0).type & MFT_OWNERDRAW);
    EXPECT_EQ(ReadItem(popup, 0).data, 1u);
    bar->cMenuBar_RestoreMenus();
    EXPECT_EQ(ReadItem(popup, 0).text, "&Reset");
}

TEST_F(PopupItems, MeasureItemAnswersFromTheItemsOwnRecord) {
    HMENU q = CreatePopupMenu();
    AppendMenuA(q, MF_STRING, 0, "Zero");
    AppendMenuA(q, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(q, MF_STRING, 7, "Alpha\tF5");
    bar->cMenuBar_PreparePopup(q);
    ASSERT_EQ(bar->RecordCount(), 3);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bar->cMenuBar_GetFontHandle());
    auto width = [&](const char* t) {
        RECT rc{0, 0, 0, 0};
        DrawTextA(dc, t, -1, &rc, DT_CALCRECT | DT_SINGLELINE);
        return rc;
    };
    const long wc = std::max(width("Zero").right, width("Alpha").right) + 1;
    const long ws = width("F5").right + 1;
    const long th = width("F5").bottom;
    SelectObject(dc, old);
    DeleteDC(dc);

    MEASUREITEMSTRUCT mis;
    EXPECT_EQ(Measure(0, 1, mis), 0);
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(wc + ws + 38));
    EXPECT_EQ(mis.itemHeight, static_cast<UINT>(th + 8));
    Measure(0, 2, mis);
    EXPECT_EQ(mis.itemHeight, 6u) << "the separator shares ID 0 with a command but is its own item";
    Measure(7, 3, mis);
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(wc + ws + 38));
    EXPECT_EQ(mis.itemHeight, static_cast<UINT>(th + 8));

    // A popup without shortcuts: widest caption + 30.
    HMENU r = mbtest::MakePopup({"Only"}, 50);
    bar->cMenuBar_PreparePopup(r);
    Measure(50, 4, mis);
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(bar->Record(4).widestCaption + 30));
    bar->cMenuBar_RestoreMenus();
    DestroyMenu(q);
    DestroyMenu(r);
}

TEST_F(PopupItems, TheHostsOwnItemsAndControlsGoToTheHost) {
    bar->cMenuBar_PreparePopup(popup);
    host.ClearLog();
    MEASUREITEMSTRUCT mis;
    EXPECT_EQ(Measure(103, 0xABCD, mis), host.ownerDrawAnswer);
    EXPECT_EQ(Measure(101, 3, mis), host.ownerDrawAnswer) << "same ID and data as record 3, but the host's";
    EXPECT_EQ(Measure(5, 1, mis, ODT_BUTTON), host.ownerDrawAnswer);
    EXPECT_EQ(host.Count(WM_MEASUREITEM), 3);

    Surface s(200, 40, kFill);
    EXPECT_EQ(Draw(s, 5), host.ownerDrawAnswer);
    EXPECT_EQ(Draw(s, 7), host.ownerDrawAnswer);
    EXPECT_EQ(Draw(s, 0, 5, 7, 150, 20, ODT_BUTTON), host.ownerDrawAnswer);
    EXPECT_EQ(host.Count(WM_DRAWITEM), 3);
    EXPECT_EQ(s.CountColor(kFill, 0, 0, 200, 40), 200 * 40) << "nothing drawn for the host's items";
}

TEST_F(PopupItems, DrawnItemsStartWithTheStylePatternAtTheirCorner) {
    bar->cMenuBar_PreparePopup(popup);
    Surface s(200, 40, kFill);
    EXPECT_EQ(Draw(s, 6), 0); // "Save&": no shortcut, not checked
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(s.Pixel(5 + x, 7 + y), Pattern0(x, y)) << x << "," << y;
    EXPECT_EQ(s.Pixel(4, 10), kFill);
    EXPECT_EQ(s.Pixel(5 + 151, 10), kFill) << "w + 1 columns are copied";
    EXPECT_EQ(s.Pixel(5 + 150, 10), Pattern0(150, 3));
    EXPECT_EQ(s.Pixel(5 + 10, 7 + 21), kFill);

    Restyle(1);
    bar->cMenuBar_PreparePopup(popup);
    Draw(s, 6);
    EXPECT_EQ(s.Pixel(5, 7), Pattern1(0, 0));
    EXPECT_EQ(s.Pixel(5 + 7, 7 + 1), Pattern1(7, 1));

    // A style without a pattern in the library draws a plain background.
    Restyle(2);
    bar->cMenuBar_PreparePopup(popup);
    Draw(s, 6);
    EXPECT_EQ(s.Pixel(5, 7), GetSysColor(COLOR_MENU));
}

TEST_F(PopupItems, CaptionShortcutAndSeparatorOfStyleZero) {
    // A popup without the long text, so the shortcut column stays on the surface.
    HMENU keys = CreatePopupMenu();
    AppendMenuA(keys, MF_STRING, 1, "&Open\tCtrl+O");
    AppendMenuA(keys, MF_STRING, 2, "Print preview");
    std::swap(popup, keys);
    bar->cMenuBar_PreparePopup(popup);
    const long widest = bar->Record(1).widestCaption;
    ASSERT_LT(widest, 150);
    Surface s(400, 40, kFill);
    Draw(s, 0, 5, 7, 350, 20);
    EXPECT_GT(s.CountColor(kNormal, 5 + 25, 7, 5 + 25 + widest, 27), 0) << "caption in the normal colour";
    EXPECT_GT(s.CountColor(RGB(255, 255, 255), 5 + 25, 7, 5 + 25 + widest, 27), 0) << "its white copy below";
    EXPECT_EQ(s.CountColor(kNormal, 5, 7, 5 + 25, 27), 0);
    const int shortcutLeft = 5 + 25 + widest + 8;
    EXPECT_GT(s.CountColor(kNormal, shortcutLeft, 7, shortcutLeft + 200, 27), 0) << "shortcut column";
    EXPECT_EQ(s.CountColor(RGB(255, 255, 255), shortcutLeft, 7, shortcutLeft + 200, 27), 0);
    bar->cMenuBar_RestoreMenus();
    std::swap(popup, keys);
    DestroyMenu(keys);
    bar->cMenuBar_PreparePopup(popup);

    // Separator: a 2-pixel sunken line from x = 25 to w - 2, centred.
    s.Fill(kFill);
    Draw(s, 1, 5, 7, 150, 20);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT);
    const int line = 7 + (20 - 2) / 2;
    EXPECT_EQ(s.Pixel(5 + 25, line), shadow);
    EXPECT_EQ(s.Pixel(5 + 147, line), shadow);
    EXPECT_EQ(s.Pixel(5 + 24, line), Pattern0(24, line - 7));
    EXPECT_EQ(s.Pixel(5 + 148, line), Pattern0(148, line - 7));
    EXPECT_EQ(s.Pixel(5 + 60, line + 1), light);
    EXPECT_EQ(s.Pixel(5 + 60, line - 1), Pattern0(60, line - 8));
    EXPECT_EQ(s.CountColor(kNormal, 5, 7, 155, 27), 0);
}

TEST_F(PopupItems, HighlightCheckAndDisabledLooks) {
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF gold0 = RGB(214, 198, 3);
    bar->cMenuBar_PreparePopup(popup);
    Surface s(200, 40, kFill);

    // Style 0, highlighted: etched frame from x = 22, y = 1.
    SetItemState(popup, 6, MFS_HILITE);
    Draw(s, 6);
    EXPECT_EQ(s.Pixel(5 + 22, 7 + 10), shadow);
    EXPECT_EQ(s.Pixel(5 + 23, 7 + 10), light);
    EXPECT_EQ(s.Pixel(5 + 21, 7 + 10), Pattern0(21, 10));
    EXPECT_EQ(s.Pixel(5 + 60, 7 + 1), shadow);
    EXPECT_EQ(s.Pixel(5 + 60, 7 + 0), Pattern0(60, 0));

    // Disabled and highlighted: no frame, embossed caption, no normal colour.
    SetItemState(popup, 6, MFS_HILITE | MFS_DISABLED);
    s.Fill(kFill);
    Draw(s, 6);
    EXPECT_EQ(s.Pixel(5 + 22, 7 + 10), Pattern0(22, 10));
    EXPECT_EQ(s.CountColor(kNormal, 5, 7, 155, 27), 0);
    EXPECT_GT(s.CountNear(shadow, kTol, 5 + 25, 7, 155, 27), 0);

    // Checked: the tick between x = 3 and 16 in the style's colour.
    SetItemState(popup, 6, MFS_CHECKED);
    s.Fill(kFill);
    Draw(s, 6);
    EXPECT_GT(s.CountNear(gold0, kTol, 5 + 3, 7, 5 + 16, 27), 0);
    EXPECT_EQ(s.CountNear(gold0, kTol, 5 + 16, 7, 155, 27), 0);

    // Disabled and checked: all three tick passes embossed.
    SetItemState(popup, 6, MFS_CHECKED | MFS_DISABLED);
    s.Fill(kFill);
    Draw(s, 6);
    EXPECT_EQ(s.CountNear(gold0, kTol, 5, 7, 155, 27), 0);
    EXPECT_GT(s.CountNear(shadow, kTol, 5 + 3, 7, 5 + 16, 27), 0);

    // Style 1, checked and highlighted: yellow-gold tick from 9 to 21, etched frame from 8.
    Restyle(1);
    bar->cMenuBar_PreparePopup(popup);
    SetItemState(popup, 6, MFS_CHECKED | MFS_HILITE);
    s.Fill(kFill);
    Draw(s, 6);
    const COLORREF gold1 = RGB(241, 197, 20);
    EXPECT_GT(s.CountNear(gold1, kTol, 5 + 9, 7, 5 + 21, 27), 0);
    EXPECT_EQ(s.CountNear(gold1, kTol, 5, 7, 5 + 9, 27), 0);
    EXPECT_EQ(s.CountNear(gold1, kTol, 5 + 21, 7, 155, 27), 0);
    EXPECT_EQ(s.Pixel(5 + 8, 7 + 10), shadow);
    EXPECT_EQ(s.Pixel(5 + 7, 7 + 10), Pattern1(7, 10));
    EXPECT_EQ(s.Pixel(5 + 60, 7 + 0), shadow);
}

TEST_F(PopupItems, RepeatedCommandIdsAreDrawnAsThemselves) {
    bar->cMenuBar_PreparePopup(popup);
    SetItemState(popup, 4, MFS_CHECKED); // "Dup &B"; "Dup &A" shares its ID and stays unchecked
    const COLORREF gold0 = RGB(214, 198, 3);
    Surface a(200, 40, kFill), b(200, 40, kFill);
    Draw(a, 3);
    Draw(b, 4);
    EXPECT_EQ(a.CountNear(gold0, kTol, 5, 7, 155, 27), 0);
    EXPECT_GT(b.CountNear(gold0, kTol, 5 + 3, 7, 5 + 16, 27), 0);
}

TEST_F(PopupItems, StyleThirteenSeparatorIsDrawnTwice) {
    Restyle(13);
    bar->cMenuBar_PreparePopup(popup);
    const COLORREF menu = GetSysColor(COLOR_MENU);
    const COLORREF edgeTop = GetSysColor(COLOR_3DLIGHT);
    ASSERT_NE(menu, edgeTop);
    Surface s(200, 40, kFill);
    Draw(s, 1);
    const int top = 7 + (20 - 2) / 2;
    EXPECT_EQ(s.Pixel(5 + 40, top - 1), edgeTop) << "second edge one pixel higher";
    EXPECT_EQ(s.Pixel(5 + 20, top - 1), menu) << "both start at x = 21";
    EXPECT_EQ(s.Pixel(5 + 40, top - 2), menu);
}

TEST_F(PopupItems, MenuCharChoosesTheItemWithThatMnemonic) {
    bar->cMenuBar_PreparePopup(popup);
    host.ClearLog();
    auto menuChar = [&](char c, WORD flags, HMENU m) {
        return SendMessageA(host.hwnd(), WM_MENUCHAR, MAKEWPARAM(static_cast<BYTE>(c), flags),
                            reinterpret_cast<LPARAM>(m));
    };
    EXPECT_EQ(menuChar('o', MF_POPUP, popup), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(menuChar('B', MF_POPUP, popup), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(menuChar('a', MF_POPUP, popup), MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(host.Count(WM_MENUCHAR), 0);
    EXPECT_EQ(menuChar('z', MF_POPUP, popup), host.ownerDrawAnswer);
    EXPECT_EQ(menuChar('o', 0, popup), host.ownerDrawAnswer) << "not a drop-down menu";
    HMENU other = mbtest::MakePopup({"&Open"}, 9);
    EXPECT_EQ(menuChar('o', MF_POPUP, other), host.ownerDrawAnswer);
    DestroyMenu(other);
    EXPECT_EQ(host.Count(WM_MENUCHAR), 3);
}

} // namespace
