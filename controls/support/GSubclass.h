#pragma once
// The subclassing operations as members of an object; each forwards to the
// module function of the same name.
#include "MSubclass.h"

namespace glim {

class GSubclass {
  public:
    void AttachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg);
    void DetachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) noexcept;
    UINT CurrentMessage() const;
    LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);
};

} // namespace glim
