#include "cMenuBar.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "Fonts.h"
#include "Handles.h"
#include "MSubclass.h"
#include "OleColor.h"
#include "Pictures.h"
#include "cToolbarMenu.h"

namespace glim {

namespace {

// The five messages the bar handles, in attach order.
constexpr UINT kBarMessages[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_DRAWITEM, WM_MEASUREITEM, WM_MENUCHAR};

constexpr OLE_COLOR kSysHighlight3D = 0x80000014; // COLOR_3DHIGHLIGHT
constexpr OLE_COLOR kSysShadow3D = 0x80000010;    // COLOR_3DSHADOW
constexpr OLE_COLOR kSysDkShadow3D = 0x80000015;  // COLOR_3DDKSHADOW

// Item types whose dwTypeData is not a text.
constexpr UINT kNonTextTypes = MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR;

// Reads one item by position.  With MIIM_TYPE the whole text comes back,
// however long: its length is asked for first.
bool ReadMenuItem(HMENU hMenu, long position, UINT mask, MENUITEMINFOA& mii, std::string& text) {
    text.clear();
    mii = MENUITEMINFOA{};
    mii.cbSize = sizeof mii;
    mii.fMask = mask;
    if (!GetMenuItemInfoA(hMenu, static_cast<UINT>(position), TRUE, &mii)) return false;
    if (!(mask & MIIM_TYPE) || (mii.fType & kNonTextTypes) || mii.cch == 0) return true;
    std::string buffer(mii.cch + 1, '\0');
    MENUITEMINFOA full{};
    full.cbSize = sizeof full;
    full.fMask = mask;
    full.dwTypeData = buffer.data();
    full.cch = static_cast<UINT>(buffer.size());
    if (!GetMenuItemInfoA(hMenu, static_cast<UINT>(position), TRUE, &full)) return false;
    mii = full;
    text.assign(buffer.data(), std::min<size_t>(full.cch, buffer.size() - 1));
    mii.dwTypeData = nullptr; // pointed into the local buffer
    return true;
}

// The point of a client mouse message, signed.
POINT ClientPointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Upper-case form of one ANSI character.
char UpperChar(char c) {
    char s[2] = {c, 0};
    CharUpperA(s);
    return s[0];
}

// The character after the first "&" when one follows it.
bool MnemonicOf(const std::string& caption, char& letter) {
    const size_t amp = caption.find('&');
    if (amp == std::string::npos || amp + 1 >= caption.size()) return false;
    letter = UpperChar(caption[amp + 1]);
    return true;
}

// The font object behind a standard font, as the bar keeps it.
ComPtr<IFont> NewFont(const std::string& name, double points) {
    return CreateStdFont(name, points).As<IFont>(IID_IFont);
}

// Draws text through DrawTextA on a copy of the rectangle.
void DrawTextIn(HDC hDC, const std::string& text, RECT rc, UINT format) {
    DrawTextA(hDC, text.c_str(), -1, &rc, format);
}

// Width and height of a text measured with DT_CALCRECT | DT_SINGLELINE.
RECT MeasureText(HDC hDC, const std::string& text) {
    RECT rc{0, 0, 0, 0};
    DrawTextA(hDC, text.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    return rc;
}

} // namespace

cMenuBar::cMenuBar() {
    menuFont_ = NewFont("MS Sans Serif", 8.25);
    CY size{};
    if (menuFont_) menuFont_->get_Size(&size);
    symbolFont_ = NewFont("Marlett", static_cast<double>(size.int64) * 1.2 / 10000.0);
}

cMenuBar::~cMenuBar() {
    // The subclassing entries and the timer keep raw pointers to this object.
    Detach();
    if (m_cTmr) {
        m_cTmr->ThatTime = nullptr;
        m_cTmr->SetInterval(0);
    }
}

void cMenuBar::Attach(HWND lhWnd, short menuStyle) {
    menuStyle_ = menuStyle;
    // Fails while the frame painter holds the desktop's one lock.
    const WindowUpdateLock lock(lhWnd);
    Detach();
    hWnd_ = lhWnd;
    tracker_ = MakeRef<cToolbarMenu>();
    tracker_->cToolbarMenu_Attach(hWnd_, this);
    for (UINT msg : kBarMessages)
        AttachMessage(this, hWnd_, msg);
}

void cMenuBar::Detach() {
    StopHoverTimer();
    if (hWnd_) {
        for (UINT msg : kBarMessages)
            DetachMessage(this, hWnd_, msg);
        hWnd_ = nullptr;
    }
    if (tracker_) {
        const Ref<cToolbarMenu> tracker = std::exchange(tracker_, Ref<cToolbarMenu>());
        tracker->cToolbarMenu_Detach();
    }
}

void cMenuBar::Render(HFONT hFnt, HDC lhDC, long lLeft, long lTop, long lWidth, long lHeight, long lXoffset,
                      long lYoffset) {
    if (!hMenu_) return;
    memDC_.SetSize(lWidth, lHeight);
    const HDC mdc = memDC_.hDC();
    if (!mdc) return;
    const SelectGuard font(mdc, hFnt);

    barCount_ = 0;
    barRects_.clear();

    const int c = GetMenuItemCount(hMenu_);
    if (c <= 0) return;
    BitBlt(mdc, 0, 0, lWidth, lHeight, lhDC, lLeft, lTop, SRCCOPY);
    SetBkMode(mdc, TRANSPARENT);
    long x = 8;
    for (int p = 0; p < c; ++p) {
        if (GetMenuItemID(hMenu_, p) != static_cast<UINT>(-1)) continue;
        MENUITEMINFOA mii;
        std::string caption;
        ReadMenuItem(hMenu_, p, MIIM_TYPE, mii, caption);

        RECT text{0, 0, 0, lHeight + 1};
        DrawTextA(mdc, caption.c_str(), -1, &text, DT_CALCRECT);
        OffsetRect(&text, x, 2);
        RECT item{text.left - 4, text.top - 2, text.right + 4, text.bottom + 3};

        const long k = barCount_ + 1;
        barCount_ = k;
        const bool selected = k == selectedItem_;
        const bool hover = k == hoverItem_;
        RECT drawAt = text;
        // The bar's colours are the skin's and the system's; one that could
        // not be translated would reach GDI as CLR_INVALID.
        if (selected || hover) {
            SetTextColor(mdc, TranslateColor(colors_[1]).value_or(CLR_INVALID));
            if (selected && hover) {
                DrawEdge(mdc, &item, BDR_RAISEDINNER, BF_RECT);
                OffsetRect(&drawAt, 1, 1);
            } else if (selected) {
                DrawEdge(mdc, &item, BDR_RAISEDINNER, BF_RECT);
            } else {
                DrawEdge(mdc, &item, EDGE_RAISED, BF_RECT);
            }
        } else {
            SetTextColor(mdc, TranslateColor(colors_[0]).value_or(CLR_INVALID));
        }
        DrawTextA(mdc, caption.c_str(), -1, &drawAt, DT_SINGLELINE);

        RECT hit = item;
        OffsetRect(&hit, lXoffset, lYoffset);
        barRects_.resize(static_cast<size_t>(k));
        barRects_[static_cast<size_t>(k - 1)] = hit;
        if (barPopups_.size() < static_cast<size_t>(k)) barPopups_.resize(static_cast<size_t>(k));
        barPopups_[static_cast<size_t>(k - 1)] = GetSubMenu(hMenu_, p);

        x += (text.right - text.left) + 11;
        BitBlt(lhDC, lLeft, lTop, lWidth, lHeight, mdc, 0, 0, SRCCOPY);
    }
}

std::string cMenuBar::RenderedLook() const {
    std::string look = std::to_string(reinterpret_cast<LONG_PTR>(hMenu_)) + ':' +
                       std::to_string(selectedItem_) + ':' + std::to_string(hoverItem_);
    const int c = hMenu_ ? GetMenuItemCount(hMenu_) : 0;
    for (int p = 0; p < c; ++p) {
        if (GetMenuItemID(hMenu_, p) != static_cast<UINT>(-1)) continue;
        MENUITEMINFOA mii;
        std::string caption;
        ReadMenuItem(hMenu_, p, MIIM_TYPE, mii, caption);
        look += '\0';
        look += caption;
    }
    return look;
}

void cMenuBar::cMenuBar_SetFont(IFont* fnt) {
    menuFont_ = fnt;
}

void cMenuBar::cMenuBar_SetColors(OLE_COLOR normal, OLE_COLOR hot, OLE_COLOR inactive, OLE_COLOR background) {
    colors_[0] = normal;
    colors_[1] = hot;
    colors_[2] = inactive;
    colors_[3] = background;
}

HFONT cMenuBar::cMenuBar_GetFontHandle() const {
    return FontHandle(menuFont_.get());
}

HFONT cMenuBar::cMenuBar_GetSymbolFontHandle() const {
    return FontHandle(symbolFont_.get());
}

void cMenuBar::cMenuBar_GetItemScreenRect(long n, RECT& rc) const {
    if (n < 1 || n > barCount_) return;
    // The rectangles are in client coordinates; the popup opens at the
    // painted item's bottom-left corner.
    rc = barRects_[static_cast<size_t>(n - 1)];
    MapWindowPoints(hWnd_, nullptr, reinterpret_cast<POINT*>(&rc), 2);
}

bool cMenuBar::cMenuBar_AltKeyAccelerator(long vKey) {
    if (!hMenu_) return false;
    // Kept alive across the menu loops below, which may detach the bar.
    const Ref<cMenuBar> self(this);
    bool used = false;
    long k = 0;
    for (int p = 0; hMenu_ && p < GetMenuItemCount(hMenu_); ++p) {
        if (GetMenuItemID(hMenu_, p) != static_cast<UINT>(-1)) continue;
        ++k;
        MENUITEMINFOA mii;
        std::string caption;
        ReadMenuItem(hMenu_, p, MIIM_TYPE | MIIM_DATA, mii, caption);
        char letter = 0;
        if (!MnemonicOf(caption, letter) ||
            static_cast<unsigned char>(letter) != static_cast<unsigned long>(vKey))
            continue;
        // A popup of ours is open: its loop handles the keys, and its items
        // keep their owner-drawn look.
        if (tracker_ && tracker_->Tracking()) return used;
        cMenuBar_SetSelectedItem(k, true);
        StopHoverTimer();
        TrackAndRestore(selectedItem_);
        used = true;
    }
    return used;
}

long cMenuBar::cMenuBar_HitTestCursor() const {
    if (barCount_ == 0) return 0;
    POINT pt{};
    GetCursorPos(&pt);
    return cMenuBar_HitTestPoint(pt);
}

long cMenuBar::cMenuBar_HitTestPoint(POINT& pt) const {
    ScreenToClient(hWnd_, &pt);
    return cMenuBar_HitTestClient(pt);
}

long cMenuBar::cMenuBar_HitTestClient(POINT pt) const {
    for (long k = 1; k <= barCount_; ++k)
        if (PtInRect(&barRects_[static_cast<size_t>(k - 1)], pt)) return k;
    return 0;
}

HMENU cMenuBar::cMenuBar_GetSubMenu(long n) const {
    if (n < 1 || n > barCount_ || static_cast<size_t>(n) > barPopups_.size()) return nullptr;
    return barPopups_[static_cast<size_t>(n - 1)];
}

void cMenuBar::cMenuBar_SetHoverItem(long item) {
    hoverItem_ = item;
    Repaint();
}

void cMenuBar::cMenuBar_PreparePopup(HMENU hPopup) {
    const bool known = cMenuBar_RegisterPopup(hPopup);
    // Text is measured in the memory DC, which may not exist yet.
    memDC_.SetSize(1, 1);
    const SelectGuard font(memDC_.hDC(), cMenuBar_GetFontHandle());
    long widestCaption = 0;
    long widestShortcut = 0;

    const int count = GetMenuItemCount(hPopup);
    for (int p = 0; p < count; ++p) {
        long index = 0;
        MENUITEMINFOA mii;
        std::string text;
        bool hostItem = false;
        for (const HostItem& h : hostItems_)
            if (h.owner == hPopup && h.position == p) hostItem = true;
        if (hostItem) continue;

        if (!known) {
            if (!ReadMenuItem(hPopup, p, MIIM_ID | MIIM_TYPE | MIIM_DATA, mii, text)) continue;
            if (mii.fType & MFT_OWNERDRAW) {
                // The host draws this one itself.
                hostItems_.push_back(HostItem{hPopup, p, mii.wID, mii.dwItemData});
                continue;
            }
            index = cMenuBar_AddItem(hPopup, p, mii, text);
            ConvertItem(hPopup, p, mii, index);
        } else {
            if (!ReadMenuItem(hPopup, p, MIIM_TYPE | MIIM_DATA, mii, text)) continue;
            if (mii.fType & MFT_OWNERDRAW) {
                index = static_cast<long>(mii.dwItemData);
            } else {
                // Lost its owner-drawn form (the host reset it): record it again.
                index = cMenuBar_FindItemByPosition(hPopup, p);
                if (!ReadMenuItem(hPopup, p, MIIM_ID | MIIM_TYPE | MIIM_DATA, mii, text)) continue;
                if (index == 0)
                    index = cMenuBar_AddItem(hPopup, p, mii, text);
                else
                    cMenuBar_StoreItem(index, hPopup, p, mii, text);
                ConvertItem(hPopup, p, mii, index);
            }
        }

        if (index >= 1 && index <= RecordCount()) {
            const PopupItem& rec = items_[static_cast<size_t>(index - 1)];
            RECT rc = MeasureText(memDC_.hDC(), rec.caption);
            widestCaption = std::max<long>(widestCaption, rc.right - rc.left + 1);
            if (!rec.shortcut.empty()) {
                rc = MeasureText(memDC_.hDC(), rec.shortcut);
                widestShortcut = std::max<long>(widestShortcut, rc.right - rc.left + 1);
            }
            textHeight_ = rc.bottom - rc.top;
        }
    }
    for (PopupItem& rec : items_) {
        if (rec.owner != hPopup) continue;
        rec.widestCaption = widestCaption;
        rec.widestShortcut = widestShortcut;
    }
}

bool cMenuBar::cMenuBar_RegisterPopup(HMENU hPopup) {
    if (std::find(knownPopups_.begin(), knownPopups_.end(), hPopup) != knownPopups_.end()) return true;
    knownPopups_.push_back(hPopup);
    return false;
}

long cMenuBar::cMenuBar_FindItemByPosition(HMENU hPopup, long position) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].owner == hPopup && items_[i].position == position) return static_cast<long>(i) + 1;
    return 0;
}

long cMenuBar::cMenuBar_AddItem(HMENU hPopup, long position, const MENUITEMINFOA& info,
                                const std::string& text) {
    items_.emplace_back();
    const long index = RecordCount();
    cMenuBar_StoreItem(index, hPopup, position, info, text);
    return index;
}

void cMenuBar::cMenuBar_StoreItem(long index, HMENU hPopup, long position, const MENUITEMINFOA& info,
                                  const std::string& text) {
    if (index < 1 || index > RecordCount()) return;
    PopupItem& rec = items_[static_cast<size_t>(index - 1)];
    rec.owner = hPopup;
    rec.position = position;
    rec.saved = info;
    rec.text = text;
    const size_t tab = text.find('\t');
    if (tab != std::string::npos) {
        rec.caption = text.substr(0, tab);
        rec.shortcut = text.substr(tab + 1);
    } else {
        rec.caption = text;
        rec.shortcut.clear();
    }
    char letter = 0;
    if (MnemonicOf(rec.caption, letter)) rec.mnemonic.assign(1, letter);
}

long cMenuBar::cMenuBar_FindItemById(UINT id) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].saved.wID == id) return static_cast<long>(i) + 1;
    return 0;
}

void cMenuBar::cMenuBar_RestoreMenus() {
    for (PopupItem& rec : items_) {
        MENUITEMINFOA mii = rec.saved;
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
        if (!(mii.fType & kNonTextTypes)) {
            mii.dwTypeData = rec.text.data();
            mii.cch = static_cast<UINT>(rec.text.size());
        }
        SetMenuItemInfoA(rec.owner, static_cast<UINT>(rec.position), TRUE, &mii);
    }
    items_.clear();
    hostItems_.clear();
    knownPopups_.clear();
}

LRESULT cMenuBar::WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    switch (iMsg) {
    case WM_DRAWITEM:
        return DrawItem(wParam, lParam);
    case WM_MEASUREITEM:
        return cMenuBar_MeasureItem(wParam, lParam);
    case WM_MENUCHAR:
        if (HIWORD(wParam) & MF_POPUP) {
            const LRESULT r =
                cMenuBar_MenuChar(reinterpret_cast<HMENU>(lParam), static_cast<short>(LOWORD(wParam)));
            if (r > 0) return r;
        }
        return CallOldWindowProc(hWnd_, WM_MENUCHAR, wParam, lParam);
    case WM_MOUSEMOVE: {
        const LRESULT r = CallOldWindowProc(hWnd, WM_MOUSEMOVE, wParam, lParam);
        cMenuBar_TrackHover(cMenuBar_HitTestClient(ClientPointOf(lParam)));
        return r;
    }
    case WM_LBUTTONDOWN: {
        const LRESULT r = CallOldWindowProc(hWnd, WM_LBUTTONDOWN, wParam, lParam);
        const long n = cMenuBar_HitTestClient(ClientPointOf(lParam));
        if (n != selectedItem_) {
            selectedItem_ = n;
            Repaint();
        }
        if (n > 0) {
            StopHoverTimer();
            TrackAndRestore(n);
        }
        return r;
    }
    default:
        return 0;
    }
}

LRESULT cMenuBar::cMenuBar_MenuChar(HMENU hPopup, short chr) {
    const char letter = UpperChar(static_cast<char>(chr & 0xFF));
    for (const PopupItem& rec : items_) {
        if (rec.owner != hPopup || rec.mnemonic.size() != 1 || rec.mnemonic[0] != letter) continue;
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(rec.position), MNC_EXECUTE));
    }
    return 0;
}

LRESULT cMenuBar::cMenuBar_MeasureItem(WPARAM wParam, LPARAM lParam) {
    MEASUREITEMSTRUCT mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mis.CtlType != ODT_MENU) return CallOldWindowProc(hWnd_, WM_MEASUREITEM, wParam, lParam);
    // The item is found by its own data: separators and repeated commands
    // share identifiers, and the host's own owner-drawn items are not ours.
    const long k = OwnRecord(nullptr, mis.itemID, mis.itemData);
    if (k == 0) return CallOldWindowProc(hWnd_, WM_MEASUREITEM, wParam, lParam);
    const PopupItem& rec = items_[static_cast<size_t>(k - 1)];
    if (rec.widestShortcut > 0)
        mis.itemWidth = static_cast<UINT>(rec.widestCaption + rec.widestShortcut + 38);
    else
        mis.itemWidth = static_cast<UINT>(rec.widestCaption + 30);
    mis.itemHeight = (rec.saved.fType & MFT_SEPARATOR) ? 6u : static_cast<UINT>(textHeight_ + 8);
    *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam) = mis;
    return 0;
}

void cMenuBar::cMenuBar_SetSelectedItem(long item, bool select) {
    if (select)
        selectedItem_ = item;
    else if (selectedItem_ == item)
        selectedItem_ = -1;
    Repaint();
}

void cMenuBar::cMenuBar_TrackHover(long n) {
    if (n != hoverItem_) {
        hoverItem_ = n;
        Repaint();
    }
    if (!m_cTmr) {
        m_cTmr = MakeRef<CTimer>();
        // Raw: the timer is stopped before this object goes.
        m_cTmr->ThatTime = [this] {
            const Ref<cMenuBar> self(this);
            m_cTmr_ThatTime();
        };
    }
    if (hoverItem_ >= 1 || selectedItem_ != 0) {
        if (selectedItem_ > 0 && GetAsyncKeyState(VK_LBUTTON) == 0) {
            selectedItem_ = 0;
            Repaint();
        }
        m_cTmr->SetInterval(50);
    } else {
        m_cTmr->SetInterval(0);
    }
}

void cMenuBar::m_cTmr_ThatTime() {
    // No message says where the mouse went: off the window, for one.
    cMenuBar_TrackHover(cMenuBar_HitTestCursor());
}

RECT cMenuBar::BarRect(long n) const {
    if (n < 1 || n > barCount_) return RECT{0, 0, 0, 0};
    return barRects_[static_cast<size_t>(n - 1)];
}

void cMenuBar::Repaint() {
    if (hWnd_) SendMessageA(hWnd_, WM_NCPAINT, 0, 0);
}

void cMenuBar::TrackAndRestore(long n) {
    const Ref<cToolbarMenu> tracker = tracker_;
    // A refused second loop must not strip the items of the popup on screen.
    if (!tracker || tracker->Tracking()) return;
    tracker->cToolbarMenu_TrackMenu(n);
    cMenuBar_RestoreMenus();
}

void cMenuBar::StopHoverTimer() {
    if (m_cTmr) m_cTmr->SetInterval(0);
}

void cMenuBar::ConvertItem(HMENU hPopup, long position, const MENUITEMINFOA& info, long index) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_TYPE | MIIM_DATA;
    mii.fType = info.fType | MFT_OWNERDRAW;
    mii.dwItemData = static_cast<ULONG_PTR>(index);
    SetMenuItemInfoA(hPopup, static_cast<UINT>(position), TRUE, &mii);
}

bool cMenuBar::IsHostItem(HMENU hPopup, UINT id, ULONG_PTR data) const {
    for (const HostItem& h : hostItems_)
        if ((!hPopup || h.owner == hPopup) && h.id == id && h.data == data) return true;
    return false;
}

long cMenuBar::OwnRecord(HMENU hPopup, UINT id, ULONG_PTR data) const {
    if (data < 1 || data > static_cast<ULONG_PTR>(RecordCount())) return 0;
    const long k = static_cast<long>(data);
    const PopupItem& rec = items_[static_cast<size_t>(k - 1)];
    if (rec.saved.wID != id) return 0;
    if (hPopup && rec.owner != hPopup) return 0;
    if (IsHostItem(hPopup, id, data)) return 0;
    return k;
}

// ---- owner-drawn popup items ----

namespace {

// Per-style geometry of a popup item: separator line, check mark, highlight frame.
struct SeparatorLook {
    long left;  // S.left
    UINT edge;  // DrawEdge kind
    bool twice; // drawn again one pixel higher
};

SeparatorLook SeparatorFor(short style) {
    switch (style) {
    case 1:
    case 2:
    case 19:
        return {10, EDGE_RAISED, false};
    case 7:
    case 10:
    case 11:
    case 14:
    case 15:
    case 18:
    case 20:
    case 21:
    case 22:
        return {8, EDGE_RAISED, false};
    case 13:
        return {21, EDGE_RAISED, true};
    default:
        return {25, BDR_SUNKENOUTER, false};
    }
}

struct CheckLook {
    long left;     // C.left
    long right;    // C.right; -1 = keep the square's own right (h - 3)
    COLORREF tick; // colour of the tick
};

CheckLook CheckFor(short style) {
    switch (style) {
    case 0:
    case 3:
    case 4:
    case 5:
    case 6:
    case 9:
        return {3, 16, RGB(214, 198, 3)};
    case 1:
        return {9, 21, RGB(241, 197, 20)};
    case 2:
    case 18:
    case 21:
        return {9, 21, RGB(17, 70, 149)};
    case 20:
        return {9, 21, RGB(160, 5, 5)};
    case 7:
    case 10:
    case 11:
    case 15:
    case 22:
        return {9, 21, 0};
    case 8:
    case 12:
        return {5, 17, RGB(201, 232, 142)};
    case 13:
        return {2, 15, 0};
    case 14:
    case 19:
        return {13, 23, 0};
    default:
        return {4, -1, 0};
    }
}

struct HighlightLook {
    long left; // H.left
    long top;  // H.top
    UINT edge; // DrawEdge kind
};

HighlightLook HighlightFor(short style) {
    switch (style) {
    case 1:
    case 2:
    case 7:
    case 10:
    case 11:
    case 15:
    case 21:
    case 22:
        return {8, 0, EDGE_ETCHED};
    case 14:
    case 19:
        return {10, 0, EDGE_ETCHED};
    case 18:
    case 20:
        return {6, 0, EDGE_ETCHED};
    case 3:
    case 4:
    case 5:
    case 6:
    case 8:
    case 24:
    case 25:
    case 26:
        return {22, 0, BDR_SUNKENOUTER};
    case 12:
    case 13:
    case 16:
    case 17:
        return {21, 0, BDR_RAISEDINNER};
    default:
        return {22, 1, EDGE_ETCHED};
    }
}

// Bitmap resource of the popup background of a style; 0 = none.
WORD PatternId(short style) {
    if (style == 0) return 100;
    if (style >= 1 && style <= 30) return static_cast<WORD>(style);
    return 0;
}

} // namespace

void cMenuBar::DrawItemPattern(HDC hDC, long w, long h) const {
    const RECT all{0, 0, w, h};
    const WORD id = PatternId(menuStyle_);
    const OwnedBitmap picture(
        id ? static_cast<HBITMAP>(LoadImageA(ModuleHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0))
           : nullptr);
    if (!picture.get()) {
        // No pattern for this style in the library: a plain menu background.
        FillRect(hDC, &all, GetSysColorBrush(COLOR_MENU));
        return;
    }
    const OwnedBrush brush(CreatePatternBrush(picture.get()));
    FillRect(hDC, &all, brush.get() ? brush.get() : GetSysColorBrush(COLOR_MENU));
}

LRESULT cMenuBar::DrawItem(WPARAM wParam, LPARAM lParam) {
    const DRAWITEMSTRUCT dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (dis.CtlType != ODT_MENU) return CallOldWindowProc(hWnd_, WM_DRAWITEM, wParam, lParam);
    const HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
    // Found by its own item data: separators and repeated commands share
    // identifiers.  Items the host draws itself go back to the host.
    const long n = OwnRecord(menu, dis.itemID, dis.itemData);
    if (n == 0) return CallOldWindowProc(hWnd_, WM_DRAWITEM, wParam, lParam);
    const PopupItem& rec = items_[static_cast<size_t>(n - 1)];

    const long L = dis.rcItem.left, T = dis.rcItem.top;
    const long w = dis.rcItem.right - L, h = dis.rcItem.bottom - T;
    memDC_.SetSize(w + 1, h + 1);
    const HDC mdc = memDC_.hDC();
    if (!mdc) return 0;
    const SelectGuard font(mdc, cMenuBar_GetFontHandle());

    DrawItemPattern(mdc, memDC_.Width(), memDC_.Height());
    SetBkMode(mdc, TRANSPARENT);

    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_TYPE | MIIM_DATA;
    GetMenuItemInfoA(rec.owner, static_cast<UINT>(rec.position), TRUE, &mii);
    const RECT W{0, 0, w, h};

    if (mii.fType & MFT_SEPARATOR) {
        DrawItemSeparator(mdc, W);
    } else {
        const bool disabled = (mii.fState & MFS_DISABLED) == MFS_DISABLED;
        if (mii.fState & MFS_CHECKED) DrawItemCheck(mdc, W, disabled);
        DrawItemTexts(mdc, W, rec, disabled);
        if ((mii.fState & MFS_HILITE) && !disabled) {
            RECT H = W;
            InflateRect(&H, -1, -1);
            const HighlightLook look = HighlightFor(menuStyle_);
            H.left = look.left;
            H.top = look.top;
            DrawEdge(mdc, &H, look.edge, BF_RECT);
        }
    }

    BitBlt(dis.hDC, L, T, w + 1, h + 1, mdc, 0, 0, SRCCOPY);
    return 0;
}

void cMenuBar::DrawItemSeparator(HDC mdc, const RECT& W) const {
    RECT S = W;
    S.top = (W.bottom - 2) / 2;
    S.bottom = S.top + 2;
    InflateRect(&S, -2, 0);
    const SeparatorLook look = SeparatorFor(menuStyle_);
    S.left = look.left;
    DrawEdge(mdc, &S, look.edge, BF_TOP | BF_BOTTOM);
    if (look.twice) {
        S.top -= 1;
        DrawEdge(mdc, &S, look.edge, BF_TOP | BF_BOTTOM);
    }
}

// The tick, a symbol-font glyph drawn three times for its bevel.
void cMenuBar::DrawItemCheck(HDC mdc, const RECT& W, bool disabled) {
    RECT C = W;
    C.top = -1;
    InflateRect(&C, -4, -4);
    C.right = C.left + C.bottom - C.top;
    const CheckLook look = CheckFor(menuStyle_);
    C.left = look.left;
    if (look.right >= 0) C.right = look.right;
    const SelectGuard symbol(mdc, cMenuBar_GetSymbolFontHandle());
    const struct {
        long top;
        OLE_COLOR color;
    } passes[] = {{2, kSysDkShadow3D}, {4, kSysHighlight3D}, {3, look.tick}};
    for (const auto& pass : passes) {
        C.top = pass.top;
        SetTextColor(mdc, TranslateColor(pass.color).value_or(CLR_INVALID));
        cMenuBar_DrawItemText(mdc, "b", C, disabled, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

// The caption, once in white a pixel low and once in the menu colour, and
// the shortcut in its column.
void cMenuBar::DrawItemTexts(HDC mdc, const RECT& W, const PopupItem& rec, bool disabled) {
    RECT X = W;
    X.left = 25;
    const COLORREF normal = TranslateColor(colors_[0]).value_or(CLR_INVALID);
    SetTextColor(mdc, TranslateColor(0xFFFFFF).value_or(CLR_INVALID));
    cMenuBar_DrawItemText(mdc, rec.caption, X, disabled, DT_SINGLELINE | DT_VCENTER);
    if (!rec.shortcut.empty()) {
        X.left = 25 + rec.widestCaption + 8;
        SetTextColor(mdc, normal);
        cMenuBar_DrawItemText(mdc, rec.shortcut, X, disabled, DT_SINGLELINE | DT_VCENTER);
    }
    X.left = 25;
    X.top = -1;
    SetTextColor(mdc, normal);
    cMenuBar_DrawItemText(mdc, rec.caption, X, disabled, DT_SINGLELINE | DT_VCENTER);
}

void cMenuBar::cMenuBar_DrawItemText(HDC hDC, const std::string& text, const RECT& rc, bool disabled,
                                     UINT format) {
    if (!disabled) {
        DrawTextIn(hDC, text, rc, format);
        return;
    }
    RECT r = rc;
    SetTextColor(hDC, TranslateColor(kSysHighlight3D).value_or(CLR_INVALID));
    r.left += 2;
    r.top += 2;
    DrawTextIn(hDC, text, r, format);
    r = rc;
    SetTextColor(hDC, TranslateColor(kSysShadow3D).value_or(CLR_INVALID));
    r.left += 1;
    r.top += 1;
    DrawTextIn(hDC, text, r, format);
}

} // namespace glim
