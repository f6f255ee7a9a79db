#include "cToolbarMenu.h"

#include "MSubclass.h"
#include "cMenuBar.h"

namespace glim {

cToolbarMenu::~cToolbarMenu() {
    // The subclassing entry keeps a raw pointer to this object.
    cToolbarMenu_Detach();
}

void cToolbarMenu::cToolbarMenu_Attach(HWND hWnd, cMenuBar* menuBar) {
    cToolbarMenu_Detach();
    hWnd_ = hWnd;
    SendMessageA(hWnd_, WM_ENTERMENULOOP, 0, 0);
    AttachMessage(this, hWnd_, WM_MENUSELECT);
    menuBar_ = menuBar;
}

void cToolbarMenu::cToolbarMenu_Detach() {
    if (hWnd_) {
        SendMessageA(hWnd_, WM_EXITMENULOOP, 0, 0);
        DetachMessage(this, hWnd_, WM_MENUSELECT);
    }
    hWnd_ = nullptr;
    menuBar_ = nullptr;
}

void cToolbarMenu::cToolbarMenu_MenuSelect(HMENU hMenu, long position) {
    if (trackState_ <= 0) return;
    noSubmenu_ = position < 0 || GetSubMenu(hMenu, position) == nullptr;
    topPopupSelected_ = hMenu == topPopup_;
}

void cToolbarMenu::cToolbarMenu_MsgFilter(MSG& msg, bool& handled) {
    handled = false;
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_LEFT && topPopupSelected_) {
            cToolbarMenu_SwitchToItem(cToolbarMenu_NextItem(currentItem_, true));
            handled = true;
        } else if (msg.wParam == VK_RIGHT && noSubmenu_) {
            cToolbarMenu_SwitchToItem(cToolbarMenu_NextItem(currentItem_, false));
            handled = true;
        }
        break;
    case WM_MOUSEMOVE: {
        POINT pt = msg.pt;
        const long k = cToolbarMenu_HitTest(pt);
        if (k >= 1 && k != currentItem_) cToolbarMenu_SwitchToItem(k);
        break;
    }
    case WM_LBUTTONDOWN: {
        POINT pt = msg.pt;
        if (cToolbarMenu_HitTest(pt) == currentItem_) handled = true;
        break;
    }
    default:
        break;
    }
}

long cToolbarMenu::cToolbarMenu_HitTest(POINT& pt) {
    Ref<cMenuBar> bar;
    if (!cToolbarMenu_GetMenuBar(bar)) return 0;
    return bar->cMenuBar_HitTestPoint(pt);
}

void cToolbarMenu::cToolbarMenu_SwitchToItem(long item) {
    Ref<cMenuBar> bar;
    if (item <= 0 || item == currentItem_ || !cToolbarMenu_GetMenuBar(bar)) return;
    if (!bar->cMenuBar_GetSubMenu(item)) return;
    PostMessageA(hWnd_, WM_CANCELMODE, 0, 0);
    nextItem_ = item;
}

long cToolbarMenu::cToolbarMenu_TrackMenu(long n) {
    if (tracking_) return 0;
    // The bar may let go of this tracker while the modal loop runs.
    const Ref<cToolbarMenu> self(this);
    tracking_ = true;
    nextItem_ = n;
    Ref<cMenuBar> bar;
    if (!cToolbarMenu_GetMenuBar(bar)) {
        tracking_ = false;
        return 0;
    }
    long result = 0;
    while (nextItem_ >= 0) {
        nextItem_ = -1;
        cToolbarMenu_SetSelected(n, true);
        cToolbarMenu_SetTrackState(2, n);
        mDeclares_InstallMenuHook(this);
        RECT r{};
        cToolbarMenu_GetItemRect(n, r);
        TPMPARAMS params{};
        POINT pt{};
        cToolbarMenu_GetTrackParams(r, params, pt);
        const HMENU popup = menuBar_ ? menuBar_->cMenuBar_GetSubMenu(n) : nullptr;
        if (popup && hWnd_) {
            topPopup_ = popup;
            result = TrackPopupMenuEx(popup, TPM_VERTICAL, pt.x, pt.y, hWnd_, &params);
        }
        mDeclares_RemoveMenuHook();
        cToolbarMenu_SetSelected(n, false);
        cToolbarMenu_SetTrackState(0, n);
        n = nextItem_;
    }
    tracking_ = false;
    return result;
}

void cToolbarMenu::cToolbarMenu_GetTrackParams(const RECT& rc, TPMPARAMS& params, POINT& pt) const {
    pt.x = rc.left;
    pt.y = rc.bottom;
    params.cbSize = sizeof params;
    params.rcExclude = rc;
}

bool cToolbarMenu::cToolbarMenu_GetMenuBar(Ref<cMenuBar>& menuBar) const {
    if (!menuBar_) return false;
    menuBar = mDeclares_ObjectFromPtr(menuBar_);
    return true;
}

void cToolbarMenu::cToolbarMenu_SetSelected(long item, bool select) {
    Ref<cMenuBar> bar;
    if (!cToolbarMenu_GetMenuBar(bar)) return;
    if (item >= 1 && item <= bar->cMenuBar_GetItemCount()) bar->cMenuBar_SetSelectedItem(item, select);
}

void cToolbarMenu::cToolbarMenu_GetItemRect(long item, RECT& rc) {
    rc = RECT{0, 0, 0, 0};
    Ref<cMenuBar> bar;
    if (!cToolbarMenu_GetMenuBar(bar)) return;
    if (item >= 1 && item <= bar->cMenuBar_GetItemCount()) bar->cMenuBar_GetItemScreenRect(item, rc);
}

void cToolbarMenu::cToolbarMenu_SetHoverItem(long item) {
    Ref<cMenuBar> bar;
    if (cToolbarMenu_GetMenuBar(bar)) bar->cMenuBar_SetHoverItem(item);
}

long cToolbarMenu::cToolbarMenu_GetItemCount() {
    Ref<cMenuBar> bar;
    return cToolbarMenu_GetMenuBar(bar) ? bar->cMenuBar_GetItemCount() : 0;
}

void cToolbarMenu::cToolbarMenu_SetTrackState(long state, long item) {
    if (state == trackState_) return;
    if (state == 0) item = -1;
    cToolbarMenu_SetHoverItem(item);
    if (state == 2) {
        noSubmenu_ = true;
        topPopupSelected_ = true;
        currentItem_ = item;
    }
    trackState_ = state;
}

long cToolbarMenu::cToolbarMenu_NextItem(long start, bool backwards) {
    const long count = cToolbarMenu_GetItemCount();
    if (backwards) return start - 1 < 1 ? count : start - 1;
    return start + 1 > count ? 1 : start + 1;
}

MsgResponseMode cToolbarMenu::MsgResponse() {
    return CurrentMessage() == WM_MENUSELECT ? mrDefaultBefore : mrNoDefault;
}

LRESULT cToolbarMenu::WindowProc(HWND /*hWnd*/, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    if (iMsg != WM_MENUSELECT) return 0;
    // The low word is a position only for items that open a submenu; for a
    // command it is the command ID, which must not be looked up as a position.
    const UINT flags = HIWORD(wParam);
    const long position = (flags != 0xFFFF && (flags & MF_POPUP)) ? static_cast<long>(LOWORD(wParam)) : -1;
    cToolbarMenu_MenuSelect(reinterpret_cast<HMENU>(lParam), position);
    return 0;
}

} // namespace glim
