#pragma once
// The popup loop of the skinned menu bar: opens the popup of a bar item below
// it and, through the thread's message-filter hook, lets the arrow keys and
// the mouse move on to the neighbouring bar items as a native menu bar does.
#include <windows.h>

#include "ISubclass.h"
#include "RefCounted.h"
#include "mDeclares.h"

namespace glim {

class cMenuBar;

class cToolbarMenu : public ISubclass, public IMenuFilterClient {
  public:
    cToolbarMenu() = default;

    void cToolbarMenu_Attach(HWND hWnd, cMenuBar* menuBar);
    void cToolbarMenu_Detach();
    void cToolbarMenu_MenuSelect(HMENU hMenu, long position);
    void cToolbarMenu_MsgFilter(MSG& msg, bool& handled);
    long cToolbarMenu_HitTest(POINT& pt);
    bool cToolbarMenu_IsValidItem(long item) const { return item >= 1; }
    void cToolbarMenu_SwitchToItem(long item);
    // Runs the menu loop from bar item n; returns when the user has left the menu.
    long cToolbarMenu_TrackMenu(long n);
    void cToolbarMenu_GetTrackParams(const RECT& rc, TPMPARAMS& params, POINT& pt) const;
    bool cToolbarMenu_GetMenuBar(Ref<cMenuBar>& menuBar) const;
    void cToolbarMenu_SetSelected(long item, bool select);
    void cToolbarMenu_GetItemRect(long item, RECT& rc);
    void cToolbarMenu_SetHoverItem(long item);
    long cToolbarMenu_GetItemCount();
    void cToolbarMenu_SetTrackState(long state, long item);
    long cToolbarMenu_NextItem(long start, bool backwards);

    MsgResponseMode MsgResponse() override;
    void SetMsgResponse(MsgResponseMode) override {}
    LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    void MsgFilter(MSG& copy, bool& handled) override { cToolbarMenu_MsgFilter(copy, handled); }

    // State, for inspection.
    long TrackState() const { return trackState_; }
    long CurrentItem() const { return currentItem_; }
    bool Tracking() const { return tracking_; }
    HWND hWnd() const { return hWnd_; }

  protected:
    ~cToolbarMenu() override;

  private:
    long trackState_ = 0;           // 0 idle, 2 a popup is open
    bool noSubmenu_ = false;        // the item last selected opens no submenu
    bool topPopupSelected_ = false; // the item last selected lies in the popup opened here
    HMENU topPopup_ = nullptr;      // popup of the last TrackPopupMenuEx
    long currentItem_ = 0;          // bar item whose popup is open
    long nextItem_ = -1;            // bar item to open next; -1 none
    bool tracking_ = false;         // a loop runs (no re-entry)
    HWND hWnd_ = nullptr;           // the skinned window, owner of the popups
    cMenuBar* menuBar_ = nullptr;   // uncounted: the bar owns this tracker
};

} // namespace glim
