#pragma once
// What a non-client takeover asks of the object that draws a window's frame.
// Coordinates are relative to the window's top-left corner; hDC is a DC of
// the whole window and lLeft..lBottom are the window rectangle at (0, 0).
#include <windows.h>

#include "RefCounted.h"

namespace glim {

class INCAreaModifier : public virtual RefCounted {
  public:
    virtual HWND hWnd() { return nullptr; }
    virtual long GetTopMarginHeight() { return 0; }
    virtual long GetLeftMarginWidth() { return 0; }
    virtual long GetRightMarginWidth() { return 0; }
    virtual long GetBottomMarginHeight() { return 0; }
    virtual void NCPaint(HDC /*hDC*/, long /*lLeft*/, long /*lTop*/, long /*lRight*/, long /*lBottom*/) {}
    virtual void HitTest(long /*X*/, long /*Y*/, long& /*eHitTest*/) {}
    virtual void NCMouseDown(long /*X*/, long /*Y*/, bool& /*bHandled*/, HDC /*hDC*/, long /*lLeft*/,
                             long /*lTop*/, long /*lRight*/, long /*lBottom*/) {}
    virtual void NCMouseUp(long /*X*/, long /*Y*/, HDC /*hDC*/, long /*lLeft*/, long /*lTop*/,
                           long /*lRight*/, long /*lBottom*/) {}
    // wParam and lParam of WM_INITMENUPOPUP.
    virtual void InitMenuPopup(WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    virtual void ExitMenuLoop() {}
    // True when the key was used.
    virtual bool AltKeyAccelerator(long /*vKey*/) { return false; }

  protected:
    ~INCAreaModifier() override = default;
};

} // namespace glim
