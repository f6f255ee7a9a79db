#pragma once
// The menu bar of a skinned window: draws the top-level items inside the
// skinned caption, follows the mouse, opens popups through cToolbarMenu and
// paints popup items owner-drawn while a menu loop runs.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "CTimer.h"
#include "ComPtr.h"
#include "ISubclass.h"
#include "RefCounted.h"
#include "cMemDC.h"

namespace glim {

class cToolbarMenu;

class cMenuBar : public ISubclass {
  public:
    // One popup item made owner-drawn by cMenuBar_PreparePopup.
    struct PopupItem {
        HMENU owner = nullptr;   // popup the item belongs to
        long position = 0;       // its position in that popup
        MENUITEMINFOA saved{};   // ID, type and data before the change
        std::string text;        // the whole text before the change
        std::string caption;     // text before the first Tab
        std::string shortcut;    // text after the first Tab
        std::string mnemonic;    // upper-case letter after the first "&", or empty
        long widestCaption = 0;  // pixels, over the item's popup
        long widestShortcut = 0; // pixels, over the item's popup
    };

    cMenuBar();

    // Menu whose top-level items are drawn; 0 = nothing to draw.
    HMENU get_hMenu() const { return hMenu_; }
    void put_hMenu(HMENU hTheMenu) { hMenu_ = hTheMenu; }

    void Attach(HWND lhWnd, short menuStyle);
    void Detach();
    void put_CaptionHeight(long lHeight) { captionHeight_ = lHeight; }

    // Paints the bar into lhDC at (lLeft, lTop); hit rectangles are kept
    // shifted by (lXoffset, lYoffset), the caller's translation into client
    // coordinates, so that they cover the items where they were painted.
    void Render(HFONT hFnt, HDC lhDC, long lLeft, long lTop, long lWidth, long lHeight, long lXoffset,
                long lYoffset);
    // What Render draws from besides its arguments (the menu, its bar
    // captions, the selected and hovered items): equal texts, equal bars.
    std::string RenderedLook() const;

    // WM_DRAWITEM.
    LRESULT DrawItem(WPARAM wParam, LPARAM lParam);

    void cMenuBar_SetFont(IFont* fnt);
    void cMenuBar_SetColors(OLE_COLOR normal, OLE_COLOR hot, OLE_COLOR inactive, OLE_COLOR background);
    HFONT cMenuBar_GetFontHandle() const;
    HFONT cMenuBar_GetSymbolFontHandle() const;
    void cMenuBar_GetItemScreenRect(long n, RECT& rc) const;
    bool cMenuBar_AltKeyAccelerator(long vKey);
    long cMenuBar_HitTestCursor() const;
    long cMenuBar_HitTestPoint(POINT& pt) const;
    // Bar item at a point in client coordinates, 0 if none.
    long cMenuBar_HitTestClient(POINT pt) const;
    long cMenuBar_GetItemCount() const { return barCount_; }
    HMENU cMenuBar_GetSubMenu(long n) const;
    long cMenuBar_GetSelectedItem() const { return selectedItem_; }
    void cMenuBar_SetHoverItem(long item);
    void cMenuBar_PreparePopup(HMENU hPopup);
    bool cMenuBar_RegisterPopup(HMENU hPopup);
    long cMenuBar_FindItemByPosition(HMENU hPopup, long position) const;
    long cMenuBar_AddItem(HMENU hPopup, long position, const MENUITEMINFOA& info, const std::string& text);
    void cMenuBar_StoreItem(long index, HMENU hPopup, long position, const MENUITEMINFOA& info,
                            const std::string& text);
    long cMenuBar_FindItemById(UINT id) const;
    void cMenuBar_RestoreMenus();

    MsgResponseMode MsgResponse() override { return mrNoDefault; }
    void SetMsgResponse(MsgResponseMode) override {}
    LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

    LRESULT cMenuBar_MenuChar(HMENU hPopup, short chr);
    LRESULT cMenuBar_MeasureItem(WPARAM wParam, LPARAM lParam);
    void cMenuBar_SetSelectedItem(long item, bool select);
    void cMenuBar_DrawItemText(HDC hDC, const std::string& text, const RECT& rc, bool disabled, UINT format);
    // Hover check with n, the bar item under the mouse.
    void cMenuBar_TrackHover(long n);
    void m_cTmr_ThatTime();

    // State, for the frame painter and for inspection.
    HWND hWnd() const { return hWnd_; }
    short MenuStyle() const { return menuStyle_; }
    long CaptionHeight() const { return captionHeight_; }
    long HoverItem() const { return hoverItem_; }
    RECT BarRect(long n) const; // empty outside 1 ... item count
    long RecordCount() const { return static_cast<long>(items_.size()); }
    const PopupItem& Record(long n) const { return items_[static_cast<size_t>(n - 1)]; }
    CTimer* HoverTimer() const { return m_cTmr.get(); }
    cToolbarMenu* Tracker() const { return tracker_.get(); }

  protected:
    ~cMenuBar() override;

  private:
    // A popup item the host made owner-drawn itself; never touched.
    struct HostItem {
        HMENU owner = nullptr; // its popup
        long position = 0;     // its position there
        UINT id = 0;           // its command ID
        ULONG_PTR data = 0;    // the host's item data
    };

    void Repaint();
    void StopHoverTimer();
    void TrackAndRestore(long n);
    void ConvertItem(HMENU hPopup, long position, const MENUITEMINFOA& info, long index);
    bool IsHostItem(HMENU hPopup, UINT id, ULONG_PTR data) const;
    long OwnRecord(HMENU hPopup, UINT id, ULONG_PTR data) const;
    void DrawItemPattern(HDC hDC, long w, long h) const;
    // Parts of an owner-drawn popup item, into the item's rectangle W at (0, 0).
    void DrawItemSeparator(HDC mdc, const RECT& W) const;
    void DrawItemCheck(HDC mdc, const RECT& W, bool disabled);
    void DrawItemTexts(HDC mdc, const RECT& W, const PopupItem& rec, bool disabled);

    cMemDC memDC_;                 // bar row and popup items are composed here
    Ref<cToolbarMenu> tracker_;    // popup loop; between Attach and Detach
    HMENU hMenu_ = nullptr;        // top-level menu drawn; 0 = none
    HWND hWnd_ = nullptr;          // the skinned window while attached
    std::vector<RECT> barRects_;   // hit rectangle of each bar item, client coordinates
    std::vector<HMENU> barPopups_; // popup of each bar item
    long barCount_ = 0;            // bar items laid out by the last Render
    long selectedItem_ = 0;        // pressed / open item; 0 none, -1 cleared after a popup
    long hoverItem_ = 0;           // item under the mouse; 0 none, -1 cleared by the tracker
    OLE_COLOR colors_[4] = {0, 0, 0x808080, 0xFFFFFF}; // normal, hot, inactive, background text colours
    long captionHeight_ = 0;                           // skinned caption height, pixels
    std::vector<PopupItem> items_;                     // popup item model, record n at [n - 1]
    std::vector<HostItem> hostItems_;                  // host owner-drawn items seen in this loop
    std::vector<HMENU> knownPopups_;                   // popups prepared in this loop
    ComPtr<IFont> menuFont_;                           // popup item text
    ComPtr<IFont> symbolFont_;                         // Marlett, for the check mark
    short menuStyle_ = 0;                              // skin of the popup items, 0 ... 30
    long textHeight_ = 0;                              // one line of popup text, pixels
    Ref<CTimer> m_cTmr;                                // hover timer; created at the first hover check
};

} // namespace glim
