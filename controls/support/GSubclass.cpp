#include "GSubclass.h"

namespace glim {

void GSubclass::AttachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) {
    glim::AttachMessage(iwp, hWnd, iMsg);
}

void GSubclass::DetachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) noexcept {
    glim::DetachMessage(iwp, hWnd, iMsg);
}

UINT GSubclass::CurrentMessage() const {
    return glim::CurrentMessage();
}

LRESULT GSubclass::CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    return glim::CallOldWindowProc(hWnd, iMsg, wParam, lParam);
}

} // namespace glim
